#pragma once
// A full or failing disk under one folder, for the test binary that links this object library. It stands
// in for the C library's open, write, fdatasync, fsync, ftruncate, link and rename (what Qt's files and the
// program's writer call) and passes each call on to the next definition, the sanitizer's when there is one:
// the real file classes meet the fault where a disk gives it. Files elsewhere, sockets and pipes are not.

#include <QString>

#include <limits>

namespace diskfault {

// The calls a fault is put at: writes, syncs of a file and of a folder, links, renames, cut-backs.
enum class Call { None, Write, Sync, FolderSync, Link, Rename, CutBack };

struct Fault {
    QString folder;
    bool unnamedFiles = true; // false: no O_TMPFILE (EOPNOTSUPP) and no links (EPERM), as on a memory stick
    // The nth call of this kind fails with EIO, a write with ENOSPC; writes and syncs after it fail too.
    Call failing = Call::None;
    int nth = 1;
    bool interrupted = false; // every write and sync is interrupted once (EINTR) before it is let through
    qint64 shortWrites = 0;   // a write takes at most this many bytes (0: all it is given)
    qint64 room = std::numeric_limits<qint64>::max(); // bytes that go in before writes fail with ENOSPC
};
void arm(const Fault& fault);
void disarm();
// What the nth call of the failing kind was made for: the file or folder as the system names it (a file
// renamed or linked by its new name); empty while there was no such call.
QString met();

} // namespace diskfault
