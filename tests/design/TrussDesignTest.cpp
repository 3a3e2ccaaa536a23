// The design of a whole truss, against its forces by the method of joints
// and its utilisations worked by hand.
#include <gtest/gtest.h>

#include "DesignTestSupport.h"
#include "TrussSupport.h"
#include "TrussTestSupport.h"

namespace {

// The four-panel truss under P = 100 kN (span 8 m, height 1.5 m: panels
// 2 m, verticals 1.5 m, diagonals 2.5 m, sin = 0.6, cos = 0.8), reactions
// 2P. Joints, from node 1 (pin) along the bottom, node 6 above it:
//   1:  vertical 1-6 = -2P, bottom 1-2 = 0
//   6:  2P - P/2 = 0.6 D(6-2) -> D = +2.5P;  top 6-7 = -0.8 D = -2P
//   2:  bottom 2-3 = 0.8 D = +2P;  vertical 2-7 = -0.6 D = -1.5P
//   7:  1.5P - P = 0.6 D(7-3) -> D = +5P/6;  top 7-8 = -2P - 0.8 D = -8P/3
//   3:  vertical 3-8 = -2 x 0.6 x 5P/6 = -P; the right half mirrors the left.
// S355, fy = 355 N/mm2, lambda1 = pi sqrt(210000 / 355) = 76.41, curve a (alpha 0.21):
//   SHS 60x60x4 (A 879 mm2, i 22.7 mm): Npl,Rd = 879 x 355 = 312.0 kN;
//     at 1.5 m: lambda-bar = 1500 / 22.7 / 76.41 = 0.8648,
//     Phi = 0.5 [1 + 0.21 x 0.6648 + 0.7479] = 0.9438,
//     chi = 1 / (0.9438 + sqrt(0.8907 - 0.7479)) = 0.7567, Nb,Rd = 236.1 kN.
//   SHS 100x100x5 (A 1870 mm2, i 38.6 mm), top chord restrained every 4 m:
//     lambda-bar = 4000 / 38.6 / 76.41 = 1.3562, Phi = 0.5 [1 + 0.21 x 1.1562 + 1.8393] = 1.5411,
//     chi = 1 / (1.5411 + sqrt(2.3749 - 1.8393)) = 0.4400, Nb,Rd = 0.4400 x 663.9 = 292.1 kN
//     (in the plane, 2 m: lambda-bar 0.6781, Nb,Rd 569.4 kN).
struct MemberCase {
    const char* name;
    int member;
    MemberGroup group;
    double force;        // kN, by the joints above
    double utilisation;  // by hand
    CheckKind governing;
};

const MemberCase memberCases[] = {
    {"bottom chord at the support", 1, MemberGroup::BottomChord, 0, 0, CheckKind::Tension},
    {"bottom chord mid", 2, MemberGroup::BottomChord, 200, 200 / 312.0, CheckKind::Tension},
    {"top chord end panel", 5, MemberGroup::TopChord, -200, 200 / 292.1, CheckKind::BucklingOutOfPlane},
    {"top chord mid", 6, MemberGroup::TopChord, -800.0 / 3, 266.67 / 292.1, CheckKind::BucklingOutOfPlane},
    {"end vertical", 9, MemberGroup::Vertical, -200, 200 / 236.1, CheckKind::BucklingInPlane},
    {"second vertical", 10, MemberGroup::Vertical, -150, 150 / 236.1, CheckKind::BucklingInPlane},
    {"middle vertical", 11, MemberGroup::Vertical, -100, 100 / 236.1, CheckKind::BucklingInPlane},
    {"end diagonal", 14, MemberGroup::Diagonal, 250, 250 / 312.0, CheckKind::Tension},
    {"inner diagonal", 15, MemberGroup::Diagonal, 250.0 / 3, 83.33 / 312.0, CheckKind::Tension},
};

class FourPanelTruss : public ::testing::TestWithParam<MemberCase> {
protected:
    static void SetUpTestSuite()
    {
        truss = pratt(4, 100);
        solution = *solveTruss(truss).value;
        DesignSettings settings;
        settings.grade = "S355";
        settings.outOfPlane[MemberGroup::TopChord] = 4.0;
        const GroupSections sections{{MemberGroup::TopChord, &shs100}, {MemberGroup::BottomChord, &shs60},
                                     {MemberGroup::Vertical, &shs60}, {MemberGroup::Diagonal, &shs60}};
        Result<TrussDesign> result = designTruss(truss, solution, sections, settings);
        ASSERT_TRUE(result.value) << result.error;
        design = std::move(*result.value);
    }
    static inline TrussFileContent truss;
    static inline TrussSolution solution;
    static inline TrussDesign design;
};

TEST_P(FourPanelTruss, MemberIsCheckedAsWorkedByHand)
{
    const MemberCase& c = GetParam();
    const MemberDesign& m = design.members.at(std::size_t(c.member - 1));
    EXPECT_EQ(m.member, c.member);
    EXPECT_EQ(m.group, c.group);
    EXPECT_NEAR(m.force, c.force, 1e-6);
    EXPECT_NEAR(m.verdict().utilisation, c.utilisation, 1e-3);
    EXPECT_EQ(m.verdict().governing, c.governing);
}

INSTANTIATE_TEST_SUITE_P(Design, FourPanelTruss, ::testing::ValuesIn(memberCases), ByRowName{});

TEST(FourPanelTrussDesign, NamesTheGoverningMemberOfEachGroupAndItsSteel)
{
    // Every member holds; the top chord's most compressed panel (the first
    // of the two) governs it.
    const TrussFileContent truss = pratt(4, 100);
    DesignSettings settings;
    const GroupSections sections{{MemberGroup::TopChord, &shs100}, {MemberGroup::BottomChord, &shs60},
                                 {MemberGroup::Vertical, &shs60}, {MemberGroup::Diagonal, &shs60}};
    settings.outOfPlane[MemberGroup::TopChord] = 4.0;
    const TrussDesign design = *designTruss(truss, *solveTruss(truss).value, sections, settings).value;
    EXPECT_TRUE(design.allHold());
    EXPECT_EQ(design.governingMember(MemberGroup::TopChord), 6);
    EXPECT_EQ(design.governingMember(MemberGroup::Vertical), 9);
    // 8 m of SHS 100x100x5, 8 m of bottom chord, 5 x 1.5 m and 4 x 2.5 m of SHS 60x60x4.
    EXPECT_NEAR(design.steelMass(), 8 * 14.7 + (8 + 7.5 + 10) * 6.90, 1e-9);

    // Restrained only every 6 m no panel of the top chord holds (lambda-bar
    // 2.034, Phi 2.762, chi 0.216, Nb,Rd 143 kN < 200 kN).
    settings.outOfPlane[MemberGroup::TopChord] = 6.0;
    const TrussDesign weaker = *designTruss(truss, *solveTruss(truss).value, sections, settings).value;
    EXPECT_EQ(weaker.notHolding(), 4);
}

TEST(FourPanelTrussDesign, RefusesWhatItCannotDesign)
{
    const TrussFileContent truss = pratt(4, 100);
    const TrussSolution solution = *solveTruss(truss).value;
    GroupSections sections{{MemberGroup::TopChord, &shs100}, {MemberGroup::BottomChord, &shs60}, {MemberGroup::Vertical, &shs60}};
    EXPECT_EQ(designTruss(truss, solution, sections, {}).error, "the diagonal group has no section");
    sections[MemberGroup::Diagonal] = &shs60;
    DesignSettings aisc;
    aisc.code = DesignCode::Aisc360;
    EXPECT_EQ(designTruss(truss, solution, sections, aisc).error, "SHS 100x100x5 is not a section of the AISC 360-16 tables");
}

}  // namespace
