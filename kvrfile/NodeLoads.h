#pragma once

#include "kvrfile/TrussFileReader.h"

// The vertical node loads of a truss file (kN, downwards negative). The file
// holds node loads only: a uniform load w and point loads P both reach it as
// equal loads at equal spacing with half loads at the two ends, so it cannot
// tell which of the two the engineer entered.
struct NodeLoads {
    double total = 0.0;  // kN
    int loaded = 0;      // nodes with a load

    // Set when the loads are spread evenly: equal loads at equal spacing
    // along x, half of one at each end of the row.
    bool even = false;
    double each = 0.0;    // kN, at every node of the row but its two ends
    double pitch = 0.0;   // m, between neighbouring loaded nodes
    double length = 0.0;  // m, from the first loaded node to the last

    double perMetre() const { return total / length; }  // kN/m, when even
};

// The file must have its tables.
NodeLoads nodeLoadsOf(const TrussFileContent& truss);
