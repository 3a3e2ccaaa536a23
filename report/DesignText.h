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
// AISC 360-16's preferred slenderness limits, D1 and E2, a line.
QString slendernessText(const TrussDesign& design);
QString notCheckedHere();  // what no check here covers: connections, bending, ...

// The code, material and sections; a note where the file's A differs from
// a section's area; the governing member of each group; every member; the
// verdict; what is not checked.
QString report(const TrussFileContent& truss, const TrussSolution& solution, const TrussDesign& design);
// The same written to stream as it is made, never held whole: megabytes for the largest truss.
// combination: for a design for the envelope of the design file's
// combinations, each member's governing one, by member number, which a
// column then shows; empty for the file's own loads.
using MemberCombinations = std::vector<QString>;
void report(QTextStream& stream, const TrussFileContent& truss, const TrussSolution& solution, const TrussDesign& design,
            const MemberCombinations& combination = {});

// The file's A where it is not its group's section's area, and why that
// matters; empty when every member's A is its section's.
QString areaNote(const TrussFileContent& truss, const TrussDesign& design);

// Every member holds; or those that do not, and those not checked: a line each.
QString verdict(const TrussDesign& design);

// The member table: its columns' names in the CSV and as a table heads them,
// and a member's cells as the CSV writes them.
QStringList csvHeads();
QStringList tableHeads();
QStringList memberCells(const TrussSolution& solution, const MemberDesign& member);

// How much of its resistance a member uses, as a drawing colours it: under
// nearLimit, from it up to 1 (holds), over 1 (does not hold), not checked.
inline constexpr double nearLimit = 0.9;
enum class Band { Under, Near, Over, NotChecked };
Band bandOf(const Verdict& verdict);
QString bandName(Band band);  // in a legend's order: "utilisation < 0.9", "0.9 to 1", ...

// A choice that gives no design: a group without a section, a designation
// the code's tables do not hold.
QString missingSection(MemberGroup group);
QString unknownSection(DesignCode code, const QString& designation);
// The grade when none is named: EN 1993-1-1's default, AISC 360-16's by shape.
QString defaultGrade(DesignCode code);

// One row a member, under exactly the head
// member,group,section,length_m,force_kN,resistance_kN,utilisation,governing
// (resistance and utilisation empty for a member not checked), and
// combination after it where the members' combinations are given.
QString csv(const TrussSolution& solution, const TrussDesign& design);
void csv(QTextStream& stream, const TrussSolution& solution, const TrussDesign& design, const MemberCombinations& combination = {});

// The choice of a settled sizing and its steel.
QString sizingReport(const Sizing& sizing);

// Why sizing has no choice: the groups no section carries, or a choice that did not settle.
QString sizingFailure(const Sizing& sizing, const QString& families);

}  // namespace designText
