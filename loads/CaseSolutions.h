#pragma once

#include <span>
#include <string>
#include <vector>

#include "analysis/TrussSolver.h"
#include "kvrfile/Result.h"
#include "loads/CaseLoads.h"
#include "loads/Combination.h"

// The load cases of a design file solved on its truss, and the solutions
// of their combinations by superposition, as linear theory allows.

struct CaseSolution {
    std::string name;
    TrussSolution solution;  // its loads the case's
};

// Every case solved, one factorisation for all, each solution checked as
// solve checks the file's; refused with the first case that cannot be
// ("case W: node 3: …"), or the truss's own refusal where none can.
Result<std::vector<CaseSolution>> solveCases(const TrussFileContent& truss, std::span<const CaseLoads> cases);

// The solution under a combination of the cases (each term's case among
// them): every number the factored sum of the cases'. Its accuracy bounds
// the sum's error: the factored sum of the cases' accuracies, and the
// rounding of the sum of so many terms in double. residual, imbalance and
// their tolerances are the factored sums of the cases', which bound the
// exact sum's.
TrussSolution combinedSolution(std::span<const CombinationTerm> terms, std::span<const CaseSolution> cases);

// Only the members' forces and stresses under a combination, with their
// accuracy as combinedSolution gives it, into buffers the caller keeps: what
// an envelope of many combinations takes of each.
struct CombinedMembers {
    std::vector<MemberResult> members;
    std::vector<double> sizes;  // kN, by member: the sum of its terms' sizes, over which its rounding is bounded
    Accuracy accuracy;          // force and stress
    int arithmetic = 0;
};
void combineMembers(std::span<const CombinationTerm> terms, std::span<const CaseSolution> cases, CombinedMembers& into);
