#pragma once

#include <map>
#include <string>
#include <variant>
#include <vector>

#include "analysis/TrussSolver.h"
#include "design/Aisc360Checks.h"
#include "design/En1993Checks.h"
#include "kvrfile/TrussStructure.h"

// The design of every member of a solved Pratt truss: a section for each of
// its groups, the member's force from the analysis taken as a design value,
// its length from the file, and the checks of the chosen code.

inline constexpr MemberGroup designGroups[] = {MemberGroup::TopChord, MemberGroup::BottomChord, MemberGroup::Vertical,
                                               MemberGroup::Diagonal};

struct DesignSettings {
    DesignCode code = DesignCode::En1993;
    std::string grade;  // empty: S355 for EN 1993-1-1; for AISC 360-16 each shape's usual grade
    en1993::PartialFactors factors;
    std::map<MemberGroup, double> outOfPlane;  // m between lateral restraints; none: the member's length
};

using GroupSections = std::map<MemberGroup, const Section*>;

// A section's steel as its code reads the grade.
using Material = std::variant<en1993::YieldStrength, aisc360::Steel>;
Result<Material> materialOf(const Section& section, const DesignSettings& settings);

using MemberChecks = std::variant<en1993::MemberChecks, aisc360::MemberChecks>;
const Verdict& verdictOf(const MemberChecks& checks);

// force in kN, tension positive; lengths in m.
MemberChecks checkMember(const Section& section, const Material& material, double force, double lengthInPlane,
                         double lengthOutOfPlane, const DesignSettings& settings);

struct MemberDesign {
    int member = 0;
    MemberGroup group = MemberGroup::Unknown;
    const Section* section = nullptr;
    double length = 0.0;      // m
    double outOfPlane = 0.0;  // m, the buckling length out of the plane
    double force = 0.0;       // kN
    MemberChecks checks;
    const Verdict& verdict() const { return verdictOf(checks); }
};

struct TrussDesign {
    DesignSettings settings;
    GroupSections sections;
    std::map<MemberGroup, Material> materials;
    std::vector<MemberDesign> members;  // member 1 first

    int notHolding() const;  // checked and over 1, or not checked
    int notChecked() const;
    bool allHold() const { return notHolding() == 0; }
    // The member of the group that governs: one not checked, else the one of
    // the largest utilisation; 0 when the group has none.
    int governingMember(MemberGroup group) const;
    double steelMass() const;  // kg, of every member at its section's mass per metre
};

// The members' groups and lengths (m) from the file, indexed by member
// number; refused when a member belongs to no group.
struct MemberLayout {
    std::vector<MemberGroup> group;
    std::vector<double> length;
};
Result<MemberLayout> layoutOf(const TrussFileContent& truss);

// Refused, with the reason: a member in no group, a group without a
// section, a section of the other code's tables, a grade that does not fit.
Result<TrussDesign> designTruss(const TrussFileContent& truss, const TrussSolution& solution, const GroupSections& sections,
                                const DesignSettings& settings);

const char* codeName(DesignCode code);

// The member's force (kN), 0 where it is within the solution's accuracy of
// 0: its sign there is the rounding's, not the truss's.
double forceOf(const TrussSolution& solution, int member);  // "EN 1993-1-1", "AISC 360-16"
