// The one save routine of every output file: what it refuses, what it keeps,
// and that a refusal or a failure leaves the folder exactly as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "FileSizeLimit.h"
#include "TrussTestSupport.h"
#include "savefile/AtomicSave.h"
#include "savefile/FileName.h"

namespace {

bool isRoot() { return ::geteuid() == 0; }

// Numeric ids of users and a group that exist only in these tests.
constexpr uid_t alice = 61001, bob = 61002;
constexpr gid_t team = 61000;

QByteArray bytesOf(const QString& path) { return fileName::toBytes(path); }

struct stat statusOf(const QByteArray& path)
{
    struct stat status {};
    ::lstat(path.constData(), &status);
    return status;
}

QByteArray contentOf(const QByteArray& path)
{
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle))
        return {};
    return file.readAll();
}

// Every extended attribute, the ACL among them, as name=value in hex.
QString attributesOf(const QByteArray& path)
{
    char names[4096];
    const ssize_t size = ::llistxattr(path.constData(), names, sizeof names);
    QStringList attributes;
    for (const QByteArray& name : QByteArray(names, size > 0 ? size : 0).split('\0')) {
        if (name.isEmpty())
            continue;
        char value[4096];
        const ssize_t length = ::lgetxattr(path.constData(), name.constData(), value, sizeof value);
        attributes << QString::fromLatin1(name + '=' + QByteArray(value, length > 0 ? length : 0).toHex());
    }
    attributes.sort();
    return attributes.join(u',');
}

// Each entry of the folder as what it is: its name byte for byte, its type
// and mode, its owner, group and number of links, its attributes and ACL,
// the device it stands for, and the content of a regular file.
QStringList fingerprint(const QString& folder)
{
    QStringList prints;
    DIR* dir = ::opendir(bytesOf(folder).constData());
    while (const dirent* entry = dir ? ::readdir(dir) : nullptr) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = bytesOf(folder) + '/' + name;
        const struct stat status = statusOf(path);
        QString print = QStringLiteral("%1 %2 %3:%4 %5 %6 [%7]")
                            .arg(QString::fromLatin1(name.toHex()))
                            .arg(status.st_mode, 0, 8)
                            .arg(status.st_uid)
                            .arg(status.st_gid)
                            .arg(status.st_nlink)
                            .arg(status.st_rdev)
                            .arg(attributesOf(path));
        if (S_ISREG(status.st_mode))
            print += u' ' + QString::fromLatin1(contentOf(path).toHex());
        prints << print;
    }
    if (dir)
        ::closedir(dir);
    prints.sort();
    return prints;
}

// QTemporaryDir cannot remove a name that is not UTF-8.
void removeFilesIn(const QString& folder)
{
    DIR* dir = ::opendir(bytesOf(folder).constData());
    while (const dirent* entry = dir ? ::readdir(dir) : nullptr)
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    if (dir)
        ::closedir(dir);
}

void run(const QString& command)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command}), 0) << command.toStdString();
}

void makeSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    ASSERT_LT(name.size(), qsizetype(sizeof address.sun_path));
    std::memcpy(address.sun_path, name.constData(), name.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

// A link in the folder, made by the unprivileged user nobody.
void plantLink(const QString& folder, const QString& to, const QString& link)
{
    ::chmod(QFile::encodeName(folder).constData(), 01777);
    const int status = QProcess::execute(QStringLiteral("setpriv"), {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                                                     QStringLiteral("--clear-groups"), QStringLiteral("ln"),
                                                                     QStringLiteral("-s"), to, link});
    ASSERT_EQ(status, 0);
}

// The save as another user, with one supplementary group, for as long as it lives.
class ActingAs {
public:
    ActingAs(uid_t user, gid_t group, gid_t member)
    {
        saved_.resize(static_cast<size_t>(::getgroups(0, nullptr)));
        ::getgroups(static_cast<int>(saved_.size()), saved_.data());
        EXPECT_EQ(::setgroups(1, &member), 0);
        EXPECT_EQ(::setegid(group), 0);
        EXPECT_EQ(::seteuid(user), 0);
    }
    ~ActingAs()
    {
        EXPECT_EQ(::seteuid(0), 0);
        EXPECT_EQ(::setegid(0), 0);
        EXPECT_EQ(::setgroups(saved_.size(), saved_.data()), 0);
    }
    ActingAs(const ActingAs&) = delete;
    ActingAs& operator=(const ActingAs&) = delete;

private:
    std::vector<gid_t> saved_;
};

// Where the file system lets a file be made without a name, the routine
// makes one and links it in through /proc. Without /proc (a private mount
// namespace, as root) it takes its other road: a private file under a hidden
// name. Runs body there in a child process; its failure text comes back.
enum class Road { Unnamed, Named };

struct Child {
    pid_t pid = -1;
    int output = -1;  // what body returns
};

Child startChild(Road road, const std::function<QString()>& body)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        if (road == Road::Named
            && (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
                || ::umount2("/proc", MNT_DETACH) != 0))
            ::_exit(3);
        const QByteArray text = body().toUtf8();
        [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], text.constData(), static_cast<size_t>(text.size()));
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    return {pid, pipeFds[0]};
}

struct ChildResult {
    bool ran;      // to its end, its road set up
    QString text;  // what body returned
};

ChildResult finish(const Child& child)
{
    QFile from;
    from.open(child.output, QIODevice::ReadOnly, QFile::AutoCloseHandle);
    const QByteArray text = from.readAll();
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, QString::fromUtf8(text)};
}

ChildResult inChild(Road road, const std::function<QString()>& body) { return finish(startChild(road, body)); }

// How the save went: the kind of save, or the failure in the programs' words.
QString saved(const QString& path, QByteArrayView bytes)
{
    const atomicSave::Result result = atomicSave::save(path, bytes);
    if (const atomicSave::Failure* failure = std::get_if<atomicSave::Failure>(&result))
        return atomicSave::describe(*failure);
    switch (std::get<atomicSave::Saved>(result)) {
    case atomicSave::Saved::Created:
        return QStringLiteral("created");
    case atomicSave::Saved::Replaced:
        return QStringLiteral("replaced");
    case atomicSave::Saved::WrittenInPlace:
        return QStringLiteral("written in place");
    }
    return {};
}

using atomicSave::Step;

struct Refusal {
    const char* name;
    std::function<QString(const QString& folder)> prepare;  // the target
    Step step;
    const char* file;         // DIR stands for the test's folder
    const char* description;  // describe(); DIR as above, %1 for the system's words for error
    int error = 0;
    rlim_t sizeLimit = 0;
    uid_t saver = 0;         // root, or alice
    bool needsRoot = false;  // mknod, and files of another user
};

// A file of alice's, with a second name when twoNames (so written in place),
// in a folder of root's that she may enter but not write to.
QString alicesFileInRootsFolder(const QString& d, bool twoNames)
{
    const QString path = d + QStringLiteral("/f.kvr");
    writeAll(path, "old");
    ::chown(QFile::encodeName(path).constData(), alice, alice);
    if (twoNames)
        ::link(QFile::encodeName(path).constData(), QFile::encodeName(d + QStringLiteral("/g.kvr")).constData());
    ::chmod(QFile::encodeName(d).constData(), 0755);
    return path;
}

const Refusal refusals[] = {
    {"no name", [](const QString&) { return QString(); }, Step::CheckTarget, "", "No file name specified"},
    {"character device",
     [](const QString& d) {
         const QString path = d + QStringLiteral("/null");
         ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3));
         return path;
     },
     Step::CheckTarget, "DIR/null", "Not a regular file", 0, 0, 0, true},
    {"FIFO",
     [](const QString& d) {
         const QString path = d + QStringLiteral("/fifo");
         ::mkfifo(QFile::encodeName(path).constData(), 0644);
         return path;
     },
     Step::CheckTarget, "DIR/fifo", "Not a regular file"},
    {"socket",
     [](const QString& d) {
         const QString path = d + QStringLiteral("/socket");
         makeSocket(path);
         return path;
     },
     Step::CheckTarget, "DIR/socket", "Not a regular file"},
    {"folder",
     [](const QString& d) {
         QDir(d).mkdir(QStringLiteral("folder.kvr"));
         return d + QStringLiteral("/folder.kvr");
     },
     Step::CheckTarget, "DIR/folder.kvr", "%1", EISDIR},
    {"a file where a folder should be",
     [](const QString& d) {
         writeAll(d + QStringLiteral("/plain"), "a file, not a folder");
         return d + QStringLiteral("/plain/t.kvr");
     },
     Step::CheckTarget, "DIR/plain/t.kvr", "%1", ENOTDIR},
    {"another user's link in a shared folder",
     [](const QString& d) {
         writeAll(d + QStringLiteral("/victim"), "what the link points at");
         plantLink(d, d + QStringLiteral("/victim"), d + QStringLiteral("/t.kvr"));
         return d + QStringLiteral("/t.kvr");
     },
     Step::CheckTarget, "DIR/t.kvr", "Not following a symbolic link that another user made in a shared folder", 0, 0,
     0, true},
    {"another user's file in a shared folder",
     [](const QString& d) {
         const QString path = d + QStringLiteral("/t.kvr");
         writeAll(path, "planted for root to fill");
         ::chmod(QFile::encodeName(path).constData(), 0666);
         ::chown(QFile::encodeName(path).constData(), alice, alice);
         ::chmod(QFile::encodeName(d).constData(), 01777);
         return path;
     },
     Step::CheckTarget, "DIR/t.kvr", "Not writing into a file that another user owns in a shared folder", 0, 0, 0, true},
    {"a folder that is not there", [](const QString& d) { return d + QStringLiteral("/missing/t.kvr"); },
     Step::CreateNewFile, "DIR/missing", "cannot create a new file in the folder DIR/missing: %1", ENOENT},
    {"one's own file in a folder one may not write to",
     [](const QString& d) { return alicesFileInRootsFolder(d, false); }, Step::CreateNewFile, "DIR",
     "cannot create a new file in the folder DIR: %1", EACCES, 0, alice, true},
    {"file-size limit on a new file", [](const QString& d) { return d + QStringLiteral("/new.kvr"); },
     Step::WriteNewFile, "DIR", "cannot write the new file in the folder DIR: %1", EFBIG, 100},
    {"file-size limit over an earlier file",
     [](const QString& d) {
         writeAll(d + QStringLiteral("/earlier.kvr"), "the earlier file");
         return d + QStringLiteral("/earlier.kvr");
     },
     Step::WriteNewFile, "DIR", "cannot write the new file in the folder DIR: %1", EFBIG, 100},
    {"file-size limit on the kept copy of a file with two names",
     [](const QString& d) {
         writeAll(d + QStringLiteral("/earlier.kvr"), QByteArray(2000, 'e'));
         ::link(QFile::encodeName(d + QStringLiteral("/earlier.kvr")).constData(), QFile::encodeName(d + QStringLiteral("/other.kvr")).constData());
         return d + QStringLiteral("/earlier.kvr");
     },
     Step::KeepCopy, "DIR/earlier.kvr~", "cannot write the kept copy DIR/earlier.kvr~: %1; DIR/earlier.kvr holds its earlier content",
     EFBIG, 1000},
    {"kept copy of one's own file with two names, in a folder one may not write to",
     [](const QString& d) { return alicesFileInRootsFolder(d, true); }, Step::KeepCopy, "DIR/f.kvr~",
     "cannot write the kept copy DIR/f.kvr~: %1; DIR/f.kvr holds its earlier content", EACCES, 0, alice, true},
    {"file-size limit over a file with two names, written in place",
     [](const QString& d) {
         writeAll(d + QStringLiteral("/earlier.kvr"), "the earlier file");
         ::link(QFile::encodeName(d + QStringLiteral("/earlier.kvr")).constData(), QFile::encodeName(d + QStringLiteral("/other.kvr")).constData());
         return d + QStringLiteral("/earlier.kvr");
     },
     Step::WriteInPlace, "DIR/earlier.kvr", "%1; the file holds its earlier content again", EFBIG, 100},
};

class AtomicSaveRefusal : public ::testing::TestWithParam<Refusal> {};

// The failure names its step and file; the folder is as it was.
TEST_P(AtomicSaveRefusal, RefusesOrFailsWithTheReasonAndChangesNothing)
{
    const Refusal& c = GetParam();
    if (c.needsRoot && !isRoot())
        GTEST_SKIP() << "needs root, as CI runs it";
    const QByteArray bytes(1000, 'x');
    QTemporaryDir dir;
    const QString target = c.prepare(dir.path());
    const QStringList before = fingerprint(dir.path());

    atomicSave::Result result;
    {
        std::optional<FileSizeLimit> limit;
        std::optional<ActingAs> saver;
        if (c.sizeLimit != 0)
            limit.emplace(c.sizeLimit);
        if (c.saver != 0)
            saver.emplace(c.saver, c.saver, c.saver);
        result = atomicSave::save(target, bytes);
    }
    const atomicSave::Failure* failure = std::get_if<atomicSave::Failure>(&result);
    ASSERT_NE(failure, nullptr);
    const auto inDir = [&](const char* text) { return QString::fromUtf8(text).replace(QStringLiteral("DIR"), dir.path()); };
    EXPECT_EQ(failure->step, c.step);
    EXPECT_EQ(failure->file, inDir(c.file));
    const QString description = inDir(c.description);
    EXPECT_EQ(atomicSave::describe(*failure), c.error ? description.arg(QString::fromLocal8Bit(std::strerror(c.error))) : description);
    EXPECT_EQ(fingerprint(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(AtomicSave, AtomicSaveRefusal, ::testing::ValuesIn(refusals), ByRowName());

struct Replacement {
    const char* name;
    std::function<QString(const QString& folder)> prepare;  // the path to save to, where "old" stands
    const char* how = "replaced";                           // as saved() words it
    uid_t saver = 0;                                        // root, or bob in the group team
};

const Replacement replacements[] = {
    {"one's own link in a shared folder",
     [](const QString& d) {
         writeAll(d + QStringLiteral("/real.kvr"), "old");
         ::chmod(QFile::encodeName(d).constData(), 01777);
         QFile::link(QStringLiteral("real.kvr"), d + QStringLiteral("/mine.kvr"));
         return d + QStringLiteral("/mine.kvr");
     }},
    {"a read-only file (writable only for root)",
     [](const QString& d) {
         const QString path = d + QStringLiteral("/locked.kvr");
         writeAll(path, "old");
         ::chmod(QFile::encodeName(path).constData(), 0444);
         return path;
     }},
    {"an ACL and extended attributes",
     [](const QString& d) {
         const QString path = d + QStringLiteral("/f.kvr");
         writeAll(path, "old");
         run(QStringLiteral("setfacl -m u:nobody:rw '%1' && setfattr -n user.project -v x '%1' && setfattr -n trusted.note -v y '%1'").arg(path));
         return path;
     }},
    {"a folder's default ACL stays out of a file without one",
     [](const QString& d) {
         const QString path = d + QStringLiteral("/f.kvr");
         writeAll(path, "old");
         ::chmod(QFile::encodeName(path).constData(), 0640);
         run(QStringLiteral("setfacl -d -m u:nobody:rwx '%1'").arg(d));
         return path;
     }},
    {"another user's set-id file, saved by root",
     [](const QString& d) {
         const QString path = d + QStringLiteral("/alice.kvr");
         writeAll(path, "old");
         ::chown(QFile::encodeName(path).constData(), alice, team);
         ::chmod(QFile::encodeName(path).constData(), 06640);
         return path;
     }},
    {"a file with two names, written in place",
     [](const QString& d) {
         writeAll(d + QStringLiteral("/f.kvr"), "old");
         ::link(QFile::encodeName(d + QStringLiteral("/f.kvr")).constData(), QFile::encodeName(d + QStringLiteral("/g.kvr")).constData());
         return d + QStringLiteral("/f.kvr");
     },
     "written in place"},
    {"a file with two names and the longest name a folder allows, written in place",
     [](const QString& d) {
         const QString path = d + QLatin1Char('/') + QString(251, QLatin1Char('f')) + QStringLiteral(".kvr");
         writeAll(path, "old");
         ::link(QFile::encodeName(path).constData(), QFile::encodeName(d + QStringLiteral("/g.kvr")).constData());
         return path;
     },
     "written in place"},
    {"a colleague's group-writable file, saved in place by a member of its group",
     [](const QString& d) {
         const QString path = d + QStringLiteral("/alice.kvr");
         writeAll(path, "old");
         ::chown(QFile::encodeName(path).constData(), alice, team);
         ::chmod(QFile::encodeName(path).constData(), 0664);
         ::chown(QFile::encodeName(d).constData(), 0, team);
         ::chmod(QFile::encodeName(d).constData(), 0775);
         return path;
     },
     "written in place", bob},
    {"a name that is not UTF-8 (beside the name it decodes to)",
     [](const QString& d) {
         writeAll(d + QStringLiteral("/caf\uFFFD.kvr"), "decoy");
         const QByteArray path = bytesOf(d) + "/caf\xe9.kvr";
         ::close(::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
         const int fd = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
         [[maybe_unused]] const ssize_t written = ::write(fd, "old", 3);
         ::close(fd);
         return fileName::fromBytes(path);
     }},
};

// Each case on both roads of the routine: the new file without a name, and
// the private one with a hidden name.
TEST(AtomicSave, ReplacesTheContentAndNothingElse)
{
    if (!isRoot())
        GTEST_SKIP() << "needs root, as CI has it: other users, ACLs, trusted attributes";
    for (const Road road : {Road::Unnamed, Road::Named}) {
        for (const Replacement& c : replacements) {
            SCOPED_TRACE(testing::Message() << c.name << (road == Road::Named ? ", named new file" : ", unnamed new file"));
            QTemporaryDir dir;
            const QString path = c.prepare(dir.path());
            QStringList expected = fingerprint(dir.path());
            expected.replaceInStrings(QStringLiteral(" 6f6c64"), QStringLiteral(" 6e6577"));  // "old" becomes "new"

            const ChildResult result = inChild(road, [&] {
                if (c.saver == 0)
                    return saved(path, "new");
                const ActingAs member(c.saver, c.saver, team);
                return saved(path, "new");
            });
            EXPECT_TRUE(result.ran) << "no private mount namespace without /proc";
            EXPECT_EQ(result.text, QString::fromLatin1(c.how));
            EXPECT_EQ(fingerprint(dir.path()), expected);
            removeFilesIn(dir.path());
        }
    }
}

// A new file gets what any new file gets in its folder: the umask, or the
// folder's default ACL, applied to 0666; compared with a file made beside it.
TEST(AtomicSave, NewFileIsMadeAsAnyNewFile)
{
    if (!isRoot())
        GTEST_SKIP() << "needs root, as CI has it: a private mount namespace";
    const std::pair<const char*, const char*> folders[] = {
        {"umask 027", nullptr},
        {"a default ACL", "setfacl -d -m u:nobody:rw,m::rw '%1'"},
    };
    for (const Road road : {Road::Unnamed, Road::Named}) {
        for (const auto& [name, folderSetUp] : folders) {
            SCOPED_TRACE(testing::Message() << name << (road == Road::Named ? ", named new file" : ", unnamed new file"));
            QTemporaryDir dir;
            if (folderSetUp)
                run(QString::fromLatin1(folderSetUp).arg(dir.path()));
            const ChildResult result = inChild(road, [&] {
                ::umask(027);
                ::close(::open(QFile::encodeName(dir.filePath(QStringLiteral("touched"))).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
                return saved(dir.filePath(QStringLiteral("saved")), "new");
            });
            EXPECT_TRUE(result.ran);
            EXPECT_EQ(result.text, QStringLiteral("created"));
            QStringList prints = fingerprint(dir.path());
            EXPECT_EQ(prints.size(), 2);
            if (prints.size() != 2)
                continue;
            for (QString& print : prints)  // without name and content
                print = print.mid(print.indexOf(u' '), print.lastIndexOf(u']') - print.indexOf(u' ') + 1);
            EXPECT_EQ(prints[0], prints[1]);
        }
    }
}

// The files in folder that process has open, by the names they have (an
// unnamed one has none).
bool hasOpenIn(pid_t process, const QString& folder)
{
    const QString fds = QStringLiteral("/proc/%1/fd").arg(process);
    for (const QString& fd : QDir(fds).entryList(QDir::Files | QDir::System))
        if (QFile::symLinkTarget(fds + u'/' + fd).startsWith(folder + u'/'))
            return true;
    return false;
}

// Whether the process has started a process of its own (on the named road,
// the guardian of its new file's name).
bool hasChildProcess(pid_t process)
{
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid …, comm in parentheses and free to hold blanks.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toInt() == process)
            return true;
    }
    return false;
}

// The entries of the folder without their content: name, mode and owner.
QStringList entriesOf(const QString& folder)
{
    QStringList entries;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const struct stat status = statusOf(bytesOf(folder + u'/' + name));
        entries << QStringLiteral("%1 %2 %3").arg(name).arg(status.st_mode, 0, 8).arg(status.st_uid);
    }
    return entries;
}

// A save stopped halfway, then killed as kill -9 kills it: what another user
// could open meanwhile, and what it leaves. The hidden file of the named road
// is the writer's alone, and its guardian removes it after the kill. What a
// power cut leaves there, the next save of the same target removes, but not
// a file whose save still runs, nor another user's file.
TEST(AtomicSave, KilledSaveLeavesNothingBehind)
{
    if (!isRoot())
        GTEST_SKIP() << "needs root, as CI has it: a private mount namespace, another user's file";
    for (const Road road : {Road::Unnamed, Road::Named}) {
        SCOPED_TRACE(road == Road::Named ? "named new file" : "unnamed new file");
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("t.kvr"));
        writeAll(target, "old");
        ::chmod(QFile::encodeName(target).constData(), 0644);
        const QStringList before = entriesOf(dir.path());
        const auto added = [&] {
            QStringList entries = entriesOf(dir.path());
            for (const QString& entry : before)
                entries.removeOne(entry);
            return entries;
        };

        const Child child = startChild(road, [&] { return saved(target, QByteArray(64 << 20, 'x')); });
        QElapsedTimer waited;
        waited.start();
        // The named road's file has its name for a moment before its guardian
        // starts; a kill in that moment leaves it to the next save (below).
        while (!(hasOpenIn(child.pid, dir.path()) && (road == Road::Unnamed || hasChildProcess(child.pid)))
               && waited.elapsed() < 20000)
            ;
        ::kill(child.pid, SIGSTOP);
        int status = 0;
        ::waitpid(child.pid, &status, WUNTRACED);
        const QStringList halfway = added();
        ::kill(child.pid, SIGKILL);
        EXPECT_FALSE(finish(child).ran);
        while (!added().isEmpty() && waited.elapsed() < 20000)  // the guardian's moment
            ;
        EXPECT_EQ(added(), QStringList());
        if (road == Road::Unnamed) {
            EXPECT_EQ(halfway, QStringList());
            continue;
        }
        EXPECT_EQ(halfway.size(), 1);
        if (halfway.size() != 1)
            continue;
        EXPECT_TRUE(halfway[0].startsWith(QStringLiteral(".t.kvr.")));
        EXPECT_TRUE(halfway[0].endsWith(QStringLiteral(".part 100600 0"))) << halfway[0].toStdString();

        // What a power cut leaves, and beside it: a save of the same target
        // still running, another user's hidden file of the same shape, and
        // one's own notes.
        writeAll(dir.filePath(QStringLiteral(".t.kvr.bbbbbbbb.part")), "left");
        const QString running = dir.filePath(QStringLiteral(".t.kvr.zzzzzzzz.part"));
        const QString others = dir.filePath(QStringLiteral(".t.kvr.aaaaaaaa.part"));
        const QString notes = dir.filePath(QStringLiteral(".t.kvr.notes"));
        for (const QString& path : {running, others, notes})
            writeAll(path, "kept");
        ::chown(QFile::encodeName(others).constData(), alice, alice);
        QFile lockedFile(running);
        ASSERT_TRUE(lockedFile.open(QIODevice::ReadOnly));
        ASSERT_EQ(::flock(lockedFile.handle(), LOCK_EX), 0);
        QStringList expected = fingerprint(dir.path()).filter(QStringLiteral(" 6b657074"));  // "kept"
        expected << fingerprint(dir.path()).filter(QStringLiteral(" 6f6c64")).replaceInStrings(QStringLiteral(" 6f6c64"), QStringLiteral(" 6e6577"));
        expected.sort();

        EXPECT_EQ(saved(target, "new"), QStringLiteral("replaced"));
        EXPECT_EQ(fingerprint(dir.path()), expected);
    }
}

TEST(FileName, BytesComeBackByteForByte)
{
    const std::pair<QByteArray, QString> names[] = {
        {"plain.kvr", QStringLiteral("plain.kvr")},
        {"caf\xc3\xa9.kvr", QStringLiteral("caf\u00e9.kvr")},
        {"caf\xe9.kvr", QStringView(u"caf\xDCE9.kvr").toString()},
        {"overlong \xc0\xaf", QStringView(u"overlong \xDCC0\xDCAF").toString()},
        {"surrogate \xed\xa0\x80", QStringView(u"surrogate \xDCED\xDCA0\xDC80").toString()},
        {"cut \xe2\x82", QStringView(u"cut \xDCE2\xDC82").toString()},
        {"beyond \xf4\x90\x80\x80", QStringView(u"beyond \xDCF4\xDC90\xDC80\xDC80").toString()},
        {"astral \xf0\x9f\x8c\x89", QStringLiteral("astral \U0001F309")},
    };
    for (const auto& [bytes, text] : names) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        EXPECT_EQ(fileName::fromBytes(bytes), text);
        EXPECT_EQ(fileName::toBytes(fileName::fromBytes(bytes)), bytes);
    }
}

}  // namespace
