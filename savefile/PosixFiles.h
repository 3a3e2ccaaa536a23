#pragma once

// What the parts of the save routine on Linux share: descriptors that close
// themselves, a failure with the system's words, the folder and name of a
// path, and writes that are checked to the last byte. The parts below the
// steps return errno (0: done); each step says which file it failed on.
#include <optional>
#include <utility>

#include <sys/types.h>

#include <QByteArray>
#include <QByteArrayView>

#include "savefile/AtomicSave.h"

namespace atomicSave::posix {

// A failure of step on file, in the operating system's words for errno error.
Failure failure(Step step, const QByteArray& file, int error);
// A failure of the new file beside target, named by its folder (the file is
// removed again); errno is read before the folder is looked up.
Failure inFolderOf(Step step, const QByteArray& target, int error);
// The target refused for a reason of the routine's own.
Failure refusal(const QByteArray& target, const QString& reason);

QByteArray folderOf(const QByteArray& path);
QByteArray nameOf(const QByteArray& path);

// The owner of a shared folder, one that is sticky and writable by everybody
// such as /tmp; nothing for any other folder.
std::optional<uid_t> sharedFolderOwner(const QByteArray& folder);

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor();

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    // Closes now, which is the last chance for a delayed write error: 0 or errno.
    int close();

private:
    int fd_ = -1;
};

// Every byte from the descriptor's offset on, through partial writes; a full
// disk or a file-size limit stops it. 0 or errno.
int writeAll(int fd, QByteArrayView bytes);

// Every byte of the file from its start. 0 or errno.
int readAll(int fd, QByteArray& bytes);

// The new entries of the folder last through a power cut; a failure here loses nothing.
void syncFolder(const QByteArray& folder);

}  // namespace atomicSave::posix
