// Writing the truss file: what the model hands the save routine, and that a
// failure comes back to the caller untold. How the routine saves and fails,
// step by step, is tested in tests/savefile.
#include <gtest/gtest.h>

#include <optional>

#include <QDir>
#include <QTemporaryDir>

#include "TrussTestSupport.h"

namespace {

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// A longer earlier file ends as the window's start truss alone (7 panels:
// 1530 bytes and the header TrussFileTest finds for them), at the path as
// given, with nothing beside it.
TEST(TrussWriter, ReplacesALongerFileWithExactlyTheTrussFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no extension"));
    ASSERT_TRUE(writeAll(path, QByteArray(100000, 'x')));

    RecordingSink sink;
    clsTruss truss(sink);
    apply(truss, windowStart(), path);
    EXPECT_EQ(truss.saveFile(), std::nullopt);
    const QByteArray file = readAll(path);
    EXPECT_EQ(file.size(), 1530);
    EXPECT_EQ(file.left(6), QByteArray::fromHex("1e0010001e00"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("no extension")});
    EXPECT_TRUE(sink.messages.empty());
}

// The model tells nobody: the failure, its step and file, come back to the
// caller, which words it.
TEST(TrussWriter, AFailureIsReturnedUntoldAndWritesNothing)
{
    QTemporaryDir dir;
    RecordingSink sink;
    clsTruss truss(sink);
    apply(truss, windowStart(), dir.filePath(QStringLiteral("missing/truss.kvr")));

    const std::optional<atomicSave::Failure> failure = truss.saveFile();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->step, atomicSave::Step::CreateNewFile);
    EXPECT_EQ(failure->file, dir.filePath(QStringLiteral("missing")));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(entries(dir.path()), QStringList());
}

}  // namespace
