#pragma once

#include <vector>

#include "analysis/NodeLoads.h"
#include "kvrfile/TrussFileContent.h"

// The members of a truss symmetric about the vertical half way across it:
// for each member, the one that is its mirror image (itself on the axis).
// Symmetric at the precision of the file's Singles: every node has a mirror
// image whose place is that of the node mirrored to within a few Singles'
// rounding of the largest coordinate, with the same load and support to
// within as much (pins to pins where more than one node is held across), and
// every member one joining the mirror images of its nodes, of the same E and
// A. Indexed by member number, row 0 unused; empty when the truss is not so
// symmetric, or its tables do not make a truss. loads: those it carries, the
// file's own unless given; any horizontal one makes it not symmetric here.
std::vector<int> mirrorMembers(const TrussFileContent& truss);
std::vector<int> mirrorMembers(const TrussFileContent& truss, const NodeForces& loads);
