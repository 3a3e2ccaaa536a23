#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "design/MemberDesign.h"
#include "design/Sizing.h"

// The words and tables of a truss's design and of its sizing, as kvrtool
// design prints them; numbers the same in every locale.
namespace designText {

// The group as an option and the text name it: "top chord", "bottom chord", "verticals", "diagonals".
QString groupTitle(MemberGroup group);

// The parts of the report, for the calculation pages to say the same.
QString forceText(const TrussSolution& solution, double force);  // kN, to the digits the solution vouches for
QString sectionText(const Section& section);                     // "SHS 100x100x5 (EN 10210-2, hot-finished), A 1870 mm2, ..."
QString materialText(const Material& material);                  // "S355, fy 355 N/mm2 (EN 1993-1-1 Table 3.1: ...)"
QString outOfPlaneText(const DesignSettings& settings, MemberGroup group);
// Where the file's A of a group's members is not its section's area, and why that matters; empty where it is.
QString areaNote(const TrussFileContent& truss, const TrussDesign& design);
// Every member holds, or those that do not and those not checked, each a line.
QString verdictText(const TrussDesign& design);
// AISC 360-16's preferred slenderness limits, D1 and E2, a line.
QString slendernessText(const TrussDesign& design);
QString notCheckedHere();  // what no check here covers: connections, bending, ...
// A member's row of the CSV, field by field.
QStringList csvFields(const TrussSolution& solution, const MemberDesign& member);

// The code, material and sections; a note where the file's A differs from
// a section's area; the governing member of each group; every member; the
// verdict; what is not checked.
QString report(const TrussFileContent& truss, const TrussSolution& solution, const TrussDesign& design);
// The same written to stream as it is made, never held whole: megabytes for the largest truss.
void report(QTextStream& stream, const TrussFileContent& truss, const TrussSolution& solution, const TrussDesign& design);

// One row a member, under exactly the head
// member,group,section,length_m,force_kN,resistance_kN,utilisation,governing
// (resistance and utilisation empty for a member not checked).
QString csv(const TrussSolution& solution, const TrussDesign& design);
void csv(QTextStream& stream, const TrussSolution& solution, const TrussDesign& design);

// The choice of a settled sizing and its steel.
QString sizingReport(const Sizing& sizing);

// Why sizing has no choice: the groups no section carries, or a choice that did not settle.
QString sizingFailure(const Sizing& sizing, const QString& families);

}  // namespace designText
