#pragma once

#include <vector>

#include "kvrfile/TrussFileContent.h"
#include "kvrfile/TrussStructure.h"  // the member groups: groupOf, groupName, panelsOf

// What every part of the programs asks of a truss: how far it reaches, where
// it is held, and (TrussStructure.h) what each member is. One reading of each,
// so that a drawing, a summary and a check never disagree about them.

// The box around the truss's nodes. A node with an x or a y that is not
// finite has no place, and is left out; a truss with no node in place has
// an empty extent, of span and height 0.
struct Extent {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;  // m; all 0 when empty
    bool empty = true;

    double span() const { return xMax - xMin; }
    double height() const { return yMax - yMin; }
    double size() const { return span() > height() ? span() : height(); }  // the larger of the two
};

// The file must have its tables.
Extent extentOf(const TrussFileContent& truss);

// The nodes held by a pin and by a roller, ascending: those whose support
// code is exactly SupportCode::Pin or SupportCode::Roller (a code that is
// not finite is neither). A truss that passes the check has one of each.
struct Supports {
    std::vector<int> pins, rollers;

    // The pin and the roller where there is exactly one of each kind; 0 otherwise.
    int pin() const { return pins.size() == 1 ? pins.front() : 0; }
    int roller() const { return rollers.size() == 1 ? rollers.front() : 0; }
    // Every held node, ascending.
    std::vector<int> nodes() const;
};

// The file must have its tables.
Supports supportsOf(const TrussFileContent& truss);
