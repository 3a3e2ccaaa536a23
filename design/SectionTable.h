#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "design/Section.h"

// The section tables: every section of a code, read once from the data files
// the build embedded (design/sections). An EN section's properties are
// computed from its dimensions; an AISC shape's are those the AISC Manual
// prints, which it computed from the producers' unrounded dimensions.
// Sections come family by family in the tables' order.
//
// Designations are as the tables write them ("SHS 100x100x5", "CHS 88.9x4",
// "IPE 200", "HSS6x6x3/8", "HSS6.625x0.280", "W8X31"); a cold-formed EN
// 10219-2 hollow section ends in " CF" ("SHS 100x100x5 CF"), a hot-finished
// EN 10210-2 one of the same size does not. Within a code each designation
// names one section.

std::span<const Section> sectionsOf(DesignCode code);
std::vector<const Section*> sectionsOf(DesignCode code, SectionFamily family);

// The section a designation names within a code, ignoring case and blanks
// ("shs100x100x5" finds "SHS 100x100x5"); nullptr when none.
const Section* findSection(DesignCode code, std::string_view designation);

// What findSection compares: the designation in lower case, without blanks.
std::string designationKey(std::string_view designation);

// The families of a code, in the tables' order: SHS RHS CHS IPE HEA HEB; HSS W.
std::span<const SectionFamily> familiesOf(DesignCode code);
DesignCode codeOf(SectionFamily family);

// Names as the command line and the CSV write them: "SHS"; "en1993", "aisc360".
std::string_view nameOf(SectionFamily family);
std::string_view nameOf(DesignCode code);
std::optional<SectionFamily> familyNamed(std::string_view name);  // in any case
std::optional<DesignCode> codeNamed(std::string_view name);       // in any case

// The properties the dimensions alone give: A, Iy and Iz with the wall
// tDesign and the corners or root fillets of the section's standard, the
// mass at 7850 kg/m3 with the nominal wall. The EN sections take theirs from
// it; for the AISC shapes it is a check of the printed values.
struct AreaInertiaAndMass {
    double A = 0.0;             // mm2
    double Iy = 0.0, Iz = 0.0;  // mm4
    double massPerMetre = 0.0;  // kg/m
};
AreaInertiaAndMass propertiesFromDimensions(const Section& section);
