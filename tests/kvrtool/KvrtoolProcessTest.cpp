// kvrtool as the shell runs it: what only the whole program decides, its
// answer to a file-size limit and to a standard output that cannot be written.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

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
    const char* message;    // on the standard error
};

const QString generate = QStringLiteral("generate --span 6 --height 1 --panels 1000 --area 100 --e 205 --udl 10");

const ProcessCase processCases[] = {
    {"generate under a file-size limit", "1", (generate + QStringLiteral(" -o DIR/big.kvr")).split(u' '), nullptr,
     "kvrtool: Error while saving file DIR/big.kvr: File too large"},
    {"draw a PNG under a file-size limit", "1", {"draw", "DIR/t.kvr", "-o", "DIR/t.png"}, nullptr,
     "kvrtool: cannot write DIR/t.png: File too large"},
    {"generate onto a FIFO", nullptr, (generate + QStringLiteral(" -o DIR/fifo")).split(u' '), nullptr,
     "kvrtool: Error while saving file DIR/fifo: Not a regular file"},
    {"show into a full disk", nullptr, {"show", "--csv", "DIR/t.kvr"}, "full",
     "kvrtool: cannot write the standard output: No space left on device"},
};

TEST(KvrtoolProcess, FailuresToWriteExitWith2AndSaySo)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    const QByteArray folder = QFile::encodeName(d);
    ASSERT_EQ(::mkfifo(folder + "/fifo", 0644), 0);
    // A copy of the full device, as root (so in CI).
    const bool full = ::mknod(folder + "/full", S_IFCHR | 0666, makedev(1, 7)) == 0;
    RecordingSink sink;
    clsTruss truss(sink);
    apply(truss, windowStart(), d + QStringLiteral("/t.kvr"));
    ASSERT_EQ(truss.saveFile(), std::nullopt);
    const QStringList before = QDir(d).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    for (const ProcessCase& c : processCases) {
        SCOPED_TRACE(c.name);
        if (c.output != nullptr && !full)
            continue;
        QStringList arguments = c.arguments;
        arguments.replaceInStrings(QStringLiteral("DIR"), d);
        // The shell sets the limit and becomes kvrtool, whose own start must
        // turn the limit's signal into a failure it reports.
        const QString limit = c.limit ? QStringLiteral("ulimit -f %1 && ").arg(QString::fromLatin1(c.limit)) : QString();
        arguments.prepend(QStringLiteral(KVRTOOL));
        arguments.prepend(limit + QStringLiteral("exec \"$0\" \"$@\""));
        arguments.prepend(QStringLiteral("-c"));
        QProcess tool;
        if (c.output != nullptr)
            tool.setStandardOutputFile(d + u'/' + QString::fromLatin1(c.output));
        tool.start(QStringLiteral("sh"), arguments);
        ASSERT_TRUE(tool.waitForFinished(60000));

        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tool.exitCode(), 2);
        const QString err = QString::fromLocal8Bit(tool.readAllStandardError());
        EXPECT_TRUE(err.contains(QString::fromLatin1(c.message).replace(QStringLiteral("DIR"), d))) << err.toStdString();
        EXPECT_EQ(QDir(d).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before) << "nothing left behind";
    }
}

}  // namespace
