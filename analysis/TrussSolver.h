#pragma once

#include <optional>
#include <span>
#include <vector>

#include "analysis/NodeLoads.h"
#include "analysis/TrussResults.h"
#include "kvrfile/Result.h"
#include "kvrfile/TrussFileReader.h"

// The solution, or one line naming where the fault is.
using TrussAnalysis = Result<TrussSolution>;

// Refuses, with one line that names the node or member at fault: a file
// that check finds inconsistent (zero-length members and members without
// positive E and A included); a mechanism; a truss whose factorisation
// would be too large; a truss too ill-conditioned for a solution that
// passes the check even in the widest arithmetic; a truss whose forces or
// reactions are too large for its loads to balance them, rounded to
// double, to relativeTolerance.
TrussAnalysis solveTruss(const TrussFileContent& truss);

// The truss under each of several loads, each solution checked as above:
// one factorisation serves them all (a wider arithmetic, where one is
// needed, serves the cases that need it). Each load nodeRows() long. A
// refusal of the truss itself is every case's.
std::vector<TrussAnalysis> solveTruss(const TrussFileContent& truss, std::span<const NodeForces> cases);
