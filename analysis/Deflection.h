#pragma once

#include "analysis/TrussResults.h"
#include "kvrfile/TrussFileReader.h"

// How far a solved truss moves, as an engineer judges it: the largest
// vertical deflection against the span, and whether the displacements are
// still small enough for the small-displacement theory that solve assumes.
struct Deflection {
    int largestAt = 1;   // node of the largest displacement
    double largest = 0;  // m, its size
    int verticalAt = 1;  // node of the largest vertical deflection
    double vertical = 0; // m, signed
    double span = 0;     // m, horizontally between the pin and the roller
    double size = 0;     // m, the larger of the truss's length and height

    // L / deflection, as in L/231; 0 when the truss does not deflect.
    double spanRatio() const { return vertical == 0 ? 0 : span / (vertical < 0 ? -vertical : vertical); }

    // Beyond 1 % of the truss's size (L/100, several times what a design
    // code lets a finished structure deflect) members turn by a few
    // hundredths of a radian, and the change of shape that linear theory
    // leaves out begins to show in the forces.
    static constexpr double smallShare = 0.01;
    bool beyondSmallDisplacements() const { return largest > smallShare * size; }
};

Deflection deflectionOf(const TrussFileContent& truss, const TrussSolution& solution);
