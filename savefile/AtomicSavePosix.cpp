#include "savefile/AtomicSave.h"

#include <cerrno>
#include <csignal>
#include <variant>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "savefile/ExtendedAttributes.h"
#include "savefile/FileName.h"
#include "savefile/InPlaceWrite.h"
#include "savefile/NewFile.h"
#include "savefile/PosixFiles.h"

namespace atomicSave {
namespace {

using namespace posix;

// The kernel's rules for a folder that everybody may write to and only
// owners may delete from, such as /tmp (fs.protected_symlinks and
// fs.protected_regular): follow a link, or write into an existing file, only
// when the writer or the folder's owner owns it. Another user's link there
// may point anywhere the writer may write; another user's file there may be
// one that user planted for the writer to fill.
bool mayUseThere(const QByteArray& path, const struct stat& status)
{
    const std::optional<uid_t> folderOwner = sharedFolderOwner(folderOf(path));
    return !folderOwner || status.st_uid == ::geteuid() || status.st_uid == *folderOwner;
}

// What a step that saves returned: its failure, or how the target was saved.
Result orFailure(std::optional<Failure> failed, Saved saved)
{
    if (failed)
        return *std::move(failed);
    return saved;
}

Result inPlace(const QByteArray& path, QByteArrayView bytes)
{
    return orFailure(writeInPlace(path, bytes), Saved::WrittenInPlace);
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
            return failure(Step::CheckTarget, path, errno);
        }
        if (S_ISLNK(target.status.st_mode)) {
            if (!mayUseThere(path, target.status))
                return refusal(path, QStringLiteral("Not following a symbolic link that another user made in a shared folder"));
            char to[4096];
            const ssize_t length = ::readlink(path.constData(), to, sizeof to);
            if (length < 0 || length == static_cast<ssize_t>(sizeof to))
                return failure(Step::CheckTarget, path, length < 0 ? errno : ENAMETOOLONG);
            const QByteArray next(to, length);
            path = next.startsWith('/') ? next : folderOf(path) + '/' + next;
            continue;
        }
        if (S_ISDIR(target.status.st_mode))
            return failure(Step::CheckTarget, path, EISDIR);
        if (!S_ISREG(target.status.st_mode))
            return refusal(path, QStringLiteral("Not a regular file"));
        if (!mayUseThere(path, target.status))
            return refusal(path, QStringLiteral("Not writing into a file that another user owns in a shared folder"));
        if (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
            return failure(Step::CheckTarget, path, errno);
        target.exists = true;
        return target;
    }
    return failure(Step::CheckTarget, path, ELOOP);
}

// Whether the new file was given all the earlier file was besides its
// content; a failure to give it is worth telling only when not for want of
// the right.
enum class Kept { All, NotAll };

bool forWantOfTheRight(int error) { return error == EPERM || error == EACCES || error == ENOTSUP; }

// The earlier file's owner, group, extended attributes (its ACL among them)
// and permissions, the permissions last, when the content is complete. The
// new file, made by the writer, is the writer's until then; only root may
// give a file away, and a member of a file's group cannot keep its owner.
// Kept::All, Kept::NotAll, or the errno of a failure.
std::variant<Kept, int> keepWhatTheFileWas(int fd, const Target& target, const ExtendedAttributes& attributes)
{
    const struct stat& earlier = target.status;
    const bool sameOwner = earlier.st_uid == ::geteuid() && earlier.st_gid == ::getegid();
    int error = 0;
    if (!sameOwner && ::fchown(fd, earlier.st_uid, earlier.st_gid) != 0)
        error = errno;
    else
        error = giveExtendedAttributes(fd, attributes);
    if (error)
        return forWantOfTheRight(error) ? std::variant<Kept, int>(Kept::NotAll) : error;
    if (::fchmod(fd, earlier.st_mode & 07777) != 0)
        return errno;
    return Kept::All;
}

// The content written to the new file and flushed to the disk: 0 or errno.
int writeAndSync(const NewFile& file, QByteArrayView bytes)
{
    if (const int error = writeAll(file.fd(), bytes))
        return error;
    return ::fsync(file.fd()) != 0 ? errno : 0;
}

std::optional<Failure> saveNew(const QByteArray& path, QByteArrayView bytes)
{
    NewFile file;
    if (std::optional<Failure> failed = file.create(path))
        return failed;
    if (const int error = writeAndSync(file, bytes))
        return inFolderOf(Step::WriteNewFile, path, error);
    if (std::optional<Failure> failed = file.giveNewFilePermissions(path))
        return failed;
    return file.takeName(path, false);
}

// A new file takes the target's name; where it cannot be given all the
// earlier file was, the file is written in place instead.
Result replace(const Target& target, QByteArrayView bytes)
{
    const std::variant<ExtendedAttributes, int> attributes = extendedAttributesOf(target.path);
    if (const int* error = std::get_if<int>(&attributes))
        return failure(Step::ReadTarget, target.path, *error);
    NewFile file;
    if (std::optional<Failure> failed = file.create(target.path))
        return *failed;
    if (const int error = writeAndSync(file, bytes))
        return inFolderOf(Step::WriteNewFile, target.path, error);
    const std::variant<Kept, int> kept = keepWhatTheFileWas(file.fd(), target, std::get<ExtendedAttributes>(attributes));
    if (const int* error = std::get_if<int>(&kept))
        return inFolderOf(Step::WriteNewFile, target.path, *error);
    if (std::get<Kept>(kept) == Kept::NotAll)
        return inPlace(target.path, bytes);
    if (::fsync(file.fd()) != 0)
        return inFolderOf(Step::WriteNewFile, target.path, errno);
    if (std::optional<Failure> failed = file.takeName(target.path, true))
        return *failed;
    return Saved::Replaced;
}

}  // namespace

Result save(const QString& path, QByteArrayView bytes)
{
    if (path.isEmpty())
        return Failure{Step::CheckTarget, {}, QStringLiteral("No file name specified"), {}, {}};
    std::variant<Target, Failure> resolved = resolve(fileName::toBytes(path));
    if (Failure* refused = std::get_if<Failure>(&resolved)) {
        refused->target = refused->file;
        return *refused;
    }
    const Target& target = std::get<Target>(resolved);

    NewFile::removeLeftovers(target.path);
    Result result = Saved::Created;
    if (!target.exists)
        result = orFailure(saveNew(target.path, bytes), Saved::Created);
    else if (target.status.st_nlink > 1)
        result = inPlace(target.path, bytes);
    else
        result = replace(target, bytes);
    if (Failure* failed = std::get_if<Failure>(&result))
        failed->target = fileName::fromBytes(target.path);
    else
        syncFolder(folderOf(target.path));
    return result;
}

void reportFileSizeLimitAsFailure() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace atomicSave
