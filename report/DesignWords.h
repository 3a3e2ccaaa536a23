#pragma once

#include <map>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "kvrfile/Result.h"
#include "report/CalculationPages.h"

// A design as words give it: the options of kvrtool design and report, or a
// choice kept as text. Read the same way wherever it comes from, each
// mistake worded with the option it is in ("--section: no section 'SHS
// 61x61x4' in the EN 1993-1-1 tables").
struct DesignWords {
    std::optional<QString> code, steel, gammaM0, gammaM1, deflectionLimit;  // none: not given
    QStringList sections, outOfPlane, sizes;                                // each GROUP=VALUE

    bool given() const
    {
        return code || steel || gammaM0 || gammaM1 || deflectionLimit || !sections.isEmpty() || !outOfPlane.isEmpty()
               || !sizes.isEmpty();
    }
};

using GroupFamilies = std::map<MemberGroup, std::vector<const Section*>>;

struct AskedDesign {
    DesignRequest request;   // its sections those of the groups given one
    GroupFamilies families;  // of the groups to size, each its family's sections
    QString familyNames;     // "SHS", "SHS or CHS": for the words of a failure
};

// The code; the groups (top, bottom, verticals, diagonals, web for both)
// each given a section of the code's tables or a family of them to size,
// not both, none left out; the distances between restraints, the factors
// (EN 1993-1-1 only) and the deflection limit numbers greater than 0. The
// grade is checked where it meets a section: by the design.
Result<AskedDesign> readDesign(const DesignWords& words);
