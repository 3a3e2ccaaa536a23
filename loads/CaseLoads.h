#pragma once

#include <span>
#include <string>
#include <vector>

#include "analysis/NodeLoads.h"
#include "kvrfile/Result.h"
#include "kvrfile/TrussFileContent.h"
#include "loads/Combination.h"
#include "loads/DesignFile.h"

// The loads of one case on the nodes of a truss.
struct CaseLoads {
    std::string name;
    NodeForces forces;
};

// Standard gravity, m/s2, by which a section's mass per metre weighs.
inline constexpr double standardGravity = 9.80665;

// The members' own weight: length x mass per metre x g, half to each end
// node, downwards; each member's section by its group. Refused, naming the
// member, when its group has no section or it is in no group.
Result<NodeForces> selfWeightOf(const TrussFileContent& truss, const GroupSections& sections);

// A uniform vertical load w (kN/m on plan, downwards negative) on the top
// chord: the nodes that top-chord members join, each taking w times half
// the horizontal distance between its neighbours; an end node of the chord
// also takes the roof out to the truss's end (half a spacing where the
// chord reaches the end), so that the whole is w times the truss's length. Refused when the truss has no top chord.
Result<NodeForces> topChordUdlOf(const TrussFileContent& truss, double w);

// Every case of the design file on the truss's nodes, in the file's order,
// each member's weight by the sections given. Refused with the design
// file's line when a case does not fit the truss (a node it has not, a
// group without a section for the self-weight).
Result<std::vector<CaseLoads>> caseLoadsOf(const DesignFile& design, const TrussFileContent& truss,
                                           const GroupSections& sections);
inline Result<std::vector<CaseLoads>> caseLoadsOf(const DesignFile& design, const TrussFileContent& truss)
{
    return caseLoadsOf(design, truss, design.sections);
}

// The factored sum of the cases a combination names (each must be among cases).
NodeForces superposed(std::span<const CombinationTerm> terms, std::span<const CaseLoads> cases);
