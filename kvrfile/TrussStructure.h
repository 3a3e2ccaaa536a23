#pragma once

#include "kvrfile/TrussFileReader.h"

// What the numbering of a Pratt truss file says about its parts: nodes
// 1..panels + 1 run along the bottom chord, the rest along the top chord.
enum class MemberGroup { BottomChord, TopChord, Vertical, Diagonal, Unknown };

const char* groupName(MemberGroup group);

// Panels implied by the node count (2 x panels + 2 nodes); 0 when it implies none.
int panelsOf(const TrussFileContent& truss);

// The group of member row m, from the node numbers it joins.
MemberGroup groupOf(const TrussFileContent& truss, int m);

// A member's node number when column holds a whole number in 1..noNodes; 0 otherwise.
int nodeNumber(const TrussFileContent& truss, int m, int column);
