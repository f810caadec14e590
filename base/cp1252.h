#pragma once
// Windows-1252 text codec: the files and frames of the controller's tools are single-byte text.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace base {

QString fromCp1252(QByteArrayView bytes);
// Characters without a Windows-1252 byte become '?'.
QByteArray toCp1252(const QString& text);

} // namespace base
