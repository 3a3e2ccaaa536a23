#include "savefile/PosixFiles.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "savefile/FileName.h"

namespace atomicSave::posix {

Failure failure(Step step, const QByteArray& file, int error)
{
    return Failure{step, fileName::fromBytes(file), QString::fromLocal8Bit(std::strerror(error)), {}, {}};
}

namespace {

// The folder of path from the root, as a message names it: "." would say little.
QByteArray wholeFolderOf(const QByteArray& path)
{
    const QByteArray folder = folderOf(path);
    char working[PATH_MAX];
    if (folder.startsWith('/') || !::getcwd(working, sizeof working))
        return folder;
    const QByteArray from(working);
    if (folder == ".")
        return from;
    return from.endsWith('/') ? from + folder : from + '/' + folder;
}

}  // namespace

Failure inFolderOf(Step step, const QByteArray& target, int error) { return failure(step, wholeFolderOf(target), error); }

Failure refusal(const QByteArray& target, const QString& reason)
{
    return Failure{Step::CheckTarget, fileName::fromBytes(target), reason, {}, {}};
}

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

int Descriptor::close() { return ::close(std::exchange(fd_, -1)) != 0 ? errno : 0; }

int writeAll(int fd, QByteArrayView bytes)
{
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        next += written;
        left -= written;
    }
    return 0;
}

int readAll(int fd, QByteArray& bytes)
{
    bytes.clear();
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(fd, buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
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
