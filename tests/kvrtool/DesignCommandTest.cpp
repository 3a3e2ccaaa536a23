// kvrtool design: its verdicts and exit statuses, the CSV's columns, the
// sized file, and each mistake named in one line.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "KvrtoolRun.h"
#include "TrussTestSupport.h"

namespace {


// Four panels of 2 m, 1.5 m high, 100 kN at each top node: the top chord
// carries 267 kN in compression, the diagonals 250 kN in tension.
class DesignCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = dir.filePath(QStringLiteral("t.kvr"));
        ASSERT_EQ(kvrtool({"generate", "--span", "8", "--height", "1.5", "--panels", "4", "--area", "1000", "--e", "210",
                       "--point-load", "100", "-o", file})
                      .status,
                  0);
    }
    QStringList design(const QStringList& more) const
    {
        return QStringList{"design", file, "--code", "en1993", "--section", "top=SHS 100x100x5", "--section", "bottom=shs 60x60x4"}
               + more;
    }
    QTemporaryDir dir;
    QString file;
};

struct DesignCase {
    const char* name;
    QStringList more;  // after the file, code, top and bottom sections
    int status;
    const char* text;  // on the standard output for 0 and 3, else on the standard error
};

const DesignCase designCases[] = {
    {"every member holds", {"--section", "web=SHS 60x60x4", "--out-of-plane", "top=4"}, 0, "verdict: every member holds"},
    {"a top chord restrained every 6 m does not", {"--section", "web=SHS 60x60x4", "--out-of-plane", "top=6"}, 3,
     "verdict: 4 of 17 members do not hold: 5, 6, 7, 8"},
    {"a group without a section", {"--section", "diagonals=SHS 60x60x4"}, 1, "no section for the verticals"},
    {"a group given twice", {"--section", "web=SHS 60x60x4", "--section", "verticals=SHS 60x60x4"}, 1,
     "--section: a second value for the verticals"},
    {"an unknown group", {"--section", "chords=SHS 60x60x4"}, 1, "'chords' is not a group"},
    {"a section of no table", {"--section", "web=SHS 61x61x4"}, 1, "no section 'SHS 61x61x4' in the EN 1993-1-1 tables"},
    {"a grade Table 3.1 does not hold", {"--section", "web=SHS 60x60x4", "--steel", "S500"}, 1, "'S500' is not one of"},
    {"a restraint distance of 0", {"--section", "web=SHS 60x60x4", "--out-of-plane", "top=0"}, 1,
     "--out-of-plane: expected a number greater than 0, got '0'"},
    {"an output without sizing", {"--section", "web=SHS 60x60x4", "-o", "x.kvr"}, 1, "goes with --size"},
    {"a family of the other code", {"--size", "web=HSS", "-o", "x.kvr"}, 1, "HSS is a family of the AISC 360-16 tables"},
    {"a group given a section and sized", {"--size", "top=SHS", "--size", "web=SHS", "-o", "x.kvr"}, 1,
     "the top chord: --section or --size, not both"},
    {"a sized truss whose given top chord does not hold", {"--size", "web=SHS", "--out-of-plane", "top=6", "-o", "x.kvr"}, 3,
     "verdict: 4 of 17 members do not hold"},
};

class DesignCommandRow : public DesignCommand, public ::testing::WithParamInterface<DesignCase> {};

TEST_P(DesignCommandRow, SaysItsVerdictOrItsMistake)
{
    const DesignCase& c = GetParam();
    const ToolRun r = kvrtool(design(c.more).replaceInStrings(QStringLiteral("x.kvr"), dir.filePath(QStringLiteral("x.kvr"))));
    EXPECT_EQ(r.status, c.status) << r.err.toStdString();
    const QString& stream = c.status == 0 || c.status == 3 ? r.out : r.err;
    EXPECT_TRUE(stream.contains(QString::fromUtf8(c.text))) << stream.toStdString();
    if (c.status == 1) {
        EXPECT_EQ(r.err.count(u'\n'), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Kvrtool, DesignCommandRow, ::testing::ValuesIn(designCases), ByRowName{});

// The design file's loads: solve for a case or a combination, design for
// the envelope; each mistake in one line.
struct DesignFileCase {
    const char* name;
    QStringList arguments;  // t.kvr and d.toml stand for the files
    int status;
    const char* text;  // on the standard output for 0 and 3, else on the standard error
};

const DesignFileCase designFileCases[] = {
    {"solve for a case", {"solve", "t.kvr", "--design", "d.toml", "--case", "W"}, 0, "loads: case W of "},
    {"solve for a combination", {"solve", "t.kvr", "--design", "d.toml", "--combination", "1.0 G - 1.5 W"}, 0,
     "loads: 1.0 G - 1.5 W of "},
    {"the envelope names the governing combination", {"design", "t.kvr", "--design", "d.toml"}, 0, "(6.6))  ULS 2\n"},
    {"its CSV a column after governing", {"design", "t.kvr", "--design", "d.toml", "--csv"}, 0,
     "utilisation,governing,combination\n1,bottom chord,"},
    {"the combinations listed", {"design", "t.kvr", "--design", "d.toml", "--list-combinations"}, 0,
     "ULS 1  1.35 G + 1.5 W  EN 1990 6.10\nULS 2  1.35 G"},
    {"a case the file has not", {"solve", "t.kvr", "--design", "d.toml", "--case", "S"}, 1, "--case: no case 'S' in "},
    {"a case without the file", {"solve", "t.kvr", "--case", "W"}, 1, "--case: give the design file with --design"},
    {"no load asked", {"solve", "t.kvr", "--design", "d.toml"}, 1, "--case NAME or --combination TEXT"},
    {"an option the file gives", {"design", "t.kvr", "--design", "d.toml", "--code", "en1993"}, 1,
     "--code: the design file of --design gives the design"},
    {"a design file that is not there", {"design", "t.kvr", "--design", "none.toml"}, 1, "none.toml: cannot be read"},
};

class DesignFileRow : public DesignCommand, public ::testing::WithParamInterface<DesignFileCase> {};

TEST_P(DesignFileRow, SolvesDesignsOrSaysItsMistake)
{
    const QString toml = dir.filePath(QStringLiteral("d.toml"));
    ASSERT_TRUE(writeAll(toml, "code = \"en1993\"\n[sections]\ntop = \"SHS 100x100x5\"\nbottom = \"SHS 100x100x5\"\n"
                               "web = \"SHS 60x60x4\"\n[[case]]\nname = \"G\"\nkind = \"permanent\"\nloads = [ { node = 7, fy "
                               "= -50.0 } ]\n[[case]]\nname = \"W\"\nkind = \"wind\"\nloads = [ { node = 7, fx = 2.0 } ]\n"));
    const DesignFileCase& c = GetParam();
    QStringList arguments = c.arguments;
    arguments.replaceInStrings(QStringLiteral("t.kvr"), file).replaceInStrings(QStringLiteral("d.toml"), toml);
    const ToolRun r = kvrtool(arguments.replaceInStrings(QStringLiteral("none.toml"), dir.filePath(QStringLiteral("none.toml"))));
    EXPECT_EQ(r.status, c.status) << r.err.toStdString();
    const QString& stream = c.status == 0 || c.status == 3 ? r.out : r.err;
    EXPECT_TRUE(stream.contains(QString::fromUtf8(c.text))) << stream.toStdString();
    if (c.status == 1) {
        EXPECT_EQ(r.err.count(u'\n'), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Kvrtool, DesignFileRow, ::testing::ValuesIn(designFileCases), ByRowName{});

TEST_F(DesignCommand, CsvHasExactlyItsColumnsAndAMemberARow)
{
    const ToolRun r = kvrtool(design({"--section", "web=SHS 60x60x4", "--csv", "--out-of-plane", "top=4"}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines[0], QStringLiteral("member,group,section,length_m,force_kN,resistance_kN,utilisation,governing"));
    EXPECT_TRUE(lines[6].startsWith(QStringLiteral("6,top chord,SHS 100x100x5,2,-266.667,"))) << lines[6].toStdString();
    EXPECT_TRUE(lines[6].endsWith(QStringLiteral(",buckling out of plane")));
    EXPECT_TRUE(lines[14].startsWith(QStringLiteral("14,diagonal,SHS 60x60x4,2.5,250,"))) << lines[14].toStdString();
    EXPECT_TRUE(lines[14].endsWith(QStringLiteral(",tension")));
}

// Sizing writes each member's A as its section's area; where no section
// holds, it names the group, writes nothing and exits with 4.
TEST_F(DesignCommand, SizingWritesTheSectionsAreasOrNamesTheGroupNoneCarries)
{
    const QString sized = dir.filePath(QStringLiteral("sized.kvr"));
    const QStringList size{"design", file, "--code", "en1993", "--size", "top=SHS", "--size", "bottom=SHS", "--size", "web=SHS", "-o", sized};
    const ToolRun none = kvrtool(size + QStringList{"--out-of-plane", "top=500"});
    EXPECT_EQ(none.status, 4);
    EXPECT_TRUE(none.err.contains(QStringLiteral("no section of SHS holds every member of the top chord; nothing written")))
        << none.err.toStdString();
    EXPECT_FALSE(QFile::exists(sized));

    const ToolRun done = kvrtool(size + QStringList{"--out-of-plane", "top=4"});
    ASSERT_EQ(done.status, 0) << done.err.toStdString();
    EXPECT_TRUE(done.out.contains(QStringLiteral("steel: "))) << done.out.toStdString();
    const TrussFileContent written = readBack(readAll(sized));
    EXPECT_EQ(written.noMembers, 17);
    // Sized again, the sized file keeps its choice: the same areas, the same bytes.
    const QString again = dir.filePath(QStringLiteral("again.kvr"));
    QStringList resize = size;
    resize[1] = sized;
    resize.last() = again;
    const ToolRun check = kvrtool(resize + QStringList{"--out-of-plane", "top=4"});
    EXPECT_EQ(check.status, 0) << check.err.toStdString();
    EXPECT_FALSE(check.out.contains(QStringLiteral("note: the file's A"))) << check.out.toStdString();
    EXPECT_EQ(readAll(again), readAll(sized));
}

}  // namespace
