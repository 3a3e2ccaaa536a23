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

// The largest error, estimated, of any number of each kind, against the
// exact solution of the truss exactly as the file gives it.
struct Accuracy {
    double displacement = 0.0;  // m
    double reaction = 0.0;      // kN
    double force = 0.0;         // kN
    double stress = 0.0;        // N/mm2, in the member of the smallest A; a member's own is force / its A
};

// Every solution is checked before it is given: each free node in
// equilibrium and the reactions balancing the loads, to relativeTolerance
// of the sum of the loads' sizes; the estimated error of the reactions
// within the same, that of the member forces within relativeTolerance of
// the largest force (or of the loads, where they are larger), that of the
// displacements within relativeTolerance of the largest displacement.
inline constexpr double relativeTolerance = 1e-9;

struct TrussSolution {
    // Indexed by node and member number as in the file; row 0 stays zero.
    std::vector<NodeResult> nodes;
    std::vector<MemberResult> members;
    int unknowns = 0;       // free displacements
    double residual = 0.0;  // kN: the largest out-of-balance force at a free node, or of the reactions against the loads
    double tolerance = 0.0; // kN: what residual and accuracy.reaction stay within
    Accuracy accuracy;
    int arithmetic = 53;    // bits of the arithmetic whose factorisation passed the check
};

// The solution, or one line naming where the fault is.
using TrussAnalysis = Result<TrussSolution>;

// Refuses, with one line that names the node or member at fault: a file
// that check finds inconsistent (zero-length members and members without
// positive E and A included); a mechanism; a truss whose factorisation
// would be too large; a truss too ill-conditioned for a solution that
// passes the check even in the widest arithmetic.
TrussAnalysis solveTruss(const TrussFileContent& truss);

// The arithmetic of so many significand bits as an engineer reads it:
// "double precision, a 53-bit significand". "64-bit arithmetic" would read as
// plain double.
std::string arithmeticName(int bits);

inline constexpr double millimetresPerMetre = 1000.0;
inline constexpr double newtonsPerKilonewton = 1000.0;
