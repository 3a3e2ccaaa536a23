#pragma once

#include <map>
#include <optional>
#include <vector>

#include "design/MemberDesign.h"

// Sizing: for each group asked, the lightest section of its candidates (by
// mass per metre) for which every member of the group holds. The truss is
// given the chosen sections' areas and solved again, and the choice made
// again from the new forces, until it no longer changes: the forces of a
// statically indeterminate truss depend on its members' areas.

struct SizingRequest {
    std::map<MemberGroup, std::vector<const Section*>> candidates;  // the groups to size
    GroupSections fixed;                                            // the groups given a section
    DesignSettings settings;
    int maxRounds = 20;
};

struct Sizing {
    enum class Outcome { Settled, NotSettled, NoSectionHolds };
    Outcome outcome = Outcome::Settled;
    int rounds = 0;                     // solutions worked out
    GroupSections chosen;               // every group: its fixed or chosen section
    std::vector<MemberGroup> unheld;    // NoSectionHolds: the groups no candidate carries
    TrussFileContent truss;             // the file with the chosen sections' areas (mm2, as Singles)
    std::optional<TrussSolution> solution;  // of that file
    std::optional<TrussDesign> design;      // of the chosen sections under that solution
};

// The truss with each group's members given its section's area.
TrussFileContent withSectionAreas(TrussFileContent truss, const std::vector<MemberGroup>& groupOfMember,
                                  const GroupSections& sections);

// Refused, with the reason, as the design is (a member in no group, a
// section of the other code, a grade that does not fit a section), and when
// a truss on the areas chosen cannot be solved.
Result<Sizing> sizeTruss(const TrussFileContent& truss, const SizingRequest& request);
