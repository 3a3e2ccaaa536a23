#pragma once

#include <optional>

#include <QByteArray>

#include "savefile/AtomicSave.h"
#include "savefile/NameGuard.h"
#include "savefile/PosixFiles.h"

namespace atomicSave::posix {

// The file that takes the new content, in the target's folder, and that
// takes the target's name only when complete. Where the file system can, it
// has no name until then (O_TMPFILE), so that no one else can open it and a
// save killed halfway leaves nothing. Elsewhere it is made private (0600)
// under a hidden name, .NAME.XXXXXXXX.part, locked for as long as its save
// runs. Whenever it has a name of its own (replacing a file, an unnamed one
// gets one for a moment), a guardian removes it should the save be killed
// (NameGuard.h); removeLeftovers() of the next save of the same target
// removes what a power cut left. The file is removed again unless it takes
// the target's name.
class NewFile {
public:
    NewFile() = default;
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile();

    std::optional<Failure> create(const QByteArray& target);
    int fd() const { return fd_.get(); }

    // For a target that does not exist yet: the permissions, and the ACL,
    // that a new file gets in its folder.
    std::optional<Failure> giveNewFilePermissions(const QByteArray& target);

    // The file takes the target's name: replacing the file there, or as a
    // new file, which fails if one has come there in the meantime.
    std::optional<Failure> takeName(const QByteArray& target, bool replace);

    // Removes the files that killed saves of target left: found by their
    // name, the writer's own and not locked by a save still running.
    static void removeLeftovers(const QByteArray& target);

private:
    std::optional<Failure> createNamed(const QByteArray& target);
    std::optional<Failure> linkAsTemporary(const QByteArray& target);

    Descriptor fd_;
    bool unnamed_ = false;
    QByteArray path_;  // while the file has a name of its own
    NameGuard guard_;  // of that name; released after the destructor removed it
};

}  // namespace atomicSave::posix
