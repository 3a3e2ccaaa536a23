#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/Refinement.h"
#include "analysis/TrussSolver.h"
#include "analysis/TrussSystem.h"

// A refined solution turned into the numbers solve gives, with the error
// estimate of each kind of number, and checked: the solution, or the place
// where it is least certain.
struct CheckedSolution {
    std::optional<TrussSolution> solution;
    std::string leastCertain;  // "node 12 in y", "member 7": where it failed the check
};

template <class W>
CheckedSolution checkedSolution(const TrussSystem& s, const std::vector<Bar<W>>& bars, const Refined<W>& r, int arithmetic);

extern template CheckedSolution checkedSolution(const TrussSystem&, const std::vector<Bar<Extended>>&, const Refined<Extended>&, int);
#if AMBRELL_HAS_QUAD
extern template CheckedSolution checkedSolution(const TrussSystem&, const std::vector<Bar<Quad>>&, const Refined<Quad>&, int);
#endif
