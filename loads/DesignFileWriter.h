#pragma once

#include <string>

#include "loads/DesignFile.h"

// The design file as TOML that parseDesignFile reads back to the same
// DesignFile (its lines apart: where each case stands is the new text's):
// the code, the steel, the sections ("web" where the verticals and the
// diagonals share one), the restraints, the deflection limit, EN 1990's
// expression (en1993 only), every case with its keys and the engineer's
// own combinations, in that order. Numbers as short as reads back to the
// same double, the same in every locale. The file is written afresh: the
// comments and layout of a file it was read from are not kept. Its numbers
// must be finite, as the reader gives them.
std::string designFileText(const DesignFile& design);
