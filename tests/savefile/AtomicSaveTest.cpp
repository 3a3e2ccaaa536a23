// The one save routine of every output file: what it refuses, what it keeps,
// and that a refusal or a failure leaves the folder exactly as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "FileSizeLimit.h"
#include "TrussTestSupport.h"
#include "savefile/AtomicSave.h"

namespace {

bool isRoot() { return ::geteuid() == 0; }

struct stat statusOf(const QString& path)
{
    struct stat status {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

// Each entry of the folder as what it is: its name, its type, its mode and
// the device it stands for, and the content of a regular file.
QStringList fingerprint(const QString& folder)
{
    QStringList prints;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = folder + u'/' + name;
        const struct stat status = statusOf(path);
        QString print = QStringLiteral("%1 %2 %3").arg(name).arg(status.st_mode, 0, 8).arg(status.st_rdev);
        if (S_ISREG(status.st_mode))
            print += u' ' + QString::fromLatin1(readAll(path).toHex());
        prints << print;
    }
    return prints;
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

struct Refusal {
    const char* name;
    bool needsRoot;  // mknod, and making a file as another user
    std::function<QString(const QString& folder)> prepare;  // the target
    const char* description;  // the save's own words, or nullptr for the system's words for error
    rlim_t sizeLimit = 0;
    int error = 0;
};

const Refusal refusals[] = {
    {"character device", true,
     [](const QString& d) {
         const QString path = d + QStringLiteral("/null");
         ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3));
         return path;
     },
     "Not a regular file"},
    {"FIFO", false,
     [](const QString& d) {
         const QString path = d + QStringLiteral("/fifo");
         ::mkfifo(QFile::encodeName(path).constData(), 0644);
         return path;
     },
     "Not a regular file"},
    {"socket", false,
     [](const QString& d) {
         const QString path = d + QStringLiteral("/socket");
         makeSocket(path);
         return path;
     },
     "Not a regular file"},
    {"folder", false,
     [](const QString& d) {
         QDir(d).mkdir(QStringLiteral("folder.kvr"));
         return d + QStringLiteral("/folder.kvr");
     },
     nullptr, 0, EISDIR},
    {"another user's link in a shared folder", true,
     [](const QString& d) {
         writeAll(d + QStringLiteral("/victim"), "what the link points at");
         plantLink(d, d + QStringLiteral("/victim"), d + QStringLiteral("/t.kvr"));
         return d + QStringLiteral("/t.kvr");
     },
     "Not following a symbolic link that another user made in a shared folder"},
    {"file-size limit over an earlier file", false,
     [](const QString& d) {
         writeAll(d + QStringLiteral("/earlier.kvr"), "the earlier file");
         return d + QStringLiteral("/earlier.kvr");
     },
     nullptr, 100, EFBIG},
};

class AtomicSaveRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(AtomicSaveRefusal, RefusesOrFailsWithTheReasonAndChangesNothing)
{
    const Refusal& c = GetParam();
    if (c.needsRoot && !isRoot())
        GTEST_SKIP() << "needs root, as CI runs it";
    const QByteArray bytes(1000, 'x');
    QTemporaryDir dir;
    const QString target = c.prepare(dir.path());
    const QStringList before = fingerprint(dir.path());

    std::optional<atomicSave::Failure> failure;
    if (c.sizeLimit != 0) {
        const FileSizeLimit limit(c.sizeLimit);
        failure = atomicSave::save(target, bytes);
    } else {
        failure = atomicSave::save(target, bytes);
    }
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->description,
              c.description ? QString::fromLatin1(c.description) : QString::fromLocal8Bit(std::strerror(c.error)));
    EXPECT_EQ(fingerprint(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(AtomicSave, AtomicSaveRefusal, ::testing::ValuesIn(refusals), ByRowName());

struct Replacement {
    const char* name;
    std::function<QString(const QString& folder)> prepare;  // the path to save to, where "old" stands
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
         ::chmod(QFile::encodeName(path).constData(), isRoot() ? 0444 : 0604);
         return path;
     }},
};

TEST(AtomicSave, ReplacesTheContentAndKeepsLinksAndMode)
{
    for (const Replacement& c : replacements) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = c.prepare(dir.path());
        QStringList expected = fingerprint(dir.path());
        expected.replaceInStrings(QStringLiteral(" 6f6c64"), QStringLiteral(" 6e6577"));  // "old" becomes "new"

        EXPECT_FALSE(atomicSave::save(path, "new").has_value());
        EXPECT_EQ(fingerprint(dir.path()), expected);
    }
}

}  // namespace
