#pragma once

#include <string_view>
#include <vector>

#include "kvrfile/TrussFileReader.h"

// The parts of a truss, read from the geometry of its file as every truss
// the programs write lays it out: node 1 is the pin at the left end of the
// bottom chord, and the last node is on the top chord, at its right end
// where the top chord is level (the node before it as high), at the apex
// of a pitched truss (the only node so high).
//
// A member is
// - vertical: both ends at the same x;
// - on the bottom chord: both ends as high as node 1;
// - on the top chord: both ends as high as the last node, where the top
//   chord is level; where it is pitched, both on one rafter, the line from
//   node 1 to the apex or its mirror image about the apex;
// - a diagonal: any other.
// Where the geometry cannot tell (node 1 and the last node not apart both
// across and up, a member of no length, a coordinate not finite), the
// numbering of a Pratt truss tells: nodes 1..panels + 1 along the bottom
// chord, the rest along the top chord, a vertical joining nodes panels + 1
// apart.
enum class MemberGroup { BottomChord, TopChord, Vertical, Diagonal, Unknown };

const char* groupName(MemberGroup group);

// A group by what its members are called together: "top chord", "bottom
// chord", "verticals", "diagonals"; "unknown" for none.
const char* titleOf(MemberGroup group);

// The keys that name groups in design options and design files, and the
// groups each names: top, bottom, verticals, diagonals, and web for both.
inline constexpr std::string_view groupKeys[] = {"top", "bottom", "verticals", "diagonals", "web"};
std::vector<MemberGroup> groupsOfKey(std::string_view key);  // none for a word that is no key

// The panels: the members of the top chord or of the bottom chord, whichever
// has more; 0 when neither has any. The file must have its tables.
int panelsOf(const TrussFileContent& truss);

// The group of member row m. The file must have its tables; each call takes
// the same short time whatever the truss's size.
MemberGroup groupOf(const TrussFileContent& truss, int m);

// A member's node number when column holds a whole number in 1..noNodes; 0 otherwise.
int nodeNumber(const TrussFileContent& truss, int m, int column);
