#pragma once
// A full or failing disk under one folder, for the test binary that links this object library. It stands
// in for the C library's open, write and fdatasync (what Qt's files and the program's writer call) and
// passes each call on to the next definition, the sanitizer's when there is one: the real file classes meet
// the fault where a disk gives it. Files elsewhere, sockets and pipes are not touched.

#include <QString>

#include <limits>

namespace diskfault {

struct Fault {
    QString folder;
    qint64 room = std::numeric_limits<qint64>::max(); // bytes that go in before writes fail with ENOSPC
    bool syncFails = false;   // fdatasync fails with EIO, as a disk that lost cached data says
    bool unnamedFiles = true; // false: an O_TMPFILE open fails with EOPNOTSUPP, as on a memory stick
};
void arm(const Fault& fault);
void disarm();

} // namespace diskfault
