// The node and member tables of the Pratt truss, and how the builder fails.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <set>

#include <QDir>
#include <QTemporaryDir>

#include "TrussTestSupport.h"
#include "kvrfile/TrussFile.h"

namespace {

void checkWellFormed(const clsTruss& truss)
{
    const int np = truss.np();
    const int noNodes = truss.noNodes(), noMembers = truss.noMembers();
    ASSERT_EQ(noNodes, 2 * np + 2);
    ASSERT_EQ(noMembers, 4 * np + 1 + (np % 2));
    ASSERT_EQ(truss.noMax(), std::max(noNodes, noMembers));
    const SingleTable& nodes = truss.nodes();
    const SingleTable& members = truss.members();
    ASSERT_EQ(nodes.rows(), static_cast<std::size_t>(noNodes + 1));
    ASSERT_EQ(members.rows(), static_cast<std::size_t>(noMembers + 1));

    for (int c = 0; c < static_cast<int>(trussFile::nodeColumns); ++c)
        EXPECT_EQ(nodes(0, c), 0.0f);
    for (int c = 0; c < static_cast<int>(trussFile::memberColumns); ++c)
        EXPECT_EQ(members(0, c), 0.0f);
    for (int r = 1; r <= noNodes; ++r) {
        for (const int c : NodeColumn::unused)
            EXPECT_EQ(nodes(r, c), 0.0f);
        const float support = r == 1 ? 1.0f : r == np + 1 ? 2.0f : 0.0f;
        EXPECT_EQ(nodes(r, NodeColumn::Support), support) << "node " << r;
        if (r <= np + 1)
            EXPECT_EQ(nodes(r, NodeColumn::Load), 0.0f) << "bottom node " << r;
        else
            EXPECT_EQ(nodes(r, NodeColumn::X), nodes(r - np - 1, NodeColumn::X)) << "top node " << r << " stands above its bottom node";
    }

    std::set<std::pair<int, int>> seen;
    std::vector<int> degree(static_cast<std::size_t>(noNodes) + 1, 0);
    for (int m = 1; m <= noMembers; ++m) {
        const int first = static_cast<int>(members(m, MemberColumn::First));
        const int second = static_cast<int>(members(m, MemberColumn::Second));
        for (const int c : MemberColumn::unused)
            EXPECT_EQ(members(m, c), 0.0f);
        EXPECT_NE(first, second) << "member " << m;
        EXPECT_TRUE(first >= 1 && first <= noNodes && second >= 1 && second <= noNodes) << "member " << m;
        EXPECT_TRUE(seen.insert(std::minmax(first, second)).second) << "member " << m << " repeats another";
        if (first >= 1 && first <= noNodes && second >= 1 && second <= noNodes) {
            ++degree[static_cast<std::size_t>(first)];
            ++degree[static_cast<std::size_t>(second)];
        }
    }
    for (int n = 1; n <= noNodes; ++n)
        EXPECT_GE(degree[static_cast<std::size_t>(n)], 2) << "node " << n;
}

TEST(PrattBuilder, EveryPanelCountGivesAWellFormedTruss)
{
    RecordingSink sink;
    clsTruss truss(sink);
    TrussParameters input = windowStart();
    for (std::int16_t np : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 31, 32, 33, 100, 101, 8190, 8191}) {
        SCOPED_TRACE(np);
        input.np = np;
        apply(truss, input, {});
        truss.generate();
        checkWellFormed(truss);
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST(PrattBuilder, DerivedValuesOfTheWorkedExample)
{
    RecordingSink sink;
    clsTruss truss(sink);
    TrussParameters input = windowStart();
    input.np = 4;
    apply(truss, input, {});
    truss.generate();
    EXPECT_EQ(truss.panelLength(), 1.5f);
    EXPECT_EQ(truss.nodeLoad(), 15.0f);
    EXPECT_EQ(truss.noMax(), 17);
}

struct FailureCase {
    const char* name;
    std::int16_t np;
    float L;
    std::int32_t loadType;
    float loadValue;
    TrussBuildError::Kind kind;
    TrussBuildError::Cause cause;
    std::size_t nodeRowsAfter;  // 0: the node table was never created
};

using Kind = TrussBuildError::Kind;
using Cause = TrussBuildError::Cause;

const FailureCase failures[] = {
    {"no panels", 0, 6.0f, 1, 10.0f, Kind::DivisionByZero, Cause::PanelCount, 0},
    {"no panels, no span", 0, 0.0f, 1, 10.0f, Kind::DivisionByZero, Cause::PanelCount, 0},
    {"-1 panels", -1, 6.0f, 1, 10.0f, Kind::TableCreation, Cause::PanelCount, 1},
    {"-2 panels", -2, 6.0f, 1, 10.0f, Kind::TableCreation, Cause::PanelCount, 0},
    {"-8192 panels", -8192, 6.0f, 1, 10.0f, Kind::TableCreation, Cause::PanelCount, 0},
    {"-8193 panels", -8193, 6.0f, 1, 10.0f, Kind::Overflow, Cause::PanelCount, 0},
    {"-32768 panels", -32768, 6.0f, 1, 10.0f, Kind::Overflow, Cause::PanelCount, 0},
    {"8192 panels", 8192, 6.0f, 1, 10.0f, Kind::Overflow, Cause::PanelCount, 0},
    {"16383 panels", 16383, 6.0f, 1, 10.0f, Kind::Overflow, Cause::PanelCount, 0},
    {"32767 panels", 32767, 6.0f, 1, 10.0f, Kind::Overflow, Cause::PanelCount, 0},
    {"w times panel length", 1, 3.4e38f, 1, 10.0f, Kind::Overflow, Cause::Load, 5},
    {"x coordinate", 25, FLT_MAX, 2, 1.0f, Kind::Overflow, Cause::Span, 53},
};

TEST(PrattBuilder, FailuresAreThrownWithTheirKindAndWriteNothing)
{
    for (const FailureCase& c : failures) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString existing = dir.filePath(QStringLiteral("existing.kvr"));
        EXPECT_TRUE(writeAll(existing, "what the user had"));
        for (const QString& path : {existing, dir.filePath(QStringLiteral("new.kvr"))}) {
            RecordingSink sink;
            clsTruss truss(sink);
            TrussParameters input = windowStart();
            input.np = c.np;
            input.L = c.L;
            input.loadType = c.loadType;
            input.loadValue = c.loadValue;
            apply(truss, input, path);
            try {
                truss.saveFile();
                ADD_FAILURE() << "no failure";
            } catch (const TrussBuildError& e) {
                EXPECT_EQ(e.kind(), c.kind);
                EXPECT_EQ(e.cause(), c.cause);
            }
            EXPECT_TRUE(sink.messages.empty());
            EXPECT_EQ(truss.nodes().rows(), c.nodeRowsAfter);
            EXPECT_EQ(truss.noMax(), 0) << "noMax is set only by a build that succeeds";
        }
        EXPECT_EQ(readAll(existing), QByteArray("what the user had"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("existing.kvr")});
    }
}

TEST(PrattBuilder, LoadOverflowLeavesTheSupportCodesAndNoCoordinate)
{
    RecordingSink sink;
    clsTruss truss(sink);
    TrussParameters input = windowStart();
    input.np = 4;
    input.L = 3.0e38f;
    input.loadValue = 100.0f;
    apply(truss, input, {});
    EXPECT_THROW(truss.generate(), TrussBuildError);
    EXPECT_EQ(truss.nodes()(1, NodeColumn::Support), 1.0f);
    EXPECT_EQ(truss.nodes()(5, NodeColumn::Support), 2.0f);
    EXPECT_EQ(truss.nodes()(2, NodeColumn::X), 0.0f);
}

// Inputs are not validated: zero and negative values go into the tables.
TEST(PrattBuilder, ZeroSpanAndHeightAreBuiltAsGiven)
{
    RecordingSink sink;
    clsTruss truss(sink);
    TrussParameters input = windowStart();
    input.L = 0.0f;
    input.h = 0.0f;
    input.topA = -5.0f;
    apply(truss, input, {});
    truss.generate();
    for (int n = 1; n <= truss.noNodes(); ++n) {
        EXPECT_EQ(truss.nodes()(n, NodeColumn::X), 0.0f);
        EXPECT_EQ(truss.nodes()(n, NodeColumn::Y), 0.0f);
    }
    EXPECT_EQ(truss.members()(8, MemberColumn::A), -5.0f);
}

TEST(PrattBuilder, NonFiniteInputsAreRefused)
{
    const std::pair<const char*, void (*)(TrussParameters&)> cases[] = {
        {"height", [](TrussParameters& in) { in.h = NAN; }},
        {"span", [](TrussParameters& in) { in.L = INFINITY; }},
        {"load", [](TrussParameters& in) { in.loadValue = NAN; }},
        {"web E", [](TrussParameters& in) { in.webE = -INFINITY; }},
        {"bottom area", [](TrussParameters& in) { in.btmA = NAN; }},
    };
    for (const auto& [name, spoil] : cases) {
        SCOPED_TRACE(name);
        RecordingSink sink;
        clsTruss truss(sink);
        TrussParameters input = windowStart();
        spoil(input);
        apply(truss, input, {});
        EXPECT_THROW(truss.generate(), TrussBuildError);
    }
}

TEST(TrussObject, OtherConfigurationsAreAnnouncedAndStillWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("other.kvr"));

    // A new object with nothing but a path: counts 0, and the row 0 of each
    // table that those counts call for.
    {
        RecordingSink sink;
        clsTruss truss(sink);
        truss.setOpenfile(path);
        EXPECT_EQ(truss.saveFile(), std::nullopt);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].text, QStringLiteral("No such generator yet available"));
        EXPECT_EQ(sink.messages[0].icon, MessageIcon::Information);
        const QByteArray bytes = readAll(path);
        EXPECT_EQ(bytes, QByteArray(66, '\0'));
        EXPECT_EQ(readBack(bytes).expectedSize, static_cast<std::uint64_t>(bytes.size()));
    }

    // A configuration no type has, after a build: the earlier tables stay and are written.
    {
        RecordingSink sink;
        clsTruss truss(sink);
        TrussParameters input = windowStart();
        input.np = 4;
        apply(truss, input, path);
        ASSERT_EQ(truss.saveFile(), std::nullopt);
        const QByteArray built = readAll(path);
        truss.setConfig(99);
        truss.setNp(9);
        ASSERT_EQ(truss.saveFile(), std::nullopt);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(readAll(path), built);
    }
}

TEST(TrussObject, EverySaveBuildsAnewFromTheCurrentProperties)
{
    QTemporaryDir dir;
    const QString reused = dir.filePath(QStringLiteral("reused.kvr"));
    const QString fresh = dir.filePath(QStringLiteral("fresh.kvr"));
    RecordingSink sink;
    clsTruss truss(sink);
    TrussParameters input = windowStart();
    for (std::int16_t np : {9, 2, 7}) {
        SCOPED_TRACE(np);
        input.np = np;
        apply(truss, input, reused);
        EXPECT_EQ(truss.saveFile(), std::nullopt);
        clsTruss once(sink);
        apply(once, input, fresh);
        EXPECT_EQ(once.saveFile(), std::nullopt);
        EXPECT_EQ(readAll(reused), readAll(fresh));
        EXPECT_EQ(truss.members().rows(), static_cast<std::size_t>(truss.noMembers() + 1));
    }
    EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
