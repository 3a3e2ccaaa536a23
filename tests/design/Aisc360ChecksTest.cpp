// AISC 360-16 member checks against the AISC Design Examples (v14.0: the
// clauses used, D2, E3 and B4.1a, are unchanged in 360-16), and the
// effective area of slender elements.
#include <gtest/gtest.h>

#include "DesignTestSupport.h"
#include "TrussTestSupport.h"
#include "design/Aisc360Checks.h"

namespace {

using namespace aisc360;

constexpr double in = 25.4;    // mm
constexpr double ft = 0.3048;  // m

struct MemberExample {
    const char* name;
    Section section;
    const char* grade;
    double force, lengthInPlane, lengthOutOfPlane;  // kN, m
    const char* phiPnKips;    // as published
    const char* slenderness;  // L/r (D1) or Lc/r (E2)
    CheckKind governing;
};

const MemberExample memberExamples[] = {
    // Example E.9, rectangular HSS compression member without slender
    // elements: HSS12x10x3/8, A500 Gr. B (Fy 46 ksi), Ag 14.6 in2, rx 4.61 in,
    // ry 4.01 in, tdes 0.349 in, Lc = 0.8 x 20 ft = 16 ft about both axes:
    // Lc/ry 47.9 < 4.71 sqrt(E/Fy) = 118, phi_c Pn = 518 kips.
    {"Example E.9 HSS12x10x3/8",
     hollow("HSS12x10x3/8", SectionShape::RectangularHollow, Manufacture::ColdFormed, 12 * in, 10 * in, 0.375 * in, 0.349 * in,
            14.6 * in * in, 4.61 * in, 4.01 * in, 0, DesignCode::Aisc360),
     "A500 Gr. B", -1000, 16 * ft, 16 * ft, "518", "47.9", CheckKind::BucklingOutOfPlane},
    // Example D.1, W-shape tension member: W8x21, A992, Ag 6.16 in2, ry 1.26
    // in, 25 ft: yielding phi_t Pn = 277 kips (its rupture, 211 kips, is of
    // a bolted end; welded ends leave Ae = Ag), L/r = 238.
    {"Example D.1 W8x21", rolledI("W8X21", 8.28 * in, 5.27 * in, 0.25 * in, 0.4 * in, 0.4 * in, 6.16 * in * in, 3.49 * in, 1.26 * in, DesignCode::Aisc360),
     "A992", 500, 25 * ft, 25 * ft, "277", "238", CheckKind::Tension},
};

class AiscWorkedExample : public ::testing::TestWithParam<MemberExample> {};

TEST_P(AiscWorkedExample, MatchesThePublishedStrength)
{
    const MemberExample& e = GetParam();
    const Result<Steel> steel = astmGrade(e.grade, e.section);
    ASSERT_TRUE(steel.value) << steel.error;
    const MemberChecks checks = checkMember(e.section, *steel.value, e.force, e.lengthInPlane, e.lengthOutOfPlane);
    EXPECT_EQ(checks.verdict.governing, e.governing);
    EXPECT_TRUE(matchesPublished(checks.verdict.resistance / kilonewtonsPerKip, e.phiPnKips));
    EXPECT_TRUE(matchesPublished(checks.slenderness.ratio, e.slenderness));
    EXPECT_TRUE(checks.slenderness.within());
}

INSTANTIATE_TEST_SUITE_P(Aisc360, AiscWorkedExample, ::testing::ValuesIn(memberExamples), ByRowName{});

// Example E.9's walls: h/t = (12 - 3 x 0.349) / 0.349 = 31.4 < lambda_r = 1.40 sqrt(E/Fy) = 35.2.
TEST(Aisc360Elements, ExampleE9WallsAreNotSlender)
{
    const MemberExample& e = memberExamples[0];
    const WidthToThickness elements = widthToThickness(e.section, *astmGrade(e.grade, e.section).value);
    EXPECT_FALSE(elements.slender);
    ASSERT_EQ(elements.elements.size(), 2U);
    EXPECT_TRUE(matchesPublished(elements.elements[0].lambda(), "31.4"));
    EXPECT_TRUE(matchesPublished(elements.elements[0].lambdaR, "35.2"));
}

// A wall beyond lambda_r is not passed on its gross area: E7 takes an
// effective area, less than Ag; a round HSS beyond 0.45 E/Fy (D/t 310 here) is not checked.
TEST(Aisc360Elements, SlenderWallsTakeAnEffectiveArea)
{
    const Section thin = hollow("HSS12x12x1/8", SectionShape::RectangularHollow, Manufacture::ColdFormed, 12 * in, 12 * in, 0.125 * in,
                                0.116 * in, 5.37 * in * in, 4.86 * in, 4.86 * in, 0, DesignCode::Aisc360);
    const MemberChecks checks = checkMember(thin, *astmGrade("A500 Gr. C", thin).value, -10, 1.0, 1.0);
    ASSERT_TRUE(checks.elements.slender);
    ASSERT_TRUE(checks.inPlane->effective);
    EXPECT_LT(checks.inPlane->effective->Ae, thin.A / (in * in));
    EXPECT_EQ(checks.verdict.clause, "AISC 360-16 E7 (E7-1)");

    const Section tube = hollow("round HSS 36 x 0.125", SectionShape::CircularHollow, Manufacture::ColdFormed, 36 * in, 36 * in,
                                0.125 * in, 0.116 * in, 13.1 * in * in, 12.7 * in, 12.7 * in, 0, DesignCode::Aisc360);
    EXPECT_EQ(checkMember(tube, *astmGrade("A500 Gr. C", tube).value, -10, 1.0, 1.0).verdict.governing, CheckKind::NotChecked);
}

TEST(Aisc360Grades, AGradeIsReadOnlyForTheShapesItCovers)
{
    const Section w = rolledI("W8X31", 203, 203, 7, 11, 10, 5890, 88, 51, DesignCode::Aisc360);
    EXPECT_EQ(astmGrade("a992", w).value->Fy, 50);
    EXPECT_FALSE(astmGrade("A500 Gr. C", w).value);
    EXPECT_FALSE(astmGrade("A36", w).value);
}

}  // namespace
