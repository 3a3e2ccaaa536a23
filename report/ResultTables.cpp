#include "report/ResultTables.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "kvrfile/NumberText.h"
#include "kvrfile/TrussStructure.h"
#include "report/ResultText.h"

namespace {

constexpr double none = std::numeric_limits<double>::quiet_NaN();  // a result of a truss not solved

// What a column holds, for its text: a Quantity (a coordinate, a load, E, A)
// at the precision of its Single, a node number exactly as its Single holds it.
enum class Shown { Number, Quantity, NodeNumber, Support, Group, Displacement, Reaction, Force, Stress };

constexpr Shown nodeKinds[] = {Shown::Number,       Shown::Quantity,     Shown::Quantity, Shown::Quantity, Shown::Support,
                               Shown::Displacement, Shown::Displacement, Shown::Reaction, Shown::Reaction};
constexpr Shown memberKinds[] = {Shown::Number,   Shown::NodeNumber, Shown::NodeNumber, Shown::Group,
                                 Shown::Quantity, Shown::Quantity,   Shown::Force,      Shown::Stress};

}  // namespace

ResultTable::ResultTable(const TrussStudy& study, Kind kind) : study(study), kind(kind)
{
    if (kind == Kind::Members && study.solution && study.drawable())
        memberTexts.emplace(study.truss, *study.solution);
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

double ResultTable::value(int row, int column) const
{
    const TrussFileContent& t = study.truss;
    const auto* s = study.solution ? &*study.solution : nullptr;
    const int i = row + 1;
    if (kind == Kind::Nodes) {
        constexpr int file[] = {0, NodeColumn::X, NodeColumn::Y, NodeColumn::Load, NodeColumn::Support};
        if (column == 0)
            return i;
        if (column < 5)
            return t.node(i, file[column]);
        if (!s)
            return none;
        const NodeResult& r = s->nodes[static_cast<std::size_t>(i)];
        const double results[] = {r.ux * millimetresPerMetre, r.uy * millimetresPerMetre, r.rx, r.ry};
        return results[column - 5];
    }
    switch (column) {
    case 0:
        return i;
    case 1:
        return t.member(i, MemberColumn::First);
    case 2:
        return t.member(i, MemberColumn::Second);
    case 3:
        return static_cast<int>(groupOf(t, i));
    case 4:
        return t.member(i, MemberColumn::E);
    case 5:
        return t.member(i, MemberColumn::A);
    default:
        break;
    }
    if (!s)
        return none;
    const MemberResult& r = s->members[static_cast<std::size_t>(i)];
    return column == 6 ? r.force : r.stress;
}

TableCell ResultTable::cell(int row, int column) const
{
    const double v = value(row, column);
    if (std::isnan(v) && (kind == Kind::Nodes ? column >= 5 : column >= 6))
        return {QString(), v};
    switch (kind == Kind::Nodes ? nodeKinds[column] : memberKinds[column]) {
    case Shown::Number:
        return {QString::number(row + 1), v};
    case Shown::Quantity:
        return {QString::fromStdString(formatQuantity(static_cast<float>(v))), v};
    case Shown::NodeNumber:
        return {QString::fromStdString(formatSingle(static_cast<float>(v))), v};
    case Shown::Support:
        if (const char* name = SupportCode::nameOf(static_cast<float>(v)))
            return {QString::fromLatin1(name), v};
        return {v == 0.0 ? QString() : QString::fromStdString(formatSingle(static_cast<float>(v))), v};
    case Shown::Group:
        return {QString::fromLatin1(groupName(static_cast<MemberGroup>(static_cast<int>(v)))), v};
    case Shown::Displacement:
        return {resultText::vouched(v, study.solution->accuracy.displacement * millimetresPerMetre), v};
    case Shown::Reaction:
        return {resultText::vouched(v, study.solution->accuracy.reaction), v};
    case Shown::Force:
        return {memberTexts->force(row + 1), v};
    case Shown::Stress:
        return {memberTexts->stress(row + 1), v};
    }
    return {};
}

QStringList ResultTable::rowTexts(int row) const
{
    QStringList texts;
    for (int c = 0; c < columns(); ++c)
        texts << cell(row, c).text;
    return texts;
}
