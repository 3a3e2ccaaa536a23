#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/TrussSolver.h"
#include "kvrfile/TrussCheck.h"
#include "kvrfile/TrussFileContent.h"

// A truss file as the viewer and the calculation pages see it: what it
// holds, what check finds in it, and its solution, or why solve refuses it.
struct TrussStudy {
    TrussFileContent truss;
    TrussCheckReport check;
    std::optional<TrussSolution> solution;
    std::string refusal;  // why there is no solution; empty when there is one

    bool drawable() const { return truss.hasTables(); }
    // Read, and not yet checked and solved (a study made by studyTruss never is).
    bool toStudy() const { return drawable() && !solution && refusal.empty(); }
    // The member forces (kN) by member number, or none without a solution.
    std::vector<double> forces() const;
};

// The file checked, and solved.
TrussStudy studyTruss(TrussFileContent truss);
