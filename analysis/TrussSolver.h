#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kvrfile/Result.h"
#include "kvrfile/TrussFileReader.h"

// The plane pin-jointed truss of a truss file, linear elastic, small
// displacements. Units are the file's: x and y in m, loads in kN, E in
// kN/mm2 and A in mm2, so that E x A is in kN and E x A / L in kN/m, and the
// displacements come out in m.
struct NodeResult {
    double ux = 0.0, uy = 0.0;  // m
    double rx = 0.0, ry = 0.0;  // kN, support reactions; 0 where the node is free
};

struct MemberResult {
    double force = 0.0;   // kN, tension positive
    double stress = 0.0;  // N/mm2
};

struct TrussSolution {
    // Indexed by node and member number as in the file; row 0 stays zero.
    std::vector<NodeResult> nodes;
    std::vector<MemberResult> members;
    int unknowns = 0;       // free displacements
    double residual = 0.0;  // kN: the largest out-of-balance force left at a free node
};

// The solution, or one line naming the node or member at fault.
using TrussAnalysis = Result<TrussSolution>;

// Refuses a file that check finds inconsistent (zero-length members and
// members without positive E and A included) and a mechanism, whose
// stiffness matrix is singular.
TrussAnalysis solveTruss(const TrussFileContent& truss);

inline constexpr double millimetresPerMetre = 1000.0;
inline constexpr double newtonsPerKilonewton = 1000.0;
