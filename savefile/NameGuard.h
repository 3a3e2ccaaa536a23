#pragma once

#include <QByteArray>

#include <sys/types.h>

#include "savefile/PosixFiles.h"

namespace atomicSave::posix {

// Removes a new file's temporary name if its save is killed before the name
// is gone again (renamed to the target, or removed after a failure).
//
// Linux cannot link an unnamed file over an existing name (linkat fails
// with EEXIST, rename needs a source name), so a replacing save names its
// new file for a moment, and nothing in the kernel removes a name when its
// process dies. A small guardian process does: forked before the name
// exists, out of the saver's session (so Ctrl+C or a hangup on the saver's
// terminal does not reach it) and holding nothing of the saver's but its
// end of a socket and the new file, it waits. Told "done", it leaves; on end
// of file, which is the saver's death, it removes the name if the name
// still stands for that file. The saver waits for it, so a finished save
// leaves no process behind. A kill of the whole group of processes (a
// control group, a power cut) still leaves the name, and the next save of
// the same target removes it (NewFile::removeLeftovers).
class NameGuard {
public:
    NameGuard() = default;
    NameGuard(const NameGuard&) = delete;
    NameGuard& operator=(const NameGuard&) = delete;
    ~NameGuard() { release(); }

    // Guards path, the name that the file open at fd has or is about to
    // get; a name guarded before is released first. Where no process can be
    // started, the name goes unguarded and the save goes on.
    void watch(const QByteArray& path, int fd);

    // The save is done with the name: the guardian leaves and is reaped.
    void release();

private:
    Descriptor toGuardian_;
    pid_t guardian_ = -1;
};

}  // namespace atomicSave::posix
