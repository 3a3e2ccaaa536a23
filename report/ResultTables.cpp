#include "report/ResultTables.h"

#include <algorithm>
#include <cmath>

#include "kvrfile/NumberText.h"
#include "kvrfile/TrussStructure.h"
#include "report/ResultText.h"

namespace {

TableCell single(float value) { return {QString::fromStdString(formatSingle(value)), value}; }

TableCell whole(int value) { return {QString::number(value), double(value)}; }

TableCell result(double value, double largest) { return {resultText::number(value, largest), value}; }

TableCell supportOf(float code)
{
    if (const char* name = SupportCode::nameOf(code))
        return {QString::fromLatin1(name), code};
    return code == 0.0f ? TableCell{QString(), 0.0} : single(code);
}

}  // namespace

ResultTable::ResultTable(const TrussStudy& study, Kind kind) : study(study), kind(kind)
{
    if (!study.solution)
        return;
    for (const NodeResult& n : study.solution->nodes) {
        displacement = std::max({displacement, std::fabs(n.ux), std::fabs(n.uy)});
        reaction = std::max({reaction, std::fabs(n.rx), std::fabs(n.ry)});
    }
    for (const MemberResult& m : study.solution->members) {
        force = std::max(force, std::fabs(m.force));
        stress = std::max(stress, std::fabs(m.stress));
    }
}

int ResultTable::rows() const
{
    if (!study.drawable())
        return 0;
    return kind == Kind::Nodes ? study.truss.noNodes : study.truss.noMembers;
}

const QStringList& ResultTable::headsOf(Kind kind)
{
    static const QStringList nodes{QStringLiteral("node"),    QStringLiteral("x (m)"),   QStringLiteral("y (m)"),
                                   QStringLiteral("load (kN)"), QStringLiteral("support"), QStringLiteral("ux (mm)"),
                                   QStringLiteral("uy (mm)"), QStringLiteral("rx (kN)"), QStringLiteral("ry (kN)")};
    static const QStringList members{QStringLiteral("member"),     QStringLiteral("first"),   QStringLiteral("second"),
                                     QStringLiteral("group"),      QStringLiteral("E (kN/mm2)"), QStringLiteral("A (mm2)"),
                                     QStringLiteral("force (kN)"), QStringLiteral("stress (N/mm2)")};
    return kind == Kind::Nodes ? nodes : members;
}

TableCell ResultTable::cell(int row, int column) const
{
    return kind == Kind::Nodes ? nodeCell(row + 1, column) : memberCell(row + 1, column);
}

QStringList ResultTable::rowTexts(int row) const
{
    QStringList texts;
    for (int c = 0; c < columns(); ++c)
        texts << cell(row, c).text;
    return texts;
}

TableCell ResultTable::nodeCell(int n, int column) const
{
    const TrussFileContent& t = study.truss;
    switch (column) {
    case 0:
        return whole(n);
    case 1:
        return single(t.node(n, NodeColumn::X));
    case 2:
        return single(t.node(n, NodeColumn::Y));
    case 3:
        return single(t.node(n, NodeColumn::Load));
    case 4:
        return supportOf(t.node(n, NodeColumn::Support));
    default:
        break;
    }
    if (!study.solution)
        return {};
    const NodeResult& r = study.solution->nodes[static_cast<std::size_t>(n)];
    const double mm = millimetresPerMetre;
    switch (column) {
    case 5:
        return result(r.ux * mm, displacement * mm);
    case 6:
        return result(r.uy * mm, displacement * mm);
    case 7:
        return result(r.rx, reaction);
    default:
        return result(r.ry, reaction);
    }
}

TableCell ResultTable::memberCell(int m, int column) const
{
    const TrussFileContent& t = study.truss;
    switch (column) {
    case 0:
        return whole(m);
    case 1:
        return single(t.member(m, MemberColumn::First));
    case 2:
        return single(t.member(m, MemberColumn::Second));
    case 3: {
        const MemberGroup group = groupOf(t, m);
        return {QString::fromLatin1(groupName(group)), double(static_cast<int>(group))};
    }
    case 4:
        return single(t.member(m, MemberColumn::E));
    case 5:
        return single(t.member(m, MemberColumn::A));
    default:
        break;
    }
    if (!study.solution)
        return {};
    const MemberResult& r = study.solution->members[static_cast<std::size_t>(m)];
    return column == 6 ? result(r.force, force) : result(r.stress, stress);
}
