#pragma once

#include <map>
#include <optional>

#include <QString>

#include "design/MemberDesign.h"

// What the engineer chose in the Design panel for one truss file. Its home
// is the design file beside the truss file (DesignChoiceFile.h); for a file
// without one it is kept in the viewer's settings, under the file's absolute
// path, so that the file opened again, in any window, comes back with its
// choice.
struct DesignChoice {
    // A code's own grade and sections, so that trying the other code loses nothing.
    struct OfCode {
        QString grade;                            // empty: the code's default
        std::map<MemberGroup, QString> sections;  // designations as chosen or typed
        bool operator==(const OfCode&) const = default;
    };

    DesignCode code = DesignCode::En1993;
    std::map<DesignCode, OfCode> codes;
    std::map<MemberGroup, double> outOfPlane;  // m between lateral restraints; none: the member's length

    OfCode& ofCode() { return codes[code]; }
    OfCode ofCode() const;
    bool operator==(const DesignChoice&) const = default;
};

// From the viewer's settings: none when nothing was chosen for the file.
std::optional<DesignChoice> loadDesignChoice(const QString& path);
void saveDesignChoice(const QString& path, const DesignChoice& choice);

// What designTruss takes; the first group without a section, or a
// designation the code's tables do not hold, when not.
struct DesignInput {
    GroupSections sections;
    DesignSettings settings;
};
Result<DesignInput> designInputOf(const DesignChoice& choice);

// The word a group is kept and named under: "top", "bottom", "verticals", "diagonals".
QString groupKey(MemberGroup group);
