#include "report/SolveText.h"

#include <QStringList>
#include <QTextStream>

#include "report/MemberResultText.h"
#include "report/ResultText.h"
#include "report/TextTable.h"
#include "report/TrussSummary.h"

namespace {

using resultText::vouched;

constexpr int csvDigits = 17;  // all a double holds

double millimetres(double metres) { return metres * millimetresPerMetre; }

double stressErrorOf(const TrussFileContent& t, const TrussSolution& s, int m)
{
    return stressAccuracy(s, m, t.member(m, MemberColumn::A));
}

const NodeResult& nodeOf(const TrussSolution& s, int n) { return s.nodes[static_cast<std::size_t>(n)]; }
const MemberResult& memberOf(const TrussSolution& s, int m) { return s.members[static_cast<std::size_t>(m)]; }

}  // namespace

QString solutionSummaryText(const TrussFileContent& t, const TrussSolution& s)
{
    QString text;
    QTextStream out(&text);
    out << "solved: " << t.noNodes << " nodes, " << t.noMembers << " members, " << s.unknowns
        << " unknown displacements; linear elastic, small displacements\n";
    for (const SummaryLine& line : resultLinesOf(t, s))
        out << line.label << ": " << line.value << '\n';
    return text;
}

QString solutionTablesText(const TrussFileContent& t, const TrussSolution& s)
{
    const double moved = millimetres(s.accuracy.displacement);
    QString text = QStringLiteral("\nnodes\n");
    const auto nodeLine = [&](const QStringList& cells) { text += tableLine(cells, {6, 14, 14, 14}); };
    nodeLine({QStringLiteral("node"), QStringLiteral("ux (mm)"), QStringLiteral("uy (mm)"), QStringLiteral("rx (kN)"),
              QStringLiteral("ry (kN)")});
    for (int n = 1; n <= t.noNodes; ++n) {
        const NodeResult& r = nodeOf(s, n);
        nodeLine({QString::number(n), vouched(millimetres(r.ux), moved), vouched(millimetres(r.uy), moved),
                  vouched(r.rx, s.accuracy.reaction), vouched(r.ry, s.accuracy.reaction)});
    }
    text += QStringLiteral("\nmembers\n");
    const auto memberLine = [&](const QStringList& cells) { text += tableLine(cells, {6, 14}); };
    memberLine({QStringLiteral("member"), QStringLiteral("force (kN)"), QStringLiteral("stress (N/mm2)")});
    const MemberResultText members(t, s);
    for (int m = 1; m <= t.noMembers; ++m)
        memberLine({QString::number(m), members.force(m), members.stress(m)});
    return text;
}

QString solutionCsv(const TrussFileContent& t, const TrussSolution& s)
{
    QString text;
    QTextStream out(&text);
    const Accuracy& a = s.accuracy;
    const double moved = millimetres(a.displacement);
    out << "node,ux_mm,uy_mm,rx_kN,ry_kN\n";
    for (int n = 1; n <= t.noNodes; ++n) {
        const NodeResult& r = nodeOf(s, n);
        out << n << ',' << vouched(millimetres(r.ux), moved, csvDigits) << ',' << vouched(millimetres(r.uy), moved, csvDigits)
            << ',' << vouched(r.rx, a.reaction, csvDigits) << ',' << vouched(r.ry, a.reaction, csvDigits) << '\n';
    }
    out << "\nmember,force_kN,stress_MPa\n";
    for (int m = 1; m <= t.noMembers; ++m) {
        const MemberResult& r = memberOf(s, m);
        out << m << ',' << vouched(r.force, a.force, csvDigits) << ',' << vouched(r.stress, stressErrorOf(t, s, m), csvDigits)
            << '\n';
    }
    return text;
}

QString largeDisplacementWarning(const TrussFileContent& t, const TrussSolution& s)
{
    for (const SummaryLine& line : resultLinesOf(t, s))
        if (line.label == QLatin1String("warning"))
            return line.label + QStringLiteral(": ") + line.value;
    return {};
}
