#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/ErrorBound.h"
#include "analysis/Refinement.h"
#include "analysis/TrussResults.h"
#include "analysis/TrussSystem.h"

// A refined solution of the truss under loads (force: its members' forces, as forcesOf gives them)
// turned into the numbers solve gives, with the accuracy of each kind of
// number, and checked: the solution, or the place where it is least
// certain.
struct CheckedSolution {
    std::optional<TrussSolution> solution;
    std::string leastCertain;  // "node 12 in y", "member 7": where it failed the check
    // Where the check failed on the rounding to double of numbers too large
    // for the loads, which no wider arithmetic changes: what failed, to
    // follow leastCertain. Empty where the arithmetic fell short.
    std::string limit;
};

template <class W>
CheckedSolution checkedSolution(const TrussSystem& s, const NodeForces& loads, const std::vector<Bar<W>>& bars,
                                const Refined<W>& r, const std::vector<W>& force, const ErrorBounds& bound, int arithmetic);

extern template CheckedSolution checkedSolution(const TrussSystem&, const NodeForces&, const std::vector<Bar<Extended>>&, const Refined<Extended>&,
                                                const std::vector<Extended>&, const ErrorBounds&, int);
#if AMBRELL_HAS_QUAD
extern template CheckedSolution checkedSolution(const TrussSystem&, const NodeForces&, const std::vector<Bar<Quad>>&, const Refined<Quad>&,
                                                const std::vector<Quad>&, const ErrorBounds&, int);
#endif
