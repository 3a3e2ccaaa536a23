// The design file: the example an engineer starts from read whole, and each
// kind of mistake refused with its line and key, nothing half-read.
#include <gtest/gtest.h>

#include <clocale>
#include <ostream>
#include <string>

#include "design/SectionTable.h"
#include "loads/DesignFileReader.h"

namespace {

const char* const example = R"(code = "en1993"                  # or "aisc360"
steel = "S355"
deflection_limit = 250
[sections]
top = "SHS 120x120x6.3"
bottom = "SHS 100x100x5"
web = "CHS 60.3x4"
[out_of_plane]
top = 4
[[case]]
name = "G"
kind = "permanent"
self_weight = true
udl_top = -1.5
[[case]]
name = "Q"
kind = "imposed"
category = "H"
udl_top = -2.0
[[case]]
name = "W"
kind = "wind"
udl_top = 1.2                    # uplift
loads = [ { node = 14, fx = 3.0, fy = 0.0 } ]
[[case]]
name = "file"
kind = "permanent"
[[combination]]
name = "uplift"
kind = "uls"
factors = { W = 1.5, G = 1.0 }
)";

TEST(DesignFileReader, ReadsTheExampleWhole)
{
    const Result<DesignFile> read = parseDesignFile(example, "design.toml");
    ASSERT_TRUE(read.value) << read.error;
    const DesignFile& d = *read.value;
    EXPECT_EQ(d.code, DesignCode::En1993);
    EXPECT_EQ(d.steel, "S355");
    EXPECT_EQ(d.deflectionLimit, 250);
    EXPECT_EQ(d.sections.at(MemberGroup::TopChord), findSection(DesignCode::En1993, "SHS 120x120x6.3"));
    EXPECT_EQ(d.sections.at(MemberGroup::Vertical), findSection(DesignCode::En1993, "CHS 60.3x4"));
    EXPECT_EQ(d.sections.at(MemberGroup::Diagonal), d.sections.at(MemberGroup::Vertical));
    EXPECT_EQ(d.outOfPlane, (GroupLengths{{MemberGroup::TopChord, 4.0}}));
    ASSERT_EQ(d.cases.size(), 4u);
    EXPECT_TRUE(d.cases[0].selfWeight);
    EXPECT_EQ(d.cases[0].udlTop, -1.5);
    EXPECT_EQ(d.cases[1].category, 'H');
    ASSERT_EQ(d.cases[2].loads.size(), 1u);
    EXPECT_EQ(d.cases[2].loads[0].node, 14);
    EXPECT_EQ(d.cases[2].loads[0].fx, 3.0);
    EXPECT_EQ(d.cases[2].loads[0].line, 24);
    EXPECT_TRUE(d.cases[3].fromFile);
    ASSERT_EQ(d.ownCombinations.size(), 1u);
    EXPECT_EQ(notationOf(d.ownCombinations[0].terms), "1.0 G + 1.5 W");  // in the cases' order
}

// A German locale writes 1,5: the file's numbers are TOML's all the same.
TEST(DesignFileReader, ReadsNumbersInAnyLocale)
{
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale here";
    const Result<DesignFile> read = parseDesignFile(example, "design.toml");
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(read.value) << read.error;
    EXPECT_EQ(read.value->cases[0].udlTop, -1.5);
}

struct Mistake {
    const char* name;
    const char* text;
    const char* error;
};

const Mistake mistakes[] = {
    {"Syntax", "code = \"en1993\"\nsteel = S355\n",
     "design.toml:2: not TOML: Error while parsing value: could not determine value type"},
    {"UnknownKey", "code = \"en1993\"\n[[case]]\nname = \"G\"\nkind = \"permanent\"\nudl = -1.5\n",
     "design.toml:5: [[case]] udl: unknown key; [[case]] takes name, kind, category, psi0, self_weight, udl_top, loads, from_file"},
    {"WrongType", "code = \"en1993\"\n[[case]]\nname = \"G\"\nkind = \"permanent\"\nself_weight = \"yes\"\n",
     "design.toml:5: [[case]] self_weight: expected true or false, got a string"},
    {"UnknownKind", "code = \"en1993\"\n[[case]]\nname = \"Q\"\nkind = \"live\"\nudl_top = -2\n",
     "design.toml:4: [[case]] kind: expected one of permanent, imposed, snow, wind, got 'live'"},
    {"UnknownSection", "code = \"aisc360\"\n[sections]\ntop = \"SHS 100x100x5\"\n",
     "design.toml:3: [sections] top: no section 'SHS 100x100x5' in the aisc360 tables"},
    {"UnknownCaseInCombination",
     "code = \"en1993\"\n[[case]]\nname = \"G\"\nkind = \"permanent\"\nself_weight = true\n"
     "[[combination]]\nname = \"C1\"\nkind = \"uls\"\nfactors = { G = 1.35, Q = 1.5 }\n",
     "design.toml:9: [[combination]] factors.Q: no case named 'Q'"},
    {"ImposedWithoutCategory", "code = \"en1993\"\n[[case]]\nname = \"Q\"\nkind = \"imposed\"\nudl_top = -2\n",
     "design.toml:2: [[case]] category: missing for imposed case 'Q': A to H, as EN 1990 Table A1.1, for its psi factors"},
    {"WebBesideVerticals", "code = \"en1993\"\n[sections]\nverticals = \"CHS 60.3x4\"\nweb = \"CHS 60.3x4\"\n",
     "design.toml:4: [sections] web: the verticals given already, on line 3"},
    {"NoPointLoadsIsNoLoads", "code = \"en1993\"\n[[case]]\nname = \"G\"\nkind = \"permanent\"\nloads = []\n",
     "design.toml:2: [[case]] name: case 'G' has no loads: give self_weight, udl_top, loads or from_file"},
    {"CombinationNamedAsACase",
     "code = \"en1993\"\n[[case]]\nname = \"G\"\nkind = \"permanent\"\nself_weight = true\n"
     "[[combination]]\nname = \"2 G\"\nkind = \"uls\"\nfactors = { G = 5.0 }\n",
     "design.toml:7: [[combination]] name: '2 G' reads as a case or a combination of the cases; give a name of its own"},
    {"GeneratedNameSpacedOut",
     "code = \"en1993\"\n[[case]]\nname = \"G\"\nkind = \"permanent\"\nself_weight = true\n"
     "[[combination]]\nname = \"ULS  1\"\nkind = \"uls\"\nfactors = { G = 1.0 }\n",
     "design.toml:7: [[combination]] name: 'ULS  1' is a generated combination's name"},
    {"FactorTheNotationCannotWrite",
     "code = \"en1993\"\n[[case]]\nname = \"G\"\nkind = \"permanent\"\nself_weight = true\n"
     "[[combination]]\nname = \"c\"\nkind = \"uls\"\nfactors = { G = 1e307 }\n",
     "design.toml:9: [[combination]] factors.G: expected a factor from 0.001 to 1000 in size, or 0"},
    // 3 permanent (2^3 ways), 10 winds, 10 snows: 1 + 10 x 11 + 10 x 11 = 221 choices, x 3 x 8: 5304.
    {"TooManyCombinations",
     "code = \"en1993\"\n[[case]]\nname = \"G\"\nkind = \"permanent\"\nself_weight = true\n"
     "[[case]]\nname = \"H\"\nkind = \"permanent\"\nself_weight = true\n"
     "[[case]]\nname = \"J\"\nkind = \"permanent\"\nself_weight = true\n"
     "[[case]]\nname = \"W0\"\nkind = \"wind\"\nudl_top = 1\n[[case]]\nname = \"W1\"\nkind = \"wind\"\nudl_top = 1\n"
     "[[case]]\nname = \"W2\"\nkind = \"wind\"\nudl_top = 1\n[[case]]\nname = \"W3\"\nkind = \"wind\"\nudl_top = 1\n"
     "[[case]]\nname = \"W4\"\nkind = \"wind\"\nudl_top = 1\n[[case]]\nname = \"W5\"\nkind = \"wind\"\nudl_top = 1\n"
     "[[case]]\nname = \"W6\"\nkind = \"wind\"\nudl_top = 1\n[[case]]\nname = \"W7\"\nkind = \"wind\"\nudl_top = 1\n"
     "[[case]]\nname = \"W8\"\nkind = \"wind\"\nudl_top = 1\n[[case]]\nname = \"W9\"\nkind = \"wind\"\nudl_top = 1\n"
     "[[case]]\nname = \"S0\"\nkind = \"snow\"\nudl_top = -1\n[[case]]\nname = \"S1\"\nkind = \"snow\"\nudl_top = -1\n"
     "[[case]]\nname = \"S2\"\nkind = \"snow\"\nudl_top = -1\n[[case]]\nname = \"S3\"\nkind = \"snow\"\nudl_top = -1\n"
     "[[case]]\nname = \"S4\"\nkind = \"snow\"\nudl_top = -1\n[[case]]\nname = \"S5\"\nkind = \"snow\"\nudl_top = -1\n"
     "[[case]]\nname = \"S6\"\nkind = \"snow\"\nudl_top = -1\n[[case]]\nname = \"S7\"\nkind = \"snow\"\nudl_top = -1\n"
     "[[case]]\nname = \"S8\"\nkind = \"snow\"\nudl_top = -1\n[[case]]\nname = \"S9\"\nkind = \"snow\"\nudl_top = -1\n",
     "design.toml:1: case: the cases make up to 5.3e+03 combinations, more than 4096 a design takes on: the cases of one kind "
     "are alternatives, each combined with every choice of the others; keep fewer"},
};

void PrintTo(const Mistake& row, std::ostream* out) { *out << row.name; }

class DesignFileMistake : public ::testing::TestWithParam<Mistake> {};

TEST_P(DesignFileMistake, IsRefusedWithItsLineAndKey)
{
    const Result<DesignFile> read = parseDesignFile(GetParam().text, "design.toml");
    EXPECT_FALSE(read.value);
    EXPECT_EQ(read.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(OnePerKind, DesignFileMistake, ::testing::ValuesIn(mistakes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DesignFileReader, NamesAFileThatCannotBeRead)
{
    const Result<DesignFile> read = readDesignFile("/nonexistent/design.toml");
    EXPECT_FALSE(read.value);
    EXPECT_EQ(read.error.rfind("/nonexistent/design.toml: cannot be read: ", 0), 0u) << read.error;
}

}  // namespace
