#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "design/Section.h"
#include "kvrfile/TrussStructure.h"
#include "loads/Combination.h"
#include "loads/LoadCase.h"

// Which of EN 1990's expressions the strength combinations follow: 6.10, or
// the less favourable of 6.10a and 6.10b.
enum class En1990Equation { Eq610, Eq610ab };

// A section for each member group, and what an out-of-plane restraint
// distance is given for, in m.
using GroupSections = std::map<MemberGroup, const Section*>;
using GroupLengths = std::map<MemberGroup, double>;

// The design file beside a truss file, as read: everything the design of
// the truss takes besides the truss itself.
struct DesignFile {
    std::string source;  // the file's name as messages give it: "design.toml"
    DesignCode code = DesignCode::En1993;
    std::optional<std::string> steel;  // en1993 grade: "S355"; the checks' own default when not given
    GroupSections sections;            // "web" gives the verticals and the diagonals
    GroupLengths outOfPlane;           // m, between lateral restraints
    double deflectionLimit = 300.0;    // span / deflectionLimit
    En1990Equation equation = En1990Equation::Eq610;
    std::vector<LoadCase> cases;               // in the file's order
    std::vector<Combination> ownCombinations;  // the engineer's own, terms in the cases' order

    bool operator==(const DesignFile&) const = default;

    const LoadCase* caseNamed(const std::string& name) const
    {
        for (const LoadCase& c : cases)
            if (c.name == name)
                return &c;
        return nullptr;
    }
    std::vector<std::string> caseNames() const
    {
        std::vector<std::string> names;
        for (const LoadCase& c : cases)
            names.push_back(c.name);
        return names;
    }
};
