#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "analysis/NodeLoads.h"

// What solving a truss gives, and how sure of it it is: the vocabulary that
// the solver, its check and everything that shows a solution share.

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

// The largest error of any number of each kind, against the exact solution
// of the truss exactly as the file gives it: bounded (ErrorBound.h), as
// printed, in double, displacements in mm.
struct Accuracy {
    double displacement = 0.0;  // m
    double reaction = 0.0;      // kN
    double force = 0.0;         // kN
    double stress = 0.0;        // N/mm2, the largest of the members' stressAccuracy
};

// Every solution is checked before it is given, to relativeTolerance:
// - each free node in equilibrium, against the sum of the sizes of the loads
//   that reach the members: a load where a support holds its node in its
//   direction (the file's loads are vertical; pin and roller hold y) goes
//   straight into the reaction and makes no member force, so it does not
//   count;
// - the estimated error of the member forces, against the largest force, or
//   those loads where they are larger;
// - the reactions balancing the loads (both sums of forces, and the moment
//   about the pin over the truss's size), and the estimated error of the
//   reactions, against the sum of the sizes of all the loads, as each
//   reaction carries its node's load;
// - the estimated error of the displacements, against the largest
//   displacement.
inline constexpr double relativeTolerance = 1e-9;

// "1e-9", whatever the locale.
std::string relativeToleranceText();

struct TrussSolution {
    // Indexed by node and member number as in the file; row 0 stays zero.
    std::vector<NodeResult> nodes;
    std::vector<MemberResult> members;
    int unknowns = 0;                // free displacements
    double residual = 0.0;           // kN: the largest out-of-balance force at a free node
    double imbalance = 0.0;          // kN: what the reactions leave of the loads unbalanced
    double tolerance = 0.0;          // kN: what residual stays within, relativeTolerance of the loads that reach the members
    double reactionTolerance = 0.0;  // kN: what imbalance and accuracy.reaction stay within, relativeTolerance of all the loads
    Accuracy accuracy;
    int arithmetic = 53;             // bits of the arithmetic whose factorisation passed the check
    NodeForces loads;                // kN, by node: what the truss was solved for
};

// The arithmetic of so many significand bits as an engineer reads it:
// "double precision, a 53-bit significand". "64-bit arithmetic" would read as
// plain double.
std::string arithmeticName(int bits);

inline constexpr double millimetresPerMetre = 1000.0;
inline constexpr double newtonsPerKilonewton = 1000.0;

// A member's stress is known as well as its force, over its own area, and
// for the two roundings of computing it (force / A x 1000) in double.
inline double stressAccuracy(const TrussSolution& s, int member, double area)
{
    return (s.accuracy.force + 0x1p-52 * std::fabs(s.members[static_cast<std::size_t>(member)].force)) / area
           * newtonsPerKilonewton;
}
