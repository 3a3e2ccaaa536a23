#pragma once

#include <vector>

#include "kvrfile/TrussFileContent.h"

// The loads a truss is solved for: one force on each node. The truss file
// gives vertical ones; a load case may add horizontal ones (wind).

// kN: fx to the right, fy upwards (downwards negative, as the file's loads).
struct NodeForce {
    double fx = 0.0, fy = 0.0;
};

// Indexed by node number as in the truss file, nodeRows() long; row 0 stays zero.
using NodeForces = std::vector<NodeForce>;

// The file's own loads, vertical.
inline NodeForces fileLoadsOf(const TrussFileContent& t)
{
    NodeForces loads(t.nodeRows());
    for (int n = 1; n <= t.noNodes; ++n)
        loads[static_cast<std::size_t>(n)].fy = t.node(n, NodeColumn::Load);
    return loads;
}
