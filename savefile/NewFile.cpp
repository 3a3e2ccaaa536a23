#include "savefile/NewFile.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <variant>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>

#include "savefile/ExtendedAttributes.h"

namespace atomicSave::posix {
namespace {

constexpr qsizetype randomLength = 8;
constexpr char suffix[] = ".part";
constexpr qsizetype suffixLength = sizeof suffix - 1;

// Short enough for the longest target name the folder allows.
QByteArray stemOf(const QByteArray& target) { return '.' + nameOf(target).left(200) + '.'; }

QByteArray temporaryPath(const QByteArray& target)
{
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    QByteArray path = folderOf(target) + '/' + stemOf(target);
    for (qsizetype i = 0; i < randomLength; ++i)
        path += digits[QRandomGenerator::global()->bounded(36)];
    return path + suffix;
}

bool isTemporaryName(const QByteArray& name, const QByteArray& stem)
{
    if (name.size() != stem.size() + randomLength + suffixLength || !name.startsWith(stem) || !name.endsWith(suffix))
        return false;
    for (const char c : name.sliced(stem.size(), randomLength))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')))
            return false;
    return true;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// An unnamed file is linked in through its descriptor's entry in /proc,
// which every user may do with their own descriptors.
bool canLinkUnnamed() { return ::access("/proc/self/fd", X_OK) == 0; }

int linkUnnamed(int fd, const QByteArray& to)
{
    char from[32];
    std::snprintf(from, sizeof from, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, from, AT_FDCWD, to.constData(), AT_SYMLINK_FOLLOW);
}

}  // namespace

NewFile::~NewFile()
{
    if (!path_.isEmpty())
        ::unlink(path_.constData());
}

std::optional<Failure> NewFile::create(const QByteArray& target)
{
    if (canLinkUnnamed()) {
        // Made as any new file is: without a name no one else can open it.
        fd_ = Descriptor(::open(folderOf(target).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (fd_.isOpen()) {
            unnamed_ = true;
            ::flock(fd_.get(), LOCK_EX);  // for the moment it has a temporary name
            return std::nullopt;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return inFolderOf(Step::CreateNewFile, target, errno);
    }
    return createNamed(target);
}

std::optional<Failure> NewFile::createNamed(const QByteArray& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate = temporaryPath(target);
        Descriptor fd(::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd.isOpen()) {
            if (errno == EEXIST)
                continue;
            return inFolderOf(Step::CreateNewFile, target, errno);
        }
        ::flock(fd.get(), LOCK_EX);
        // Another save's removeLeftovers() may have taken it before the lock.
        struct stat opened {}, named {};
        if (::fstat(fd.get(), &opened) == 0 && ::lstat(candidate.constData(), &named) == 0 && sameFile(opened, named)) {
            fd_ = std::move(fd);
            path_ = candidate;
            guard_.watch(path_, fd_.get());  // a kill before this moment leaves it to the next save
            return std::nullopt;
        }
    }
    return inFolderOf(Step::CreateNewFile, target, EEXIST);
}

std::optional<Failure> NewFile::giveNewFilePermissions(const QByteArray& target)
{
    if (unnamed_)
        return std::nullopt;
    // What the kernel gives a new file there, read off an empty one: the
    // umask or the folder's default ACL, applied to 0666.
    const QByteArray probe = temporaryPath(target);
    const Descriptor fd(::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    struct stat status {};
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0)
        return inFolderOf(Step::CreateNewFile, target, errno);
    NameGuard guard;
    guard.watch(probe, fd.get());
    const std::variant<ExtendedAttributes, int> attributes = extendedAttributesOf(probe);
    ::unlink(probe.constData());
    if (const int* error = std::get_if<int>(&attributes))
        return inFolderOf(Step::CreateNewFile, target, *error);
    if (const int error = giveExtendedAttributes(fd_.get(), std::get<ExtendedAttributes>(attributes)))
        return inFolderOf(Step::WriteNewFile, target, error);
    if (::fchmod(fd_.get(), status.st_mode & 07777) != 0)
        return inFolderOf(Step::WriteNewFile, target, errno);
    return std::nullopt;
}

std::optional<Failure> NewFile::linkAsTemporary(const QByteArray& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate = temporaryPath(target);
        guard_.watch(candidate, fd_.get());
        if (linkUnnamed(fd_.get(), candidate) == 0) {
            path_ = candidate;
            return std::nullopt;
        }
        if (errno != EEXIST)
            return inFolderOf(Step::CreateNewFile, target, errno);
    }
    return inFolderOf(Step::CreateNewFile, target, EEXIST);
}

std::optional<Failure> NewFile::takeName(const QByteArray& target, bool replace)
{
    if (unnamed_ && !replace) {
        if (linkUnnamed(fd_.get(), target) != 0)
            return failure(Step::PlaceNewFile, target, errno);
        return std::nullopt;
    }
    // A name cannot be linked over another: a temporary one first, for a moment.
    if (unnamed_)
        if (std::optional<Failure> failed = linkAsTemporary(target))
            return failed;
    if (::rename(path_.constData(), target.constData()) != 0)
        return failure(Step::PlaceNewFile, target, errno);
    path_.clear();
    guard_.release();
    return std::nullopt;
}

void NewFile::removeLeftovers(const QByteArray& target)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(folderOf(target).constData()), ::closedir);
    if (!folder)
        return;
    const int at = ::dirfd(folder.get());
    const QByteArray stem = stemOf(target);
    while (const dirent* entry = ::readdir(folder.get())) {
        if (!isTemporaryName(QByteArray(entry->d_name), stem))
            continue;
        const Descriptor fd(::openat(at, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened {}, named {};
        if (!fd.isOpen() || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_uid != ::geteuid()
            || opened.st_nlink != 1)
            continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;  // its save is still running
        if (::fstatat(at, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(opened, named))
            ::unlinkat(at, entry->d_name, 0);
    }
}

}  // namespace atomicSave::posix
