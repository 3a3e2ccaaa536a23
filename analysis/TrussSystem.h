#pragma once

#include <string>
#include <vector>

#include "analysis/SparseLdl.h"
#include "analysis/StiffnessPattern.h"
#include "analysis/TrussModel.h"

// What every analysis of a consistent truss file starts from: its
// unknowns, the order in which they are eliminated, and the size and cost
// of the factorisation, counted before any number of it is computed.
struct TrussSystem {
    explicit TrussSystem(const TrussFileContent& t);

    const TrussFileContent& truss;
    Freedoms freedoms;
    std::vector<MemberFreedoms> at;
    StiffnessPattern pattern;
    FactorShape shape;
    std::string tooInterconnected;  // why its factorisation is not attempted; empty when it is
};
