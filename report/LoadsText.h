#pragma once

#include <vector>

#include <QString>

#include "loads/Combination.h"
#include "loads/DesignFile.h"

// The words of a design file's loads, as kvrtool and the pages give them.
namespace loadsText {

// One line a combination: its name, its terms in the notation that
// --combination reads back, and where it comes from:
//   ULS 1   1.35 G + 1.5 Q   EN 1990 6.10
QString combinationsList(const std::vector<Combination>& combinations);

// What a solution was solved for, as its first line says it:
// "loads: case W of design.toml", "loads: 1.35 G + 1.5 Q of design.toml".
QString loadsLine(const DesignFile& design, const QString& asked, bool isCase);

}  // namespace loadsText
