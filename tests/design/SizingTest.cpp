// Sizing: a lighter section than one that holds is chosen only when it
// holds itself, a group no section carries is named, and an indeterminate
// truss settles on areas whose forces choose them again.
#include <gtest/gtest.h>

#include "DesignTestSupport.h"
#include "TrussSupport.h"
#include "TrussTestSupport.h"
#include "design/Sizing.h"

namespace {

GroupSections allOf(const Section& section)
{
    GroupSections all;
    for (const MemberGroup group : designGroups)
        all[group] = &section;
    return all;
}

// Whether every member of the group holds in the section, the others as given.
bool groupHolds(const TrussFileContent& truss, GroupSections sections, MemberGroup group, const Section& section)
{
    sections[group] = &section;
    const TrussDesign design = *designTruss(truss, *solveTruss(truss).value, sections, {}).value;
    for (const MemberDesign& m : design.members)
        if (m.group == group && !m.verdict().holds())
            return false;
    return true;
}

struct SizingCase {
    const char* name;
    float P;  // kN
    MemberGroup group;
    const Section* chosen;  // nullptr: none holds
};

// The diagonals of the four-panel truss carry 2.5P at most, in tension:
// SHS 50x50x3 holds 554 x 355 = 196.7 kN, SHS 60x60x4 312.0 kN, SHS 100x100x5 663.9 kN.
const SizingCase sizingCases[] = {
    {"the lightest when it holds", 50, MemberGroup::Diagonal, &shs50},     // 125 kN
    {"the next when the lightest fails", 100, MemberGroup::Diagonal, &shs60},  // 250 kN
    {"none when the heaviest fails", 300, MemberGroup::Diagonal, nullptr},  // 750 kN
};

class SizingRow : public ::testing::TestWithParam<SizingCase> {};

TEST_P(SizingRow, ChoosesTheLightestThatHolds)
{
    const SizingCase& c = GetParam();
    const TrussFileContent truss = pratt(4, c.P);
    SizingRequest request;
    request.fixed = allOf(shs100);
    request.fixed.erase(c.group);
    request.candidates[c.group] = {&shs100, &shs50, &shs60};  // not in the order of their mass
    const Result<Sizing> sizing = sizeTruss(truss, request);
    ASSERT_TRUE(sizing.value) << sizing.error;
    if (c.chosen == nullptr) {
        EXPECT_EQ(sizing.value->outcome, Sizing::Outcome::NoSectionHolds);
        EXPECT_EQ(sizing.value->unheld, std::vector<MemberGroup>{c.group});
        return;
    }
    EXPECT_EQ(sizing.value->outcome, Sizing::Outcome::Settled);
    ASSERT_EQ(sizing.value->chosen.at(c.group), c.chosen);
    EXPECT_TRUE(sizing.value->design->allHold());
    for (const Section* lighter : {&shs50, &shs60}) {
        if (lighter->massPerMetre < c.chosen->massPerMetre) {
            EXPECT_FALSE(groupHolds(truss, request.fixed, c.group, *lighter)) << lighter->designation;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizing, SizingRow, ::testing::ValuesIn(sizingCases), ByRowName{});

// Seven panels: the middle one crossed, one member too many for statics.
// The file written holds the chosen sections' areas, and sizing it again
// chooses the same at once.
TEST(SizingIndeterminate, SettlesOnAreasThatChooseThemselves)
{
    const TrussFileContent truss = pratt(7, 40);
    SizingRequest request;
    for (const MemberGroup group : designGroups)
        request.candidates[group] = {&shs50, &shs60, &shs100};
    const Sizing sizing = *sizeTruss(truss, request).value;
    ASSERT_EQ(sizing.outcome, Sizing::Outcome::Settled);
    EXPECT_GE(sizing.rounds, 2);
    EXPECT_TRUE(sizing.design->allHold());
    for (int m = 1; m <= truss.noMembers; ++m)
        EXPECT_EQ(sizing.truss.member(m, MemberColumn::A), float(sizing.chosen.at(groupOf(truss, m))->A)) << m;

    const Sizing again = *sizeTruss(sizing.truss, request).value;
    EXPECT_EQ(again.rounds, 1);
    EXPECT_EQ(again.chosen, sizing.chosen);
}

}  // namespace
