// EN 1993-1-1 member checks against published worked examples and the
// limits of its tables.
#include <gtest/gtest.h>

#include "DesignTestSupport.h"
#include "TrussTestSupport.h"
#include "design/En1993Checks.h"

namespace {

using namespace en1993;

struct ColumnExample {
    const char* name;
    Section section;
    const char* grade;
    double force, lengthInPlane, lengthOutOfPlane;  // kN, m
    bool outOfPlane;                                // the axis the figures are of
    double fy;
    int sectionClass;  // 0: not published
    const char* curve;
    const char *lambdaBar, *Phi, *chi, *NcrKN;  // as published; "" where the source gives none
    CheckKind governing;
};

// HE 300 B: h 300, b 300, tw 11, tf 19, r 27 mm, A 149 cm2, Iy 25170 cm4, Iz 8560 cm4.
const Section he300b = rolledI("HE 300 B", 300, 300, 11, 19, 27, 14900, std::sqrt(25170e4 / 14900), std::sqrt(8560e4 / 14900));

const ColumnExample columnExamples[] = {
    // Steel Buildings in Europe, Multi-storey steel buildings, volume 4:
    // Detailed design, Appendix A.5 "Worked Example - Pinned column using
    // non-slender H sections" (pp. 4-94 to 4-97): HE 300 B, S235, NEd 2000 kN,
    // Lcr,y 8.00 m, Lcr,z 5.60 m; Class 1, fy 235 (tf 19 mm < 40 mm).
    {"SBE worked example A.5 HE 300 B about y-y", he300b, "S235", -2000, 8.0, 5.6, false, 235, 1, "b", "0.655", "0.792", "0.808",
     "8151.2", CheckKind::BucklingOutOfPlane},
    {"SBE worked example A.5 HE 300 B about z-z", he300b, "S235", -2000, 8.0, 5.6, true, 235, 1, "c", "0.787", "", "", "5657.4",
     CheckKind::BucklingOutOfPlane},
    // steelcalculator.app, "EN 1993-1-1 Column Buckling Capacity -
    // Verification Benchmark": UC 152x152x30 S275, L 4.0 m pinned, z-z:
    // lambda1 86.80, lambda-bar 1.203, curve c, Phi 1.4694.
    {"UC 152x152x30 S275 about z-z", rolledI("UC 152x152x30", 157.6, 152.9, 6.5, 9.4, 7.6, 3830, 67.6, 38.3), "S275", -100,
     4.0, 4.0, true, 275, 0, "c", "1.203", "1.4694", "", "", CheckKind::BucklingOutOfPlane},
};

class ColumnWorkedExample : public ::testing::TestWithParam<ColumnExample> {};

TEST_P(ColumnWorkedExample, MatchesThePublishedSteps)
{
    const ColumnExample& e = GetParam();
    const Result<YieldStrength> fy = yieldStrength(e.grade, e.section);
    ASSERT_TRUE(fy.value) << fy.error;
    EXPECT_EQ(fy.value->fy, e.fy);
    const MemberChecks checks = checkMember(e.section, *fy.value, e.force, e.lengthInPlane, e.lengthOutOfPlane, {});
    if (e.sectionClass != 0) {
        EXPECT_EQ(checks.sectionClass.sectionClass, e.sectionClass);
    }
    const FlexuralBuckling& b = e.outOfPlane ? *checks.outOfPlane : *checks.inPlane;
    EXPECT_EQ(b.curve.name, e.curve);
    EXPECT_TRUE(matchesPublished(b.slenderness.lambdaBar, e.lambdaBar));
    EXPECT_TRUE(matchesPublished(b.reduction.Phi, e.Phi));
    EXPECT_TRUE(matchesPublished(b.reduction.chi, e.chi));
    EXPECT_TRUE(matchesPublished(b.slenderness.Ncr / 1000, e.NcrKN));
    EXPECT_EQ(checks.verdict.governing, e.governing);
}

INSTANTIATE_TEST_SUITE_P(En1993, ColumnWorkedExample, ::testing::ValuesIn(columnExamples), ByRowName{});

// Table 6.2: the curve by the section's kind, manufacture, proportions and grade.
struct CurveCase {
    const char* name;
    Section section;
    const char* grade;
    const char *yy, *zz;
};

const Section ipe300 = rolledI("IPE 300", 300, 150, 7.1, 10.7, 15, 5381, 124.6, 33.5);  // h/b 2, tf <= 40
const Section deepThick = rolledI("I", 1000, 400, 30, 45, 30, 1, 1, 1);                  // h/b 2.5, 40 < tf <= 100

const CurveCase curveCases[] = {
    {"rolled I h over b above 1.2", ipe300, "S355", "a", "b"},
    {"rolled I h over b above 1.2 in S460", ipe300, "S460", "a0", "a0"},
    {"rolled I with flanges over 40 mm", deepThick, "S355", "b", "c"},
    {"rolled I h over b at most 1.2", he300b, "S235", "b", "c"},
    {"rolled I h over b at most 1.2 in S460", he300b, "S460", "a", "a"},
    {"hot-finished hollow in S460", hollow("SHS", SectionShape::RectangularHollow, Manufacture::HotFinished, 100, 100, 5, 5, 1, 1, 1, 1), "S460", "a0", "a0"},
    {"cold-formed hollow", hollow("CHS", SectionShape::CircularHollow, Manufacture::ColdFormed, 100, 100, 5, 5, 1, 1, 1, 1), "S355", "c", "c"},
};

class BucklingCurveRow : public ::testing::TestWithParam<CurveCase> {};

TEST_P(BucklingCurveRow, IsTable62s)
{
    const CurveCase& c = GetParam();
    EXPECT_EQ(bucklingCurve(c.section, Axis::YY, c.grade).name, c.yy);
    EXPECT_EQ(bucklingCurve(c.section, Axis::ZZ, c.grade).name, c.zz);
}

INSTANTIATE_TEST_SUITE_P(En1993, BucklingCurveRow, ::testing::ValuesIn(curveCases), ByRowName{});

// Table 3.1: fy by grade, product standard and thickness, at the limits of its rows.
struct GradeCase {
    const char* name;
    const char* grade;
    Section section;
    double fy;  // 0: refused
};

Section hotSquare(double t) { return hollow("SHS", SectionShape::RectangularHollow, Manufacture::HotFinished, 400, 400, t, t, 1, 1, 1, 1); }
Section coldSquare(double t) { return hollow("SHS", SectionShape::RectangularHollow, Manufacture::ColdFormed, 400, 400, t, t, 1, 1, 1, 1); }

const GradeCase gradeCases[] = {
    {"hot-finished S355 at 40 mm", "S355", hotSquare(40), 355},
    {"hot-finished S355 just over 40 mm", "S355", hotSquare(40.5), 335},
    {"hot-finished S235 at 80 mm", "s 235", hotSquare(80), 215},
    {"hot-finished over 80 mm refused", "S235", hotSquare(81), 0},
    {"cold-formed S460 at 40 mm", "S460", coldSquare(40), 460},
    {"cold-formed over 40 mm refused", "S275", coldSquare(40.5), 0},
    {"rolled S420 by its flange", "S420", rolledI("I", 500, 300, 20, 45, 27, 1, 1, 1), 390},
    {"an unknown grade refused", "S450", hotSquare(10), 0},
};

class YieldStrengthRow : public ::testing::TestWithParam<GradeCase> {};

TEST_P(YieldStrengthRow, IsTable31s)
{
    const GradeCase& c = GetParam();
    const Result<YieldStrength> fy = yieldStrength(c.grade, c.section);
    if (c.fy == 0) {
        EXPECT_FALSE(fy.value);
        EXPECT_FALSE(fy.error.empty());
    } else {
        ASSERT_TRUE(fy.value) << fy.error;
        EXPECT_EQ(fy.value->fy, c.fy);
    }
}

INSTANTIATE_TEST_SUITE_P(En1993, YieldStrengthRow, ::testing::ValuesIn(gradeCases), ByRowName{});

// Table 5.2 at its limits, S235 (epsilon = 1): a part exactly at a limit is of that class.
struct ClassCase {
    const char* name;
    Section section;
    int sectionClass;
};

Section square(double b, double t) { return hollow("SHS", SectionShape::RectangularHollow, Manufacture::HotFinished, b, b, t, t, 1, 1, 1, 1); }
Section tube(double d, double t) { return hollow("CHS", SectionShape::CircularHollow, Manufacture::HotFinished, d, d, t, t, 1, 1, 1, 1); }

const ClassCase classCases[] = {
    {"SHS walls at 33 eps", square(36, 1), 1},          // c = b - 3t = 33
    {"SHS walls at 42 eps", square(45, 1), 3},
    {"SHS walls beyond 42 eps", square(45.5, 1), 4},
    {"CHS at 50 eps2", tube(50, 1), 1},
    {"CHS at 90 eps2", tube(90, 1), 3},
    {"CHS beyond 90 eps2", tube(91, 1), 4},
    {"I flange outstand at 10 eps", rolledI("I", 100, 23, 3, 1, 0, 1, 1, 1), 2},  // c = (23 - 3) / 2 = 10; web 98 / 3 under 33
    {"I web beyond 42 eps", rolledI("I", 100, 10, 2, 5, 2, 1, 1, 1), 4},          // web c = 100 - 10 - 4 = 86, 43 tw
};

class SectionClassRow : public ::testing::TestWithParam<ClassCase> {};

TEST_P(SectionClassRow, IsTable52s) { EXPECT_EQ(crossSectionClass(GetParam().section, 235).sectionClass, GetParam().sectionClass); }

INSTANTIATE_TEST_SUITE_P(En1993, SectionClassRow, ::testing::ValuesIn(classCases), ByRowName{});

// A Class 4 section is never passed on its gross area: a hollow one is
// checked with its effective area, a circular one named as not checked in
// compression (and checked in tension, which knows no local buckling).
TEST(En1993Class4, RectangularHollowIsCheckedWithItsEffectiveArea)
{
    const Section thin = hollow("SHS 200x200x5", SectionShape::RectangularHollow, Manufacture::ColdFormed, 200, 200, 5, 5, 3836, 78.9, 78.9, 30.1);
    const YieldStrength fy = *yieldStrength("S355", thin).value;
    const MemberChecks checks = checkMember(thin, fy, -100, 1.0, 1.0, {});
    EXPECT_EQ(checks.sectionClass.sectionClass, 4);
    ASSERT_TRUE(checks.effective);
    EXPECT_LT(checks.effective->Aeff, thin.A);
    EXPECT_EQ(checks.verdict.governing, CheckKind::Compression);
    EXPECT_EQ(checks.verdict.clause, "EN 1993-1-1 6.2.4 (6.11)");
    EXPECT_LT(checks.verdict.resistance, thin.A * 355 / 1000);
}

TEST(En1993Class4, CircularHollowIsNotCheckedInCompression)
{
    const Section thin = hollow("CHS 508x5", SectionShape::CircularHollow, Manufacture::HotFinished, 508, 508, 5, 5, 7901, 178, 178, 62);
    const YieldStrength fy = *yieldStrength("S355", thin).value;
    const MemberChecks compressed = checkMember(thin, fy, -1, 1.0, 1.0, {});
    EXPECT_EQ(compressed.verdict.governing, CheckKind::NotChecked);
    EXPECT_FALSE(compressed.verdict.holds());
    EXPECT_NE(compressed.verdict.notChecked.find("EN 1993-1-6"), std::string::npos);
    EXPECT_TRUE(checkMember(thin, fy, 1, 1.0, 1.0, {}).verdict.holds());
}

}  // namespace
