#pragma once

#include <QString>

#include "design/MemberDesign.h"
#include "design/Sizing.h"

// The words and tables of a truss's design and of its sizing, as kvrtool
// design prints them; numbers the same in every locale.
namespace designText {

// The group as an option and the text name it: "top chord", "bottom chord", "verticals", "diagonals".
QString groupTitle(MemberGroup group);

// The code, material and sections; a note where the file's A differs from
// a section's area; the governing member of each group; every member; the
// verdict; what is not checked.
QString report(const TrussFileContent& truss, const TrussSolution& solution, const TrussDesign& design);

// One row a member, under exactly the head
// member,group,section,length_m,force_kN,resistance_kN,utilisation,governing
// (resistance and utilisation empty for a member not checked).
QString csv(const TrussSolution& solution, const TrussDesign& design);

// The choice of a settled sizing and its steel.
QString sizingReport(const Sizing& sizing);

// Why sizing has no choice: the groups no section carries, or a choice that did not settle.
QString sizingFailure(const Sizing& sizing, const QString& families);

}  // namespace designText
