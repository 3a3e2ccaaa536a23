// kvrtool: generate, show, check, solve, draw and sections, through its own entry point.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "KvrtoolRun.h"
#include "TrussTestSupport.h"
#include "kvrfile/TrussFile.h"
#include "truss/TrussTypes.h"

namespace {

class Kvrtool : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // The default truss of the window, written by the truss object itself.
    QString defaultFile()
    {
        const QString file = path(QStringLiteral("default.kvr"));
        RecordingSink sink;
        clsTruss truss(sink);
        apply(truss, windowStart(), file);
        EXPECT_EQ(truss.saveFile(), std::nullopt);
        return file;
    }

    // The default file, spoilt by spoil, written to name.
    QString damagedCopy(void (*spoil)(QByteArray&), const QString& name)
    {
        QByteArray bytes = readAll(defaultFile());
        spoil(bytes);
        const QString file = path(name);
        EXPECT_TRUE(writeAll(file, bytes));
        return file;
    }

    QTemporaryDir dir;
};

QStringList generateArguments(int np, bool uniform, const QString& output)
{
    return {QStringLiteral("generate"), QStringLiteral("--span"), QStringLiteral("6"), QStringLiteral("--height"),
            QStringLiteral("1"), QStringLiteral("--panels"), QString::number(np), QStringLiteral("--area"),
            QStringLiteral("100"), QStringLiteral("--e"), QStringLiteral("205"),
            uniform ? QStringLiteral("--udl") : QStringLiteral("--point-load"), uniform ? QStringLiteral("10") : QStringLiteral("1.2"),
            QStringLiteral("-o"), output};
}

TEST_F(Kvrtool, GeneratedFilesShowAndCheckClean)
{
    QList<int> panelCounts;
    for (int np = 1; np <= 12; ++np)
        panelCounts << np;
    panelCounts << 8191;
    for (const int np : panelCounts) {
        for (const bool uniform : {true, false}) {
            SCOPED_TRACE(testing::Message() << np << (uniform ? " panels, UDL" : " panels, point loads"));
            const QString file = path(QStringLiteral("round.kvr"));
            const ToolRun generated = kvrtool(generateArguments(np, uniform, file));
            EXPECT_EQ(generated.status, 0) << generated.err.toStdString();

            const int noNodes = 2 * np + 2, noMembers = 4 * np + 1 + np % 2;
            const ToolRun shown = kvrtool({QStringLiteral("show"), file});
            EXPECT_EQ(shown.status, 0) << shown.err.toStdString();
            EXPECT_TRUE(shown.out.contains(
                QStringLiteral("counts: noMax %1, noNodes %2, noMembers %1\n").arg(noMembers).arg(noNodes)));
            EXPECT_TRUE(shown.out.contains(QStringLiteral("as the counts call for")));
            EXPECT_EQ(shown.out.count(QStringLiteral("diagonal\n")), np % 2 == 1 ? np + 1 : np);

            const ToolRun csv = kvrtool({QStringLiteral("show"), QStringLiteral("--csv"), file});
            EXPECT_EQ(csv.out.count(u'\n'), 1 + noNodes + 1 + 1 + noMembers);

            const ToolRun checked = kvrtool({QStringLiteral("check"), file});
            EXPECT_EQ(checked.status, 0) << checked.out.toStdString();
            EXPECT_TRUE(checked.out.endsWith(QStringLiteral("consistent\n")));
            EXPECT_TRUE(checked.out.contains(np % 2 == 0 ? QStringLiteral("statically determinate")
                                                         : QStringLiteral("1 member redundant")))
                << checked.out.toStdString();
        }
    }
}

TEST_F(Kvrtool, StaticsOfTheDefaultTruss)
{
    const ToolRun checked = kvrtool({QStringLiteral("check"), defaultFile()});
    EXPECT_EQ(checked.status, 0);
    EXPECT_TRUE(checked.out.contains(QStringLiteral(
        "node loads: -60 kN in total on 8 nodes, spread evenly: -8.57143 kN every 0.857143 m, half of it at both ends\n")))
        << checked.out.toStdString();
    EXPECT_TRUE(checked.out.contains(QStringLiteral("support reactions: 30 kN at node 1 (pin), 30 kN at node 8 (roller)")));
    EXPECT_TRUE(checked.out.contains(QStringLiteral("m + r = 30 + 3 = 33, 2j = 32: statically indeterminate, 1 member redundant")));
}

TEST_F(Kvrtool, GenerateWritesTheSameBytesAsTheTrussObject)
{
    TrussParameters input = windowStart();
    input.np = 5;
    input.L = 7.7f;
    input.h = 1.25f;
    input.topA = 120.0f;
    input.btmA = 90.0f;
    input.webA = 60.0f;
    input.topE = 200.0f;
    input.btmE = 210.0f;
    input.webE = 70.0f;
    input.loadType = clsTruss::pointLoads;
    input.loadValue = 3.3f;
    const QString expected = path(QStringLiteral("object.kvr"));
    RecordingSink sink;
    clsTruss truss(sink);
    apply(truss, input, expected);
    ASSERT_EQ(truss.saveFile(), std::nullopt);

    const QString file = path(QStringLiteral("tool.kvr"));
    const ToolRun run = kvrtool({QStringLiteral("generate"), QStringLiteral("--span=7.7"), QStringLiteral("--height=1.25"),
                             QStringLiteral("--panels=5"), QStringLiteral("--e=205"), QStringLiteral("--top-area=120"),
                             QStringLiteral("--btm-area=90"), QStringLiteral("--web-area=60"), QStringLiteral("--top-e=200"),
                             QStringLiteral("--btm-e=210"), QStringLiteral("--web-e=70"), QStringLiteral("--point-load=3.3"),
                             QStringLiteral("-o"), file});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(readAll(file), readAll(expected));
}

struct Damage {
    const char* name;
    void (*spoil)(QByteArray&);
    const char* finding;
    int unreadableTables = 0;  // show's and draw's exit status: 1 when the tables cannot be read
};

// Offsets in the default file: 16 nodes, 30 members.
std::uint64_t nodeCell(int r, int c) { return trussFile::nodeCellOffset(16, r, c); }
std::uint64_t memberCell(int r, int c) { return trussFile::memberCellOffset(16, 30, r, c); }

const Damage damages[] = {
    {"truncated", [](QByteArray& b) { b.chop(4); }, "file: 1526 bytes, but the counts (16 nodes, 30 members) call for 1530: the file is truncated", 1},
    {"bytes after the tables", [](QByteArray& b) { b.append("xx"); }, "bytes follow the member table"},
    {"wrong noMax", [](QByteArray& b) { b[0] = 5; }, "file: noMax is 5, not the larger count 30"},
    {"wrong node count", [](QByteArray& b) { b[2] = 15; }, "call for 1506"},
    {"member at node 0", [](QByteArray& b) { putSingle(b, memberCell(23, MemberColumn::First), 0.0f); }, "member 23: joins node 0 and node 2"},
    {"member beyond the nodes", [](QByteArray& b) { putSingle(b, memberCell(3, MemberColumn::Second), 17.0f); }, "member 3: joins node 3 and node 17"},
    {"NaN", [](QByteArray& b) { putSingle(b, nodeCell(3, NodeColumn::X), NAN); }, "node 3: column 1 is not a finite number"},
    {"duplicate member", [](QByteArray& b) { putSingle(b, memberCell(2, MemberColumn::First), 1.0f); putSingle(b, memberCell(2, MemberColumn::Second), 2.0f); },
     "member 2: joins nodes 1 and 2, as member 1 does"},
    {"member to itself", [](QByteArray& b) { putSingle(b, memberCell(5, MemberColumn::Second), 5.0f); }, "member 5: joins node 5 to itself"},
    {"unused column", [](QByteArray& b) { putSingle(b, memberCell(7, 6), 1.5f); }, "member 7: column 6 holds 1.5, not 0"},
    {"row 0", [](QByteArray& b) { putSingle(b, nodeCell(0, NodeColumn::Y), 1.0f); }, "node 0: column 2 holds 1, not 0"},
    {"two pins", [](QByteArray& b) { putSingle(b, nodeCell(4, NodeColumn::Support), 1.0f); }, "file: 2 nodes carry support code 1"},
    {"no roller", [](QByteArray& b) { putSingle(b, nodeCell(8, NodeColumn::Support), 0.0f); }, "file: 0 nodes carry support code 2"},
    {"loose node", [](QByteArray& b) { putSingle(b, memberCell(15, MemberColumn::First), 3.0f); }, "node 1: is on 1 member"},
    {"counts of one", [](QByteArray& b) { b[0] = b[2] = b[4] = 1; }, "file: 1530 bytes, but the counts (1 node, 1 member) call for "},
};

TEST_F(Kvrtool, CheckFindsEachDefect)
{
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        const QString file = damagedCopy(damage.spoil, QStringLiteral("damaged.kvr"));
        const ToolRun checked = kvrtool({QStringLiteral("check"), file});
        EXPECT_EQ(checked.status, 1);
        EXPECT_TRUE(checked.out.contains(QString::fromUtf8(damage.finding))) << checked.out.toStdString();
        EXPECT_FALSE(checked.out.contains(QStringLiteral("consistent")));

        // show and draw read the same file without crashing, and refuse it
        // only when its tables cannot be read.
        const ToolRun shown = kvrtool({QStringLiteral("show"), file});
        EXPECT_EQ(shown.status, damage.unreadableTables);
        const ToolRun drawn = kvrtool({QStringLiteral("draw"), file, QStringLiteral("-o"), path(QStringLiteral("d.svg"))});
        EXPECT_EQ(drawn.status, damage.unreadableTables);
    }
}

// check and show say why they cannot read the file, and exit with status 2.
void expectUnreadable(const QString& file, const QString& message)
{
    for (const char* command : {"check", "show"}) {
        SCOPED_TRACE(testing::Message() << command << ' ' << file.toStdString());
        const ToolRun run = kvrtool({QString::fromLatin1(command), file});
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
    }
}

const QString tooLong = QStringLiteral("holds more than 1966086 bytes, the most that the counts of a truss file can call for");

TEST_F(Kvrtool, UnreadableFilesExitWith2)
{
    ASSERT_TRUE(writeAll(path(QStringLiteral("short.kvr")), "abcd"));
    ASSERT_TRUE(writeAll(path(QStringLiteral("one.kvr")), "a"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.kvr")));
    QFile huge(path(QStringLiteral("huge.kvr")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64{trussFile::largestFileSize} + 1));
    const std::pair<QString, QString> cases[] = {
        {path(QStringLiteral("short.kvr")), QStringLiteral("the file holds 4 bytes, fewer than the 6 of its header")},
        {path(QStringLiteral("one.kvr")), QStringLiteral("the file holds 1 byte, fewer than the 6 of its header")},
        {path(QStringLiteral("missing.kvr")), QStringLiteral("cannot open")},
        {path(QStringLiteral("folder.kvr")), QStringLiteral("it is a folder")},
        {path(QStringLiteral("huge.kvr")), tooLong},
        {QStringLiteral("/proc/self/mem"),
         QStringLiteral("cannot read /proc/self/mem: ") + QString::fromLocal8Bit(std::strerror(EIO))},
    };
    for (const auto& [file, message] : cases)
        expectUnreadable(file, message);
}

TEST_F(Kvrtool, DrawWritesAWellFormedSvgOfEveryMemberAndNode)
{
    for (const int np : {1, 4, 7}) {
        SCOPED_TRACE(np);
        const QString file = path(QStringLiteral("t.kvr"));
        EXPECT_EQ(kvrtool(generateArguments(np, true, file)).status, 0);
        const QString svg = path(QStringLiteral("t.svg"));
        const ToolRun drawn = kvrtool({QStringLiteral("draw"), file, QStringLiteral("-o"), svg});
        EXPECT_EQ(drawn.status, 0) << drawn.err.toStdString();

        QXmlStreamReader xml(readAll(svg));
        QMap<QString, int> counted;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement)
                counted[xml.name().toString() + u'/' + xml.attributes().value(QStringLiteral("class")).toString()]++;
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        int members = 0;
        for (auto it = counted.cbegin(); it != counted.cend(); ++it)
            if (it.key().startsWith(QStringLiteral("line/member ")))
                members += it.value();
        EXPECT_EQ(members, 4 * np + 1 + np % 2);
        EXPECT_EQ(counted.value(QStringLiteral("line/member bottom-chord")), np);
        EXPECT_EQ(counted.value(QStringLiteral("line/member vertical")), np + 1);
        EXPECT_EQ(counted.value(QStringLiteral("circle/node")), 2 * np + 2);
        EXPECT_EQ(counted.value(QStringLiteral("text/node-number")), 2 * np + 2);
        EXPECT_EQ(counted.value(QStringLiteral("text/member-number")), members);
        EXPECT_EQ(counted.value(QStringLiteral("polygon/support pin")), 1);
        EXPECT_EQ(counted.value(QStringLiteral("polygon/support roller")), 1);
        EXPECT_EQ(counted.value(QStringLiteral("line/load")), np + 1);
        EXPECT_EQ(counted.value(QStringLiteral("text/dimension-value")), 2);
    }

    const QString png = path(QStringLiteral("t.png"));
    ASSERT_EQ(kvrtool({QStringLiteral("draw"), path(QStringLiteral("t.kvr")), QStringLiteral("-o"), png}).status, 0);
    const QImage image(png);
    EXPECT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 1000);
}

struct OptionCase {
    const char* name;
    QStringList change;  // options replacing or added to the valid set
    QStringList remove;
    int status;
    const char* message;
};

TEST_F(Kvrtool, GenerateNamesTheOptionToFix)
{
    const QString output = path(QStringLiteral("out.kvr"));
    const OptionCase cases[] = {
        {"missing span", {}, {"--span"}, 1, "--span is missing"},
        {"missing output", {}, {"-o"}, 1, "--output is missing"},
        {"malformed span", {"--span", "six"}, {"--span"}, 1, "--span: expected a number, got 'six'"},
        {"decimal comma", {"--height", "1,5"}, {"--height"}, 1, "--height: expected a number, got '1,5'"},
        {"beyond double", {"--span", "1e400"}, {"--span"}, 1, "--span: 1e400 is too large for a Single (at most 3.4E+38)"},
        {"malformed panels", {"--panels", "seven"}, {"--panels"}, 1, "--panels: expected a number, got 'seven'"},
        {"no span", {"--span", "0"}, {"--span"}, 1, "--span: expected a number greater than 0, got '0'"},
        {"no height", {"--height", "0"}, {"--height"}, 1, "--height: expected a number greater than 0, got '0'"},
        {"no area", {"--area", "0"}, {"--area"}, 1, "--area: expected a number greater than 0, got '0'"},
        {"negative E", {"--e", "-205"}, {"--e"}, 1, "--e: expected a number greater than 0, got '-205'"},
        {"negative web E", {"--web-e", "-1"}, {}, 1, "--web-e: expected a number greater than 0, got '-1'"},
        {"span below Single", {"--span", "1e-50"}, {"--span"}, 1, "--span: 1e-50 rounds to 0 as a Single"},
        {"panels below Single", {"--span", "1e-44", "--panels", "8191"}, {"--span", "--panels"}, 1,
         "--span: the panel length L/N rounds to 0 as a Single"},
        {"no panels", {"--panels", "0"}, {"--panels"}, 1, "--panels: the truss is built for 1 to 8191 panels"},
        {"too many panels", {"--panels", "8192"}, {"--panels"}, 1, "--panels: the truss is built for 1 to 8191 panels"},
        {"two loads", {"--point-load", "2"}, {}, 1, "--udl or --point-load: give exactly one"},
        {"no shared area", {"--top-area", "5"}, {"--area"}, 1, "--area (or --btm-area) is missing"},
        {"load beyond Single", {"--udl", "3e38", "--span", "3e38", "--panels", "1"}, {"--udl", "--span", "--panels"}, 1,
         "--udl: w times the panel length is beyond the range of Single"},
        {"unwritable", {"-o", "/"}, {"-o"}, 2, "Error while saving file /: "},
        {"unknown type", {"--type", "arch"}, {}, 1,
         "--type: no truss type 'arch'; the types are pratt, howe, warren, warren-verticals, k, pratt-roof, howe-roof, fink, "
         "king-post, queen-post, fan"},
        {"odd K", {"--type", "k"}, {}, 1, "--panels: the K truss is built for an even number of panels, 2 to 5460"},
        {"fan of 7", {"--type", "fan"}, {}, 1, "--panels: the fan truss is built for 6 panels only"},
        {"warren beyond 16 bits", {"--type", "warren", "--panels", "8193"}, {"--panels"}, 1,
         "--panels: the Warren truss is built for 2 to 8192 panels"},
        {"k beyond an Integer", {"--type", "k", "--panels", "40000"}, {"--panels"}, 1,
         "--panels: the K truss is built for an even number of panels, 2 to 5460"},
        {"fink too small for its panels", {"--type", "fink", "--span", "7e-45", "--panels", "8"}, {"--span", "--panels"}, 1,
         "--span: too small for its panels: member 3 would have no length"},
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList arguments = generateArguments(7, true, output);
        for (const QString& option : c.remove)
            arguments.remove(arguments.indexOf(option), 2);
        arguments << c.change;
        const ToolRun run = kvrtool(arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1) << "one line: " << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(output));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }
}

// Every type, as the truss object builds it, at its second smallest panel
// count (a roof of two has no diagonal); a type of one layout needs no panel
// count, and show names each member's group.
TEST_F(Kvrtool, GenerateWritesEveryTypeAsTheTrussObject)
{
    for (const TrussTypeInfo& type : trussTypes()) {
        SCOPED_TRACE(type.name);
        TrussParameters input = windowStart();
        input.config = static_cast<std::int32_t>(type.type);
        input.np = type.panels.fixed() ? type.panels.smallest : static_cast<std::int16_t>(type.panels.smallest + type.panels.step);
        input.L = 9.5f;
        input.h = 1.75f;
        input.loadType = clsTruss::pointLoads;
        input.loadValue = 2.5f;
        RecordingSink sink;
        clsTruss truss(sink);
        apply(truss, input, path(QStringLiteral("object.kvr")));
        ASSERT_EQ(truss.saveFile(), std::nullopt);

        const QString file = path(QStringLiteral("tool.kvr"));
        QStringList arguments{QStringLiteral("generate"), QStringLiteral("--type"), QString::fromLatin1(type.name),
                              QStringLiteral("--span"), QStringLiteral("9.5"), QStringLiteral("--height"), QStringLiteral("1.75"),
                              QStringLiteral("--area"), QStringLiteral("100"), QStringLiteral("--e"), QStringLiteral("205"),
                              QStringLiteral("--point-load"), QStringLiteral("2.5"), QStringLiteral("-o"), file};
        if (!type.panels.fixed())
            arguments << QStringLiteral("--panels") << QString::number(input.np);
        const ToolRun run = kvrtool(arguments);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, QStringLiteral("wrote %1: %2 nodes, %3 members\n").arg(file).arg(truss.noNodes()).arg(truss.noMembers()));
        EXPECT_EQ(readAll(file), readAll(path(QStringLiteral("object.kvr"))));
        const QString shown = kvrtool({QStringLiteral("show"), file}).out;
        EXPECT_TRUE(shown.contains(QStringLiteral("  top chord\n")) && shown.contains(QStringLiteral("  bottom chord\n"))
                    && shown.contains(QStringLiteral("  diagonal\n")) && !shown.contains(QStringLiteral("unknown")));
    }
}

// As the window rounds them: to the nearest whole number, a half to the even one.
TEST_F(Kvrtool, GenerateRoundsPanelsAsTheWindowDoes)
{
    const std::pair<const char*, int> cases[] = {{"7.5", 8}, {"6.5", 6}, {"7.4999", 7}, {"0.5000001", 1}};
    for (const auto& [text, panels] : cases) {
        SCOPED_TRACE(text);
        const QString file = path(QStringLiteral("rounded.kvr"));
        QStringList arguments = generateArguments(1, true, file);
        arguments[arguments.indexOf(QStringLiteral("--panels")) + 1] = QString::fromLatin1(text);
        EXPECT_EQ(kvrtool(arguments).status, 0);
        EXPECT_TRUE(kvrtool({QStringLiteral("show"), file}).out.contains(QStringLiteral("noNodes %1,").arg(2 * panels + 2)));
    }
}

struct Refusal {
    const char* name;
    void (*spoil)(QByteArray&);
    const char* message;
};

// The default file again: 16 nodes, 30 members; node 8 is the roller, node 9 above the pin.
const Refusal refusals[] = {
    {"inconsistent", [](QByteArray& b) { putSingle(b, memberCell(3, MemberColumn::Second), 17.0f); }, "member 3: joins node 3 and node 17"},
    {"zero length", [](QByteArray& b) { putSingle(b, nodeCell(3, NodeColumn::X), 0.857142866f); },
     "member 2: has zero length: nodes 2 and 3"},
    {"E zero", [](QByteArray& b) { putSingle(b, memberCell(4, MemberColumn::E), 0.0f); }, "member 4: E = 0 kN/mm2, A = 100 mm2"},
    {"A negative", [](QByteArray& b) { putSingle(b, memberCell(5, MemberColumn::A), -100.0f); }, "member 5: E = 205 kN/mm2, A = -100"},
    {"E not finite", [](QByteArray& b) { putSingle(b, memberCell(6, MemberColumn::E), INFINITY); }, "member 6: column 3 is not a finite number"},
    {"roller above the pin", [](QByteArray& b) { putSingle(b, nodeCell(8, NodeColumn::Support), 0.0f); putSingle(b, nodeCell(9, NodeColumn::Support), 2.0f); },
     "node 9 in x: the truss is a mechanism: node 9 can move in x without any member changing length"},
    {"panel without diagonal", [](QByteArray& b) { putSingle(b, memberCell(23, MemberColumn::First), 11.0f); },
     "the truss is a mechanism"},
};

TEST_F(Kvrtool, SolveRefusesWhatItCannotSolveInOneLine)
{
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        const QString file = damagedCopy(refusal.spoil, QStringLiteral("refused.kvr"));
        for (const QStringList& extra : {QStringList{}, QStringList{QStringLiteral("--csv")}}) {
            const ToolRun run = kvrtool(QStringList{QStringLiteral("solve"), file} + extra);
            EXPECT_EQ(run.status, 1);
            EXPECT_TRUE(run.err.contains(QString::fromUtf8(refusal.message))) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(QRegularExpression(QStringLiteral("(node|member) \\d+"))));
            EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
            EXPECT_EQ(run.out, QString());
        }
    }
    const ToolRun missing = kvrtool({QStringLiteral("solve"), path(QStringLiteral("missing.kvr"))});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("cannot open")));
}

// Two tables, a blank line between them, every number read back.
class KvrtoolSolveCsv : public Kvrtool, public ::testing::WithParamInterface<int> {};

TEST_P(KvrtoolSolveCsv, HasTwoTablesOfEveryNodeAndMember)
{
    const int np = GetParam();
    const QString file = path(QStringLiteral("t.kvr"));
    ASSERT_EQ(kvrtool(generateArguments(np, true, file)).status, 0);
    const ToolRun run = kvrtool({QStringLiteral("solve"), file, QStringLiteral("--csv")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList tables = run.out.split(QStringLiteral("\n\n"));
    ASSERT_EQ(tables.size(), 2);
    const std::pair<QString, qsizetype> shape[] = {{QStringLiteral("node,ux_mm,uy_mm,rx_kN,ry_kN"), 2 * np + 2},
                                                  {QStringLiteral("member,force_kN,stress_MPa"), 4 * np + 1 + np % 2}};
    double reactions = 0;
    for (int i = 0; i < 2; ++i) {
        const QStringList lines = tables[i].trimmed().split(u'\n');
        ASSERT_EQ(lines.size(), shape[i].second + 1);
        EXPECT_EQ(lines[0], shape[i].first);
        for (qsizetype row = 1; row < lines.size(); ++row) {
            const QStringList cells = lines[row].split(u',');
            ASSERT_EQ(cells.size(), shape[i].first.count(u',') + 1) << lines[row].toStdString();
            EXPECT_EQ(cells[0], QString::number(row));
            for (const QString& cell : cells) {
                bool ok = false;
                EXPECT_TRUE(std::isfinite(cell.toDouble(&ok)) && ok) << cell.toStdString();
            }
            if (i == 0)
                reactions += cells[4].toDouble();
        }
    }
    // 9 significant digits or more: the reactions balance the 60 kN of
    // Single node loads to their own rounding.
    EXPECT_NEAR(reactions, 60.0, 1e-5);
    const QString uy = tables[0].split(u'\n')[3].split(u',')[2];  // node 3 sinks in every truss here
    EXPECT_GE(uy.count(QRegularExpression(QStringLiteral("\\d"))), 9) << uy.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Kvrtool, KvrtoolSolveCsv, ::testing::Values(1, 7, 40),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "Panels"; });

TEST_F(Kvrtool, SolveSummarisesWithUnits)
{
    const ToolRun run = kvrtool({QStringLiteral("solve"), defaultFile()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    for (const char* line : {"largest deflection: 26.2763 mm at node 12",
                             "largest vertical deflection: 25.9219 mm downwards at node 13, L/231 of the span L = 6 m between the supports\n",
                             "reactions: node 1 (pin) rx 0 kN, ry 30 kN; node 8 (roller) ry 30 kN",
                             "most tension: member 4, 45.9585 kN, 459.585 N/mm2", "most compression: member 12, -44.0816 kN",
                             "equilibrium residual: ", "  node        ux (mm)        uy (mm)        rx (kN)  ry (kN)\n",
                             "member     force (kN)  stress (N/mm2)\n", "    15            -30  -300\n"})
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(line))) << line;
}

// The summary says when displacements pass 1 % of the truss's size, on
// standard error beside the CSV; rounding noise shows as 0 (the 8191-panel
// truss's horizontal reaction).
TEST_F(Kvrtool, SolveWarnsOfDisplacementsTooLargeForItsTheory)
{
    struct Warned {
        QStringList generate;
        bool warns;
        const char* shown;  // in the summary
    };
    const Warned cases[] = {
        {{"--span", "6", "--height", "1", "--panels", "7"}, false, "L/231"},
        {{"--span", "60", "--height", "0.5", "--panels", "7"}, true,
         "warning: the largest displacement, 716584 mm at node 12, is more than 1 % of the truss's size (60 m)"},
        {{"--span", "6", "--height", "1", "--panels", "8191"}, true, "rx 0 kN, ry 30 kN"},
    };
    for (const Warned& c : cases) {
        SCOPED_TRACE(c.generate.join(u' ').toStdString());
        const QString file = path(QStringLiteral("w.kvr"));
        EXPECT_EQ(kvrtool(QStringList{QStringLiteral("generate")} + c.generate
                          + QStringList{QStringLiteral("--area"), QStringLiteral("100"), QStringLiteral("--e"), QStringLiteral("205"),
                                        QStringLiteral("--udl"), QStringLiteral("10"), QStringLiteral("-o"), file})
                      .status,
                  0);
        const ToolRun text = kvrtool({QStringLiteral("solve"), file});
        const ToolRun csv = kvrtool({QStringLiteral("solve"), file, QStringLiteral("--csv")});
        EXPECT_EQ(text.status, 0) << text.err.toStdString();
        const bool warned = text.out.contains(QStringLiteral("\nwarning: the largest displacement"));
        EXPECT_EQ(warned, c.warns);
        EXPECT_TRUE(text.out.contains(QString::fromUtf8(c.shown))) << text.out.left(1500).toStdString();
        EXPECT_EQ(csv.err.contains(QStringLiteral("kvrtool: warning: the largest displacement")), warned);
    }
}

// Counting members against joints tells a mechanism only where members are
// short; the analysis names one where they are not.
TEST_F(Kvrtool, CheckTellsAMechanismThatCountingMisses)
{
    const Refusal cases[] = {
        {"the default truss", [](QByteArray&) {}, "m + r = 30 + 3 = 33, 2j = 32: statically indeterminate, 1 member redundant\n"},
        {"panel without diagonal", [](QByteArray& b) { putSingle(b, memberCell(23, MemberColumn::First), 11.0f); },
         "m + r = 30 + 3 = 33, 2j = 32: enough members by count, but a mechanism: node "},
        {"roller above the pin", [](QByteArray& b) { putSingle(b, nodeCell(8, NodeColumn::Support), 0.0f); putSingle(b, nodeCell(9, NodeColumn::Support), 2.0f); },
         "2j = 32: enough members by count, but a mechanism: node 9 can move in x without any member changing length\n"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun checked = kvrtool({QStringLiteral("check"), damagedCopy(c.spoil, QStringLiteral("m.kvr"))});
        EXPECT_EQ(checked.status, 0);
        EXPECT_TRUE(checked.out.contains(QString::fromUtf8(c.message))) << checked.out.toStdString();
    }
}

struct LineCase {
    QStringList arguments;
    int status;
    const char* text;  // in out when status is 0, else in err
};

TEST_F(Kvrtool, HelpVersionAndMistakenOptions)
{
    const QString file = defaultFile(), pdf = path(QStringLiteral("c.pdf"));
    const LineCase cases[] = {
        {{"--version"}, 0, "kvrtool 1.00\n"},
        {{"--help"}, 0, "  solve      Solve the truss of a file"},
        {{"solve", "--help"}, 0, "  --csv                   Print two CSV tables"},
        {{"draw", "--help"}, 0, "--forces"},
        {{"check", "--help"}, 0, "usage: kvrtool check FILE"},
        {{"show", "-h"}, 0, "usage: kvrtool show FILE [--csv]"},
        {{"generate", "--help"}, 0, "  --udl VALUE             Uniformly distributed load w on the top chord in kN/m."},
        {{"generate", "--help"}, 0, "  --e VALUE               Modulus of elasticity"},
        {{"solve", file, "--csv", "--csv"}, 1, "--csv is given twice"},
        {{"draw", file, "-o", "a.svg", "--output", "b.svg"}, 1, "-o/--output is given twice"},
        {{"generate", "--span", "6", "--span=7"}, 1, "--span is given twice"},
        {{"solve", file, "--tables"}, 1, "Unknown option 'tables'"},
        {{"report", file, "-o", pdf, "--paper", ""}, 1, "--paper: expected a4 or letter, got ''"},
        {{"report", file, "-o", pdf, "--paper=a5"}, 1, "--paper: expected a4 or letter, got 'a5'"},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const ToolRun run = kvrtool(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE((c.status == 0 ? run.out : run.err).contains(QString::fromUtf8(c.text)))
            << run.out.toStdString() << run.err.toStdString();
        if (c.status != 0) {
            EXPECT_EQ(run.err.count(u'\n'), 1);
        }
    }
}

TEST_F(Kvrtool, SectionsListsTheTablesAndNamesTheChoicesItRefuses)
{
    const LineCase cases[] = {
        {{"sections", "--csv", "--family", "shs"}, 0,
         "designation,family,standard,h_mm,b_mm,t_mm,A_mm2,Iy_mm4,Iz_mm4,iy_mm,iz_mm,mass_kg_m\n"
         "SHS 40x40x3.2,SHS,EN 10210-2,40,40,3.2,"},
        {{"sections", "--csv", "--code", "AISC360", "--family", "W"}, 0, "\nW8X31,W,AISC,203.2,203.2,11.049,"},
        {{"sections", "--code", "en1993"}, 0, "\nCHS 88.9x4 CF        CHS    EN 10219-2     88.9     88.9       4      1067"},
        {{"sections", "--family", "IPE"}, 0, "\n18 sections\n"},
        {{"sections", "--family", "HEM"}, 1, "--family: unknown family 'HEM'; the families are SHS, RHS, CHS, IPE, HEA, HEB, HSS and W"},
        {{"sections", "--code", "en1993", "--family", "W"}, 1, "'W' in en1993; the families are SHS, RHS, CHS, IPE, HEA and HEB"},
        {{"sections", "--code", "bs5950"}, 1, "--code: unknown code 'bs5950'; the codes are en1993 and aisc360"},
        {{"sections", "truss.kvr"}, 1, "sections reads no file"},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const ToolRun run = kvrtool(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE((c.status == 0 ? run.out : run.err).contains(QString::fromUtf8(c.text)))
            << run.out.left(2000).toStdString() << run.err.toStdString();
        EXPECT_EQ(c.status == 0 ? run.err.isEmpty() : run.out.isEmpty(), true);
    }
    // Every row has its twelve fields in any locale: no decimal comma.
    const QStringList rows = kvrtool({"sections", "--csv"}).out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_GT(rows.size(), 1000);
    for (const QString& row : rows)
        EXPECT_EQ(row.count(u','), 11) << row.toStdString();
}

QMap<QString, int> elementsOf(const QByteArray& svg, QStringList* texts = nullptr)
{
    QXmlStreamReader xml(svg);
    QMap<QString, int> counted;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            const QString cls = xml.attributes().value(QStringLiteral("class")).toString();
            counted[xml.name().toString() + u'/' + cls]++;
            if (texts && xml.name() == QLatin1String("text"))
                *texts << cls + u':' + xml.readElementText();
        }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return counted;
}

TEST_F(Kvrtool, DrawWithForcesColoursAndLabelsEveryMemberOfTheDefaultTruss)
{
    const QString svg = path(QStringLiteral("f.svg"));
    ASSERT_EQ(kvrtool({QStringLiteral("draw"), defaultFile(), QStringLiteral("--forces"), QStringLiteral("-o"), svg}).status, 0);
    QStringList texts;
    const QMap<QString, int> counted = elementsOf(readAll(svg), &texts);
    // Tension: the bottom chord but its end panels, and the diagonals but the
    // crossed pair; no force: the bottom chord's end panels.
    EXPECT_EQ(counted.value(QStringLiteral("line/member tension")), 11);
    EXPECT_EQ(counted.value(QStringLiteral("line/member no-force")), 2);
    EXPECT_EQ(counted.value(QStringLiteral("line/member tension")) + counted.value(QStringLiteral("line/member compression"))
                  + counted.value(QStringLiteral("line/member no-force")),
              30);
    EXPECT_EQ(counted.value(QStringLiteral("text/member-force")), 30);
    EXPECT_TRUE(texts.contains(QStringLiteral("member-force:45.96")));
    EXPECT_TRUE(texts.contains(QStringLiteral("member-force:-30")));
    EXPECT_TRUE(texts.contains(QStringLiteral("legend:tension (force in kN > 0)")));
    EXPECT_TRUE(texts.contains(QStringLiteral("legend:compression (force in kN < 0)")));
    EXPECT_TRUE(texts.contains(
        QStringLiteral("title:span 6 m, height 1 m, 7 panels, node loads 8.571 kN, half at both ends: P = 8.571 kN or w = 10 kN/m")));
    EXPECT_EQ(counted.value(QStringLiteral("text/caption")), 0);
}

// What is left out is said; the largest truss stays a small picture.
TEST_F(Kvrtool, CrowdedDrawingsLeaveOutLabelsAndSaySo)
{
    struct Crowd {
        QStringList generate;
        qint64 largestSvg;
        const char* caption;
    };
    const Crowd crowds[] = {
        {{"--span", "6", "--height", "1", "--panels", "40"}, 200'000, "20 of 41 load labels (every other one)"},
        {{"--span", "60", "--height", "0.5", "--panels", "40"}, 200'000, " of 82 node numbers"},
        {{"--span", "6", "--height", "1", "--panels", "8191"}, 3'000'000, "32766 members drawn as"},
    };
    for (const Crowd& crowd : crowds) {
        SCOPED_TRACE(crowd.generate.join(u' ').toStdString());
        const QString file = path(QStringLiteral("c.kvr")), svg = path(QStringLiteral("c.svg"));
        EXPECT_EQ(kvrtool(QStringList{QStringLiteral("generate")} + crowd.generate
                          + QStringList{QStringLiteral("--area"), QStringLiteral("100"), QStringLiteral("--e"), QStringLiteral("205"),
                                        QStringLiteral("--udl"), QStringLiteral("10"), QStringLiteral("-o"), file})
                      .status,
                  0);
        EXPECT_EQ(kvrtool({QStringLiteral("draw"), file, QStringLiteral("--forces"), QStringLiteral("-o"), svg}).status, 0);
        EXPECT_LE(QFileInfo(svg).size(), crowd.largestSvg);
        QStringList texts;
        elementsOf(readAll(svg), &texts);
        EXPECT_TRUE(texts.filter(QStringLiteral("caption:")).join(u' ').contains(QString::fromUtf8(crowd.caption)))
            << texts.filter(QStringLiteral("caption:")).join(u'\n').toStdString();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // Drawing PNG pictures needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
