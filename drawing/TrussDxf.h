#pragma once

#include <vector>

#include <QByteArray>

#include "kvrfile/TrussFileContent.h"

// The truss for a draughtsman's CAD program: a DXF drawing in metres at the
// file's coordinates, every member a line on its group's layer (top chord,
// bottom chord, vertical, diagonal), the supports and the load arrows with
// their values on layers of their own, and the members' numbers, or given
// their forces (kN, tension positive, indexed by member number) the forces,
// as texts along them. The file must have its tables.
QByteArray toDxf(const TrussFileContent& truss, const std::vector<double>& forces = {});
