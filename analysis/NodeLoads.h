#pragma once

#include <cmath>
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

// The first node whose load is not a finite number (a sum too large for
// double), or 0.
inline int unfiniteNodeOf(const NodeForces& forces)
{
    for (std::size_t n = 1; n < forces.size(); ++n)
        if (!std::isfinite(forces[n].fx) || !std::isfinite(forces[n].fy))
            return int(n);
    return 0;
}
