#pragma once
// Object names of the members of a window's control arrays: the array's name and the member's index,
// "BtnWriteParameter_30", so tests and tools find each member.

#include <QString>

namespace service {

inline QString controlName(const QString& array, int index) {
    return array + u'_' + QString::number(index);
}

inline QString controlName(const char* array, int index) {
    return controlName(QString::fromLatin1(array), index);
}

} // namespace service
