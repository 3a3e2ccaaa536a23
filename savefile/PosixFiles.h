#pragma once

// What the parts of the save routine on Linux share: descriptors that close
// themselves, the system's words for a failure, the folder and name of a
// path, and writes that are checked to the last byte.
#include <optional>
#include <utility>

#include <sys/types.h>

#include <QByteArray>
#include <QByteArrayView>

#include "savefile/AtomicSave.h"

namespace atomicSave::posix {

Failure failure(int error);  // the operating system's words for errno error

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
    // Closes now, which is the last chance for a delayed write error.
    std::optional<Failure> close();

private:
    int fd_ = -1;
};

// Every byte from the descriptor's offset on, through partial writes; a full
// disk or a file-size limit stops it with the operating system's words.
std::optional<Failure> writeAll(int fd, QByteArrayView bytes);

// Every byte of the file from its start.
std::optional<Failure> readAll(int fd, QByteArray& bytes);

// The new entries of the folder last through a power cut; a failure here loses nothing.
void syncFolder(const QByteArray& folder);

}  // namespace atomicSave::posix
