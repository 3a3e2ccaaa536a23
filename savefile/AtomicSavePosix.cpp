#include "savefile/AtomicSave.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <variant>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>

namespace atomicSave {
namespace {

QString describe(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// The kernel's rule for links in a folder that everybody may write to and
// only owners may delete from (such as /tmp): follow a link only when the
// writer or the folder's owner made it. Another user's link there may point
// anywhere the writer may write.
bool mayFollow(const QByteArray& link, const struct stat& linkStatus)
{
    struct stat folder {};
    if (::stat(folderOf(link).constData(), &folder) != 0)
        return true;  // the write itself will fail and say why
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || linkStatus.st_uid == ::geteuid() || linkStatus.st_uid == folder.st_uid;
}

struct Target {
    QByteArray path;  // the file to replace, every link followed
    bool exists = false;
    struct stat status {};
};

// Follows the links at path to the file they name, refusing what must not be
// replaced.
std::variant<Target, Failure> resolve(QByteArray path)
{
    for (int hops = 0; hops < 40; ++hops) {
        Target target{path};
        if (::lstat(path.constData(), &target.status) != 0) {
            if (errno == ENOENT)
                return target;
            return Failure{describe(errno)};
        }
        if (S_ISLNK(target.status.st_mode)) {
            if (!mayFollow(path, target.status))
                return Failure{QStringLiteral("Not following a symbolic link that another user made in a shared folder")};
            char to[4096];
            const ssize_t length = ::readlink(path.constData(), to, sizeof to);
            if (length < 0 || length == static_cast<ssize_t>(sizeof to))
                return Failure{describe(length < 0 ? errno : ENAMETOOLONG)};
            const QByteArray next(to, length);
            path = next.startsWith('/') ? next : folderOf(path) + '/' + next;
            continue;
        }
        if (S_ISDIR(target.status.st_mode))
            return Failure{describe(EISDIR)};
        if (!S_ISREG(target.status.st_mode))
            return Failure{QStringLiteral("Not a regular file")};
        if (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
            return Failure{describe(errno)};
        target.exists = true;
        return target;
    }
    return Failure{describe(ELOOP)};
}

// A new file beside the target, removed again unless it takes the target's name.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.isEmpty())
            ::unlink(path_.constData());
    }

    // Made with the permissions a new file gets (the umask applies).
    std::optional<Failure> create(const QByteArray& target)
    {
        // Short enough for the longest target name the folder allows.
        const QByteArray stem = folderOf(target) + "/." + nameOf(target).left(200) + '.';
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray candidate = stem + QByteArray::number(QRandomGenerator::global()->generate(), 36);
            fd_ = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                path_ = candidate;
                return std::nullopt;
            }
            if (errno != EEXIST)
                return Failure{describe(errno)};
        }
        return Failure{describe(EEXIST)};
    }

    int fd() const { return fd_; }
    const QByteArray& path() const { return path_; }

    // Closes the file, which is the last chance for a delayed write error.
    std::optional<Failure> close()
    {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            return Failure{describe(errno)};
        return std::nullopt;
    }

    void keep() { path_.clear(); }

private:
    int fd_ = -1;
    QByteArray path_;
};

// Every byte, through partial writes; a full disk or a file-size limit stops
// it with the operating system's description.
std::optional<Failure> writeAll(int fd, QByteArrayView bytes)
{
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return Failure{describe(written < 0 ? errno : EIO)};
        next += written;
        left -= written;
    }
    return std::nullopt;
}

// The earlier file's owner and permissions, so that a read-only file stays
// read-only when root replaces it. Only root may give a file away; for anyone
// else the new file is its own, as any file it makes, and set-id bits, which
// belong to the earlier owner, are dropped. A new file keeps what it was made with.
std::optional<Failure> keepPermissions(int fd, const Target& target)
{
    if (!target.exists)
        return std::nullopt;
    const struct stat& earlier = target.status;
    const bool ownerKept = (earlier.st_uid == ::geteuid() && earlier.st_gid == ::getegid())
                           || ::fchown(fd, earlier.st_uid, earlier.st_gid) == 0;
    const mode_t mode = earlier.st_mode & (ownerKept ? 07777 : 01777);
    if (::fchmod(fd, mode) != 0)
        return Failure{describe(errno)};
    return std::nullopt;
}

void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);  // the new name lasts through a power cut; a failure here loses nothing
        ::close(fd);
    }
}

}  // namespace

std::optional<Failure> save(const QString& path, QByteArrayView bytes)
{
    if (path.isEmpty())
        return Failure{QStringLiteral("No file name specified")};
    const std::variant<Target, Failure> resolved = resolve(QFile::encodeName(path));
    if (const Failure* refused = std::get_if<Failure>(&resolved))
        return *refused;
    const Target& target = std::get<Target>(resolved);

    TemporaryFile file;
    if (auto failure = file.create(target.path))
        return failure;
    if (auto failure = keepPermissions(file.fd(), target))
        return failure;
    if (auto failure = writeAll(file.fd(), bytes))
        return failure;
    if (::fsync(file.fd()) != 0)
        return Failure{describe(errno)};
    if (auto failure = file.close())
        return failure;
    if (::rename(file.path().constData(), target.path.constData()) != 0)
        return Failure{describe(errno)};
    file.keep();
    syncFolder(folderOf(target.path));
    return std::nullopt;
}

void reportFileSizeLimitAsFailure() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace atomicSave
