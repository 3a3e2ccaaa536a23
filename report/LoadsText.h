#pragma once

#include <optional>
#include <vector>

#include <QString>

#include "design/MemberDesign.h"
#include "kvrfile/Result.h"
#include "loads/Combination.h"
#include "loads/DesignFile.h"
#include "loads/DesignFileUse.h"

// The words of a design file's loads, as kvrtool and the pages give them.
namespace loadsText {

// One line a combination: its name, its terms in the notation that
// --combination reads back, and where it comes from:
//   ULS 1   1.35 G + 1.5 Q   EN 1990 6.10
QString combinationsList(const std::vector<Combination>& combinations);

// The loads a solve is asked for: a case by its name, or a combination
// (the option of each, --case or --combination, names its mistakes).
struct AskedLoads {
    std::optional<QString> caseName, combination;
};

// The loads asked for from the design file, and the line that says what
// they are ("loads: case W of design.toml"); refused in one line, naming
// the option: none or both asked, a case the file has not, a case that
// does not fit the truss.
struct Loads {
    NodeForces forces;
    QString line;
};
Result<Loads> loadsOf(const DesignFile& design, const AskedLoads& asked, const TrussFileContent& truss);

// Each member's governing combination by its name, by member number, for
// designText's combination column.
std::vector<QString> governingNames(const EnvelopeDesign& envelope);

}  // namespace loadsText
