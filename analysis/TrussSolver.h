#pragma once

#include <optional>

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
