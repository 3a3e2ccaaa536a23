// Writing the truss file: replacing what is there, and every way it can fail.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include <QDir>
#include <QTemporaryDir>

#include "FileSizeLimit.h"
#include "TrussTestSupport.h"

namespace {

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

QByteArray defaultTrussBytes(const QString& path)
{
    RecordingSink sink;
    clsTruss truss(sink);
    apply(truss, windowStart(), path);
    EXPECT_EQ(truss.saveFile(), std::nullopt);
    return readAll(path);
}

TEST(TrussWriter, ReplacesALongerFileWithExactlyTheNewContent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.kvr"));
    const QByteArray expected = defaultTrussBytes(dir.filePath(QStringLiteral("reference.kvr")));
    ASSERT_TRUE(writeAll(path, QByteArray(100000, 'x')));

    RecordingSink sink;
    clsTruss truss(sink);
    apply(truss, windowStart(), path);
    EXPECT_EQ(truss.saveFile(), std::nullopt);
    EXPECT_EQ(readAll(path), expected);
    EXPECT_EQ(entries(dir.path()), (QStringList{QStringLiteral("old.kvr"), QStringLiteral("reference.kvr")}));
}

TEST(TrussWriter, UsesThePathUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no extension"));
    defaultTrussBytes(path);
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("no extension")});
}

// Limits the size of any file this process writes, for one scope. Holds for
// root too, unlike permissions.
struct WriteFailure {
    const char* name;
    QString (*prepare)(const QString& dir);  // returns the path to write to
    rlim_t sizeLimit;                        // 0: none
    std::int16_t np;
    int error;  // the error whose words the failure gives; 0: there is no file name
};

const WriteFailure writeFailures[] = {
    {"empty path", [](const QString&) { return QString(); }, 0, 7, 0},
    {"missing folder", [](const QString& d) { return d + QStringLiteral("/missing/truss.kvr"); }, 0, 7, ENOENT},
    {"path is a folder",
     [](const QString& d) {
         QDir(d).mkdir(QStringLiteral("folder.kvr"));
         return d + QStringLiteral("/folder.kvr");
     },
     0, 7, EISDIR},
    {"parent is a file",
     [](const QString& d) {
         writeAll(d + QStringLiteral("/plain"), "a file, not a folder");
         return d + QStringLiteral("/plain/truss.kvr");
     },
     0, 7, ENOTDIR},
    {"file-size limit over an earlier file",
     [](const QString& d) {
         writeAll(d + QStringLiteral("/earlier.kvr"), "the earlier truss");
         return d + QStringLiteral("/earlier.kvr");
     },
     100000, 8191, EFBIG},
    {"file-size limit on the last flush", [](const QString& d) { return d + QStringLiteral("/small.kvr"); }, 1000, 7, EFBIG},
};

class TrussWriterFailure : public ::testing::TestWithParam<WriteFailure> {};

// The model tells nobody: the failure comes back to the caller, which words it.
TEST_P(TrussWriterFailure, IsReturnedInTheSystemsWordsAndLeavesTheDiskAsItWas)
{
    const WriteFailure& c = GetParam();
    QTemporaryDir dir;
    const QString path = c.prepare(dir.path());
    const QStringList before = entries(dir.path());
    const QByteArray earlier = readAll(path);

    RecordingSink sink;
    clsTruss truss(sink);
    TrussParameters input = windowStart();
    input.np = c.np;
    apply(truss, input, path);
    std::optional<atomicSave::Failure> failure;
    if (c.sizeLimit != 0) {
        const FileSizeLimit limit(c.sizeLimit);
        failure = truss.saveFile();
    } else {
        failure = truss.saveFile();
    }

    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->description,
              c.error == 0 ? QStringLiteral("No file name specified") : QString::fromLocal8Bit(std::strerror(c.error)));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(entries(dir.path()), before) << "no temporary or half-written file stays behind";
    EXPECT_EQ(readAll(path), earlier);
}

INSTANTIATE_TEST_SUITE_P(TrussWriter, TrussWriterFailure, ::testing::ValuesIn(writeFailures), ByRowName());

}  // namespace
