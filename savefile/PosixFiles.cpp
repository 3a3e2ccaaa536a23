#include "savefile/PosixFiles.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace atomicSave::posix {

Failure failure(int error) { return Failure{QString::fromLocal8Bit(std::strerror(error))}; }

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

std::optional<uid_t> sharedFolderOwner(const QByteArray& folder)
{
    struct stat status {};
    if (::stat(folder.constData(), &status) != 0)
        return std::nullopt;  // what is done there will fail and say why
    if ((status.st_mode & S_ISVTX) && (status.st_mode & S_IWOTH))
        return status.st_uid;
    return std::nullopt;
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

Descriptor::~Descriptor()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<Failure> Descriptor::close()
{
    if (::close(std::exchange(fd_, -1)) != 0)
        return failure(errno);
    return std::nullopt;
}

std::optional<Failure> writeAll(int fd, QByteArrayView bytes)
{
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return failure(written < 0 ? errno : EIO);
        next += written;
        left -= written;
    }
    return std::nullopt;
}

std::optional<Failure> readAll(int fd, QByteArray& bytes)
{
    bytes.clear();
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(fd, buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failure(errno);
        if (got == 0)
            return std::nullopt;
        bytes.append(buffer, got);
        offset += got;
    }
}

void syncFolder(const QByteArray& folder)
{
    const Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.isOpen())
        ::fsync(fd.get());
}

}  // namespace atomicSave::posix
