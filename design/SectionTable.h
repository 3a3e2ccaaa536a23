#pragma once

#include <string_view>
#include <vector>

#include "design/Section.h"

// STAND-IN until the section tables land: four sections entered by hand so
// that the design command can be built and tried. The tables replace this
// header and SectionTable.cpp whole; the design code uses only the two
// functions below.

// The section of the code's tables with this designation, matched ignoring
// case and blanks; nullptr when there is none.
const Section* findSection(std::string_view designation, DesignCode code);

// Every section of the family in the code's tables.
std::vector<const Section*> sectionsOf(DesignCode code, SectionFamily family);
