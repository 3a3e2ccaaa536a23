// kvrtool as the shell runs it: what only the whole program decides, its
// answer to a file-size limit and to a standard output that cannot be
// written, what is not a file where a file is read, a reader that leaves
// early, the toolkit's chatter, file names as bytes, and a save killed as it
// gives the new file the target's name.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "TrussTestSupport.h"

namespace {

struct ProcessCase {
    const char* name;
    const char* limit;      // the shell's ulimit -f in blocks, or nullptr
    QStringList arguments;  // after kvrtool; DIR stands for the test's folder
    const char* output;     // the standard output's file in DIR, or nullptr
    const char* message;    // on the standard error; %1 stands for the system's words for error
    int error = 0;          // 0: the message is kvrtool's own
};

// The system's words in English, whatever the test's locale.
QProcessEnvironment inCLocale()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    return environment;
}

const QString generate = QStringLiteral("generate --span 6 --height 1 --panels 1000 --area 100 --e 205 --udl 10");

const ProcessCase processCases[] = {
    {"generate under a file-size limit", "1", (generate + QStringLiteral(" -o DIR/big.kvr")).split(u' '), nullptr,
     "kvrtool: Error while saving file DIR/big.kvr: cannot write the new file in the folder DIR: %1", EFBIG},
    {"draw a PNG under a file-size limit", "1", {"draw", "DIR/t.kvr", "-o", "DIR/t.png"}, nullptr,
     "kvrtool: cannot write DIR/t.png: cannot write the new file in the folder DIR: %1", EFBIG},
    {"generate onto a FIFO", nullptr, (generate + QStringLiteral(" -o DIR/fifo")).split(u' '), nullptr,
     "kvrtool: Error while saving file DIR/fifo: Not a regular file", 0},
    {"show into a full disk", nullptr, {"show", "--csv", "DIR/t.kvr"}, "full",
     "kvrtool: cannot write the standard output: %1", ENOSPC},
};

// The system's words for an error, in the C locale that kvrtool runs in here.
QString systemWords(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

class KvrtoolProcess : public ::testing::TestWithParam<ProcessCase> {
protected:
    void SetUp() override
    {
        const QByteArray folder = QFile::encodeName(dir.path());
        ASSERT_EQ(::mkfifo(folder + "/fifo", 0644), 0);
        // A copy of the full device, as root (so in CI).
        full = ::mknod(folder + "/full", S_IFCHR | 0666, makedev(1, 7)) == 0;
        RecordingSink sink;
        clsTruss truss(sink);
        apply(truss, windowStart(), dir.path() + QStringLiteral("/t.kvr"));
        ASSERT_EQ(truss.saveFile(), std::nullopt);
    }

    QTemporaryDir dir;
    bool full = false;
};

TEST_P(KvrtoolProcess, FailuresToWriteExitWith2AndSaySo)
{
    const ProcessCase& c = GetParam();
    if (c.output != nullptr && !full)
        GTEST_SKIP() << "making a copy of the full device needs root";
    const QString d = dir.path();
    const QStringList before = QDir(d).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    QStringList arguments = c.arguments;
    arguments.replaceInStrings(QStringLiteral("DIR"), d);
    // The shell sets the limit and becomes kvrtool, whose own start must
    // turn the limit's signal into a failure it reports.
    const QString limit = c.limit ? QStringLiteral("ulimit -f %1 && ").arg(QString::fromLatin1(c.limit)) : QString();
    arguments.prepend(QStringLiteral(KVRTOOL));
    arguments.prepend(limit + QStringLiteral("exec \"$0\" \"$@\""));
    arguments.prepend(QStringLiteral("-c"));
    QProcess tool;
    tool.setProcessEnvironment(inCLocale());
    if (c.output != nullptr)
        tool.setStandardOutputFile(d + u'/' + QString::fromLatin1(c.output));
    tool.start(QStringLiteral("sh"), arguments);
    ASSERT_TRUE(tool.waitForFinished(60000));

    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 2);
    QString message = QString::fromLatin1(c.message);
    if (c.error != 0)
        message = message.arg(systemWords(c.error));
    const QString err = QString::fromLocal8Bit(tool.readAllStandardError());
    EXPECT_TRUE(err.contains(message.replace(QStringLiteral("DIR"), d))) << err.toStdString();
    EXPECT_EQ(QDir(d).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before) << "nothing left behind";
}

INSTANTIATE_TEST_SUITE_P(Kvrtool, KvrtoolProcess, ::testing::ValuesIn(processCases), ByRowName());

// A socket's file, with nothing listening on it.
bool makeSocket(const QByteArray& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

struct HostileTarget {
    const char* name;
    bool (*make)(const QByteArray& path);
    const char* what;  // the refusal's words for it
};

const HostileTarget hostileTargets[] = {
    {"a FIFO without a writer", [](const QByteArray& p) { return ::mkfifo(p, 0644) == 0; },
     "it is a named pipe (FIFO), not a file"},
    {"a socket", makeSocket, "it is a socket, not a file"},
    // A copy of the zero device, endless (once read up to the size bound); as root, so in CI.
    {"a character device", [](const QByteArray& p) { return ::mknod(p, S_IFCHR | 0444, makedev(1, 5)) == 0; },
     "it is a character device, not a file"},
    {"a folder", [](const QByteArray& p) { return ::mkdir(p, 0755) == 0; }, "it is a folder"},
};

class KvrtoolHostileTarget : public ::testing::TestWithParam<HostileTarget> {
protected:
    QTemporaryDir dir;
};

// Every command that reads a file, the thumbnailer's among them, refuses
// what is not one at once, and writes nothing.
TEST_P(KvrtoolHostileTarget, IsRefusedAtOnceWith2)
{
    const HostileTarget& t = GetParam();
    const QString d = dir.path(), target = d + QStringLiteral("/target.kvr");
    if (!t.make(QFile::encodeName(target)))
        GTEST_SKIP() << "cannot make " << t.name << " here: " << std::strerror(errno);
    const QStringList commands[] = {
        {"show", target},
        {"check", target},
        {"solve", target},
        {"draw", target, "-o", d + "/t.svg"},
        {"report", target, "-o", d + "/t.pdf"},
        {"draw", target, "--size", "64", "-o", d + "/t.png"},
    };
    // All at once: a command that waits costs the table one guard's time.
    std::vector<std::unique_ptr<QProcess>> tools;
    for (const QStringList& arguments : commands) {
        tools.push_back(std::make_unique<QProcess>());
        tools.back()->setProcessEnvironment(inCLocale());
        tools.back()->start(QStringLiteral(KVRTOOL), arguments);
    }
    const QDeadlineTimer guard(5000);
    for (std::size_t i = 0; i < tools.size(); ++i) {
        SCOPED_TRACE(commands[i].join(u' ').toStdString());
        QProcess& tool = *tools[i];
        if (!tool.waitForFinished(int(guard.remainingTime()))) {
            tool.kill();
            tool.waitForFinished();
            ADD_FAILURE() << "still waiting after 5 s";
            continue;
        }
        EXPECT_EQ(tool.exitCode(), 2);
        EXPECT_EQ(QString::fromLocal8Bit(tool.readAllStandardError()),
                  QStringLiteral("kvrtool: cannot read %1: %2\n").arg(target, QString::fromLatin1(t.what)));
    }
    EXPECT_EQ(QDir(d).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("target.kvr")})
        << "nothing written";
}

INSTANTIATE_TEST_SUITE_P(Kvrtool, KvrtoolHostileTarget, ::testing::ValuesIn(hostileTargets), ByRowName());

struct ShellCase {
    const char* name;
    const char* script;  // sh, with $K for kvrtool, $D for the test's folder, and $KILLED (below)
    const char* out;     // all of the standard output
    int status;
    const char* cannot = nullptr;  // sh: prints why the row cannot run here, or nothing
};

// Runs a command and kills it (SIGKILL, exit status 137) as it renames a
// file; strace injects only into the calls it traces.
const QString killedAtRename = QStringLiteral("strace -f -qq -o /dev/null -e trace=rename -e inject=rename:signal=SIGKILL");
// sh: prints why strace cannot kill a save here.
#define WITHOUT_STRACE "strace -qq -o /dev/null true 2>/dev/null || echo strace is missing or may not trace here"

const ShellCase shellCases[] = {
    {"a reader that leaves early", R"sh(("$K" show "$D/big.kvr"; echo $? >"$D/status") | head -c1; cat "$D/status")sh", "c141\n", 0},
    {"a reader that leaves early, SIGPIPE ignored", R"sh(trap '' PIPE; ("$K" show "$D/big.kvr"; echo $? >"$D/status") | head -c1; cat "$D/status")sh",
     "c141\n", 0},
    {"a picture drawn with XDG_RUNTIME_DIR unset", R"sh(unset XDG_RUNTIME_DIR; "$K" draw "$D/t.kvr" -o "$D/t.png" >/dev/null)sh", "", 0},
    {"a name that is not UTF-8, written and read",
     R"sh(name=$(printf 'caf\351.kvr'); "$K" generate --span 6 --height 1 --panels 1 --area 1 --e 1 --udl 1 -o "$D/$name" >/dev/null &&
        "$K" check "$D/$name" | tail -n1 && ls "$D" | grep -c "^$name\$" && ls "$D" | grep -c "^caf$(printf '\357\277\275')")sh",
     "consistent\n1\n0\n", 1},
    // The killed save's guardian removes the new file's temporary name; strace
    // returns once every process it followed has ended.
    {"a save killed at the rename leaves the earlier file whole and nothing beside it",
     R"sh(G="generate --span 6 --height 1 --panels 3 --area 1 --e 1 --udl 1"; cp "$D/t.kvr" "$D/old"; "$K" $G -o "$D/new" >/dev/null
        $KILLED "$K" $G -o "$D/t.kvr" 2>/dev/null; echo $?; ls -A "$D"; cmp -s "$D/t.kvr" "$D/old" || cmp -s "$D/t.kvr" "$D/new")sh",
     "137\nbig.kvr\nnew\nold\nt.kvr\n", 0, WITHOUT_STRACE},
    {"a save killed at the rename, without /proc (a hidden new file), leaves nothing beside the target",
     R"sh(G="generate --span 6 --height 1 --panels 3 --area 1 --e 1 --udl 1"; cp "$D/t.kvr" "$D/old"; "$K" $G -o "$D/new" >/dev/null
        unshare -m --propagation private sh -c 'umount -l /proc && exec "$0" "$@"' $KILLED "$K" $G -o "$D/t.kvr" 2>/dev/null; echo $?
        ls -A "$D"; cmp -s "$D/t.kvr" "$D/old" || cmp -s "$D/t.kvr" "$D/new")sh",
     "137\nbig.kvr\nnew\nold\nt.kvr\n", 0, WITHOUT_STRACE "; [ $(id -u) = 0 ] || echo hiding /proc needs root"},
};

class KvrtoolShell : public ::testing::TestWithParam<ShellCase> {
protected:
    void SetUp() override
    {
        RecordingSink sink;
        clsTruss truss(sink);
        apply(truss, windowStart(), dir.path() + QStringLiteral("/t.kvr"));
        ASSERT_EQ(truss.saveFile(), std::nullopt);
        TrussParameters big = windowStart();
        big.np = TrussParameters::largestPanelCount;
        apply(truss, big, dir.path() + QStringLiteral("/big.kvr"));
        ASSERT_EQ(truss.saveFile(), std::nullopt);
    }
    void TearDown() override { ::unlink(QFile::encodeName(dir.path()) + "/caf\xe9.kvr"); }  // a name QTemporaryDir cannot remove

    QTemporaryDir dir;
};

TEST_P(KvrtoolShell, KeepsItsWordInTheShell)
{
    const ShellCase& c = GetParam();
    if (c.cannot != nullptr) {
        QProcess check;
        check.start(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(c.cannot)});
        ASSERT_TRUE(check.waitForFinished(60000));
        if (const QString why = QString::fromUtf8(check.readAllStandardOutput()).trimmed(); !why.isEmpty())
            GTEST_SKIP() << why.toStdString();
    }
    QProcessEnvironment environment = inCLocale();
    environment.insert(QStringLiteral("K"), QStringLiteral(KVRTOOL));
    environment.insert(QStringLiteral("D"), dir.path());
    environment.insert(QStringLiteral("KILLED"), killedAtRename);
    QProcess shell;
    shell.setProcessEnvironment(environment);
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(c.script)});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(shell.readAllStandardError()), QString()) << "nothing said on the standard error";
    EXPECT_EQ(QString::fromUtf8(shell.readAllStandardOutput()), QString::fromLatin1(c.out));
    EXPECT_EQ(shell.exitCode(), c.status);
}

INSTANTIATE_TEST_SUITE_P(Kvrtool, KvrtoolShell, ::testing::ValuesIn(shellCases), ByRowName());

}  // namespace
