#include "savefile/InPlaceWrite.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "savefile/FileName.h"
#include "savefile/PosixFiles.h"

namespace atomicSave::posix {
namespace {

// The file's whole content, from its start, synced to the disk.
std::optional<Failure> overwrite(int fd, QByteArrayView bytes)
{
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return failure(errno);
    if (std::optional<Failure> failed = writeAll(fd, bytes))
        return failed;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0)
        return failure(errno);
    return std::nullopt;
}

// Longest a file's name may be with ".~99~" after it, in a folder that
// allows names of NAME_MAX bytes.
constexpr qsizetype longestCopiedName = NAME_MAX - 5;

// A private copy of earlier beside path, synced with its name; its path, or
// why it could not be made (nothing is left then).
std::optional<Failure> keepCopy(const QByteArray& path, QByteArrayView earlier, QByteArray& copy)
{
    const QByteArray name = nameOf(path);
    const QByteArray base = name.size() <= longestCopiedName ? path : folderOf(path) + '/' + name.left(longestCopiedName);
    for (int n = 0; n < 100; ++n) {
        copy = n == 0 ? base + '~' : base + ".~" + QByteArray::number(n) + '~';
        Descriptor fd(::open(copy.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd.isOpen() && errno == EEXIST)
            continue;
        if (!fd.isOpen())
            return failure(errno);
        std::optional<Failure> failed = writeAll(fd.get(), earlier);
        if (!failed && ::fsync(fd.get()) != 0)
            failed = failure(errno);
        if (!failed)
            failed = fd.close();
        if (failed) {
            ::unlink(copy.constData());
            return failed;
        }
        syncFolder(folderOf(path));
        return std::nullopt;
    }
    return failure(EEXIST);
}

QString shown(const QByteArray& path) { return fileName::fromBytes(path); }

}  // namespace

std::optional<Failure> writeInPlace(const QByteArray& path, QByteArrayView bytes)
{
    // Without waiting, whatever may have taken the file's name since it was
    // looked at (a FIFO, a device), and refused below unless a regular file.
    Descriptor fd(::open(path.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0)
        return failure(errno);
    if (!S_ISREG(status.st_mode))
        return Failure{QStringLiteral("Not a regular file")};
    QByteArray earlier, copy;
    if (std::optional<Failure> failed = readAll(fd.get(), earlier))
        return failed;
    if (std::optional<Failure> failed = keepCopy(path, earlier, copy))
        return failed;

    std::optional<Failure> failed = overwrite(fd.get(), bytes);
    if (!failed)
        failed = fd.close();
    if (!failed) {
        ::unlink(copy.constData());
        return std::nullopt;
    }
    if (fd.isOpen() && !overwrite(fd.get(), earlier)) {
        ::unlink(copy.constData());
        return Failure{failed->description + QStringLiteral("; the file holds its earlier content again")};
    }
    return Failure{failed->description + QStringLiteral("; its earlier content is kept in ") + shown(copy)};
}

}  // namespace atomicSave::posix
