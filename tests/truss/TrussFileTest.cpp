// The truss file, byte for byte, as the analysis program reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include <QDir>
#include <QTemporaryDir>

#include "TrussTestSupport.h"

namespace {

class TrussFile : public ::testing::Test {
protected:
    QByteArray generate(const TrussParameters& input)
    {
        const QString path = dir.filePath(QStringLiteral("truss.kvr"));
        RecordingSink sink;
        clsTruss truss(sink);
        apply(truss, input, path);
        EXPECT_EQ(truss.saveFile(), std::nullopt);
        EXPECT_TRUE(sink.messages.empty());
        return readAll(path);
    }

    QTemporaryDir dir;
};

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

QByteArray bytesAt(const QByteArray& file, qsizetype offset, qsizetype count) { return file.mid(offset, count); }

struct SizeCase {
    std::int16_t np;
    const char* header;
    qsizetype size;
};

TEST_F(TrussFile, HeaderAndLengthFollowTheCounts)
{
    const SizeCase cases[] = {
        {1, "060004000600", 378},     {2, "090006000900", 534},     {3, "0e0008000e00", 762},
        {4, "11000a001100", 918},     {5, "16000c001600", 1146},    {7, "1e0010001e00", 1530},
        {8191, "fe7f0040fe7f", 1572858},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.np);
        TrussParameters input = windowStart();
        input.np = c.np;
        const QByteArray file = generate(input);
        EXPECT_EQ(bytesAt(file, 0, 6), hex(c.header));
        EXPECT_EQ(file.size(), c.size);
        // Row 0, column 0 of the node table opens the tables; member row
        // noMembers, column 8 closes the file. The builder leaves both 0.0.
        EXPECT_EQ(bytesAt(file, 6, 4), hex("00000000"));
        EXPECT_EQ(bytesAt(file, file.size() - 4, 4), hex("00000000"));
    }
}

// The worked example with four panels, L = 6, h = 1, w = 10: every byte.
TEST_F(TrussFile, FourPanelsMatchTheWorkedExampleExactly)
{
    TrussParameters input = windowStart();
    input.np = 4;
    input.btmE = 210.0f;
    input.btmA = 120.0f;
    input.topE = 200.0f;
    input.topA = 150.0f;
    input.webE = 190.0f;
    input.webA = 80.0f;
    const QByteArray file = generate(input);
    ASSERT_EQ(file.size(), 918);

    const int noNodes = 10, noMembers = 17;
    QByteArray expected(918, '\0');
    const auto node = [&](int row, int column, float value) {
        putSingle(expected, trussFile::nodeCellOffset(noNodes, row, column), value);
    };
    const auto member = [&](int row, int column, float value) {
        putSingle(expected, trussFile::memberCellOffset(noNodes, noMembers, row, column), value);
    };
    expected[0] = 0x11;
    expected[2] = 0x0a;
    expected[4] = 0x11;

    const float p = 1.5f, N = 15.0f;
    const float x[] = {0, p, 2 * p, 3 * p, 4 * p};
    for (int i = 0; i < 5; ++i) {
        node(1 + i, NodeColumn::X, x[i]);
        node(6 + i, NodeColumn::X, x[i]);
        node(6 + i, NodeColumn::Y, 1.0f);
        node(6 + i, NodeColumn::Load, (i == 0 || i == 4) ? -N / 2 : -N);
    }
    node(1, NodeColumn::Support, 1.0f);
    node(5, NodeColumn::Support, 2.0f);

    const std::pair<int, int> ends[] = {{1, 2}, {2, 3}, {3, 4}, {4, 5},  {6, 7},  {7, 8},  {8, 9},  {9, 10}, {1, 6},
                                        {2, 7}, {3, 8}, {4, 9}, {5, 10}, {6, 2}, {7, 3}, {9, 3}, {10, 4}};
    for (int m = 1; m <= noMembers; ++m) {
        member(m, MemberColumn::First, static_cast<float>(ends[m - 1].first));
        member(m, MemberColumn::Second, static_cast<float>(ends[m - 1].second));
        const bool bottom = m <= 4, top = m > 4 && m <= 8;
        member(m, MemberColumn::E, bottom ? 210.0f : top ? 200.0f : 190.0f);
        member(m, MemberColumn::A, bottom ? 120.0f : top ? 150.0f : 80.0f);
    }
    EXPECT_EQ(file.toHex(), expected.toHex());

    // The offsets the file description names.
    EXPECT_EQ(bytesAt(file, 230, 4), hex("0000803f"));
    EXPECT_EQ(bytesAt(file, 246, 4), hex("00000040"));
    EXPECT_EQ(bytesAt(file, 346, 4), hex("0000803f"));
    EXPECT_EQ(bytesAt(file, 418, 4), hex("00000040"));
}

// The window's start values: L = 6, h = 1, seven panels, w = 10.
TEST_F(TrussFile, DefaultWindowValuesGiveTheirStoredBytes)
{
    const TrussFileContent file = readBack(generate(windowStart()));
    ASSERT_EQ(file.size, 1530u);

    const float bottomX[] = {0.0f, 0.857142866f, 1.71428573f, 2.57142854f, 3.42857146f, 4.28571415f, 5.14285707f, 6.0f};
    for (int i = 1; i <= 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bitsOf(file.node(i, NodeColumn::X)), bitsOf(bottomX[i - 1]));
        EXPECT_EQ(bitsOf(file.node(i + 8, NodeColumn::X)), bitsOf(bottomX[i - 1]));
    }
    EXPECT_EQ(bitsOf(file.node(2, NodeColumn::X)), 0x3f5b6db7u);  // panel length
    EXPECT_EQ(bitsOf(file.node(8, NodeColumn::X)), 0x40c00000u);  // exactly 6.0
    EXPECT_EQ(bitsOf(file.node(9, NodeColumn::Load)), 0xc0892492u);
    EXPECT_EQ(bitsOf(file.node(16, NodeColumn::Load)), 0xc0892492u);
    for (int j = 10; j <= 15; ++j)
        EXPECT_EQ(bitsOf(file.node(j, NodeColumn::Load)), 0xc1092492u) << j;
}

TEST_F(TrussFile, SpanOf7Point7KeepsTheSingleProductsOfThePanelLength)
{
    TrussParameters input = windowStart();
    input.L = 7.7f;
    const TrussFileContent file = readBack(generate(input));
    EXPECT_EQ(bitsOf(file.node(2, NodeColumn::X)), bitsOf(1.10000002f));
    EXPECT_EQ(bitsOf(file.node(4, NodeColumn::X)), bitsOf(3.30000019f));
    EXPECT_EQ(bitsOf(file.node(8, NodeColumn::X)), bitsOf(7.70000029f));
    EXPECT_EQ(bitsOf(file.node(16, NodeColumn::X)), bitsOf(7.70000029f));
    EXPECT_NE(bitsOf(file.node(8, NodeColumn::X)), bitsOf(7.7f));
}

struct LoadCase {
    std::int32_t loadType;
    float value;
    float inner;
    float end;
};

TEST_F(TrussFile, LoadsActDownwardsWithHalfLoadsAtTheEnds)
{
    const LoadCase cases[] = {
        {clsTruss::uniformLoad, 10.0f, -15.0f, -7.5f},
        {clsTruss::pointLoads, 1.2f, -1.2f, -(1.2f / 2.0f)},
        {3, 1.2f, -1.2f, -(1.2f / 2.0f)},  // any code but 1 is taken as point loads
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.loadType);
        TrussParameters input = windowStart();
        input.np = 4;
        input.loadType = c.loadType;
        input.loadValue = c.value;
        const TrussFileContent file = readBack(generate(input));
        EXPECT_EQ(bitsOf(file.node(6, NodeColumn::Load)), bitsOf(c.end));
        EXPECT_EQ(bitsOf(file.node(10, NodeColumn::Load)), bitsOf(c.end));
        for (int j = 7; j <= 9; ++j)
            EXPECT_EQ(bitsOf(file.node(j, NodeColumn::Load)), bitsOf(c.inner)) << j;
        for (int i = 1; i <= 5; ++i)
            EXPECT_EQ(file.node(i, NodeColumn::Load), 0.0f) << i;
    }
}

using Ends = std::vector<std::pair<int, int>>;

Ends chordsAndVerticals(int np)
{
    Ends ends;
    for (int k = 1; k <= np; ++k)
        ends.emplace_back(k, k + 1);
    for (int k = 1; k <= np; ++k)
        ends.emplace_back(np + 1 + k, np + 2 + k);
    for (int v = 1; v <= np + 1; ++v)
        ends.emplace_back(v, np + 1 + v);
    return ends;
}

Ends withDiagonals(int np, const Ends& diagonals)
{
    Ends ends = chordsAndVerticals(np);
    ends.insert(ends.end(), diagonals.begin(), diagonals.end());
    return ends;
}

TEST_F(TrussFile, MembersJoinTheirNodesAndCarryTheirGroupsProperties)
{
    const std::pair<std::int16_t, Ends> cases[] = {
        {1, withDiagonals(1, {{3, 2}, {4, 1}})},
        {2, withDiagonals(2, {{4, 2}, {6, 2}})},
        {3, withDiagonals(3, {{5, 2}, {6, 3}, {7, 2}, {8, 3}})},
        {4, withDiagonals(4, {{6, 2}, {7, 3}, {9, 3}, {10, 4}})},
        {5, withDiagonals(5, {{7, 2}, {8, 3}, {9, 2}, {10, 3}, {11, 4}, {12, 5}})},
        {7, withDiagonals(7, {{9, 2}, {10, 3}, {11, 4}, {12, 5}, {13, 4}, {14, 5}, {15, 6}, {16, 7}})},
        {9, withDiagonals(9, {{11, 2}, {12, 3}, {13, 4}, {14, 5}, {15, 4}, {16, 5}, {17, 6}, {18, 7}, {19, 8}, {20, 9}})},
    };
    for (const auto& [np, ends] : cases) {
        SCOPED_TRACE(np);
        TrussParameters input = windowStart();
        input.np = np;
        input.btmE = 1.0f;
        input.btmA = 2.0f;
        input.topE = 3.0f;
        input.topA = 4.0f;
        input.webE = 5.0f;
        input.webA = 6.0f;
        const TrussFileContent file = readBack(generate(input));
        EXPECT_EQ(file.noMembers, static_cast<int>(ends.size()));
        for (int m = 1; m <= std::min<int>(file.noMembers, static_cast<int>(ends.size())); ++m) {
            SCOPED_TRACE(m);
            EXPECT_EQ(file.member(m, MemberColumn::First), static_cast<float>(ends[m - 1].first));
            EXPECT_EQ(file.member(m, MemberColumn::Second), static_cast<float>(ends[m - 1].second));
            const float group = m <= np ? 1.0f : m <= 2 * np ? 3.0f : 5.0f;
            EXPECT_EQ(file.member(m, MemberColumn::E), group);
            EXPECT_EQ(file.member(m, MemberColumn::A), group + 1.0f);
        }
    }
}

}  // namespace
