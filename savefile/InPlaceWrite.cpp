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

// The file's whole content, from its start, synced to the disk. 0 or errno.
int overwrite(int fd, QByteArrayView bytes)
{
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    if (const int error = writeAll(fd, bytes))
        return error;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0)
        return errno;
    return 0;
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
            return failure(Step::KeepCopy, copy, errno);
        int error = writeAll(fd.get(), earlier);
        if (!error && ::fsync(fd.get()) != 0)
            error = errno;
        if (!error)
            error = fd.close();
        if (error) {
            ::unlink(copy.constData());
            return failure(Step::KeepCopy, copy, error);
        }
        syncFolder(folderOf(path));
        return std::nullopt;
    }
    return failure(Step::KeepCopy, base + '~', EEXIST);
}

}  // namespace

std::optional<Failure> writeInPlace(const QByteArray& path, QByteArrayView bytes)
{
    // Without waiting, whatever may have taken the file's name since it was
    // looked at (a FIFO, a device), and refused below unless a regular file.
    Descriptor fd(::open(path.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0)
        return failure(Step::CheckTarget, path, errno);
    if (!S_ISREG(status.st_mode))
        return refusal(path, QStringLiteral("Not a regular file"));
    QByteArray earlier, copy;
    if (const int error = readAll(fd.get(), earlier))
        return failure(Step::ReadTarget, path, error);
    if (std::optional<Failure> failed = keepCopy(path, earlier, copy))
        return failed;

    int error = overwrite(fd.get(), bytes);
    if (!error)
        error = fd.close();
    if (!error) {
        ::unlink(copy.constData());
        return std::nullopt;
    }
    Failure failed = failure(Step::WriteInPlace, path, error);
    if (fd.isOpen() && overwrite(fd.get(), earlier) == 0)
        ::unlink(copy.constData());
    else
        failed.keptCopy = fileName::fromBytes(copy);
    return failed;
}

}  // namespace atomicSave::posix
