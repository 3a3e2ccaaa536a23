#include "drawing/DrawingKey.h"

#include <algorithm>
#include <cmath>

#include "kvrfile/NodeLoads.h"
#include "kvrfile/NumberText.h"
#include "kvrfile/TrussStructure.h"

namespace {

QString count(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString leftOut(const Tally& tally, const QString& what)
{
    return QStringLiteral("%1 of %2 %3").arg(tally.total - tally.shown).arg(tally.total).arg(what);
}

const MemberLook byForce[] = {
    {{0, 114, 178}, QStringLiteral("member tension"), QStringLiteral("tension (force in kN > 0)")},
    {{213, 94, 0}, QStringLiteral("member compression"), QStringLiteral("compression (force in kN < 0)")},
    {{150, 150, 150}, QStringLiteral("member no-force"), QStringLiteral("no force")},
};

QColor colorOf(MemberGroup group)
{
    switch (group) {
    case MemberGroup::BottomChord:
    case MemberGroup::TopChord:
        return {31, 78, 121};
    case MemberGroup::Vertical:
        return {84, 130, 53};
    case MemberGroup::Diagonal:
        return {197, 90, 17};
    case MemberGroup::Unknown:
        break;
    }
    return {110, 110, 110};
}

QString legendName(MemberGroup group)
{
    switch (group) {
    case MemberGroup::BottomChord:
    case MemberGroup::TopChord:
        return QStringLiteral("chords");
    case MemberGroup::Vertical:
        return QStringLiteral("verticals");
    case MemberGroup::Diagonal:
        return QStringLiteral("diagonals");
    case MemberGroup::Unknown:
        break;
    }
    return QStringLiteral("members");
}

// The sums of loads given, each way that has one: "node loads 48.3 kN down,
// 3 kN to the right, in all on 14 nodes".
QString givenLoadsText(const NodeForces& loads)
{
    double fx = 0, fy = 0;
    int loaded = 0;
    for (const NodeForce& f : loads) {
        fx += f.fx, fy += f.fy;
        loaded += f.fx != 0 || f.fy != 0 ? 1 : 0;
    }
    if (loaded == 0)
        return QStringLiteral("no loads");
    QStringList sums;
    if (fy != 0 || fx == 0)
        sums << QStringLiteral("%1 kN %2").arg(labelValue(std::fabs(fy)), fy > 0 ? QStringLiteral("up") : QStringLiteral("down"));
    if (fx != 0)
        sums << QStringLiteral("%1 kN to the %2")
                    .arg(labelValue(std::fabs(fx)), fx > 0 ? QStringLiteral("right") : QStringLiteral("left"));
    return QStringLiteral("node loads %1, in all on %2").arg(sums.join(QStringLiteral(", ")), count(loaded, "node", "nodes"));
}

}  // namespace

QString labelValue(double value) { return QString::fromStdString(formatSignificant(value, 4, Halves::AwayFromZero)); }

MemberLooks::MemberLooks(const TrussFileContent& truss, const std::vector<double>& forces, const MemberColours* colours)
    : t(truss), forces_(forces), colours_(colours)
{
    double largest = 0.0;
    for (const double force : forces)
        largest = std::max(largest, std::fabs(force));
    zero_ = largest * 1e-9;
}

MemberLook MemberLooks::of(int m) const
{
    if (colours_ != nullptr && static_cast<std::size_t>(m) < colours_->looks.size())
        return colours_->looks[static_cast<std::size_t>(m)];
    if (forces_.empty()) {
        const MemberGroup group = groupOf(t, m);
        return {colorOf(group), QStringLiteral("member ") + QString::fromLatin1(groupName(group)).replace(u' ', u'-'),
                legendName(group)};
    }
    const double force = forces_[static_cast<std::size_t>(m)];
    return byForce[std::fabs(force) <= zero_ ? 2 : force > 0 ? 0 : 1];
}

QString MemberLooks::labelOf(int m) const
{
    if (forces_.empty())
        return QString::number(m);
    const double force = forces_[static_cast<std::size_t>(m)];
    return labelValue(std::fabs(force) <= zero_ ? 0.0 : force);
}

QString MemberLooks::labelClass() const
{
    return forces_.empty() ? QStringLiteral("member-number") : QStringLiteral("member-force");
}

QString MemberLooks::labelName() const
{
    return forces_.empty() ? QStringLiteral("member numbers") : QStringLiteral("member forces");
}

std::vector<MemberLook> MemberLooks::legend(const std::vector<MemberLook>& drawn) const
{
    std::vector<MemberLook> shown;
    if (colours_ != nullptr)
        shown = colours_->legend;
    else if (!forces_.empty())
        shown = {byForce[0], byForce[1]};
    for (const MemberLook& look : drawn)
        if (std::none_of(shown.begin(), shown.end(), [&](const MemberLook& s) { return s.name == look.name; }))
            shown.push_back(look);
    return shown;
}

QString titleOf(const TrussFileContent& truss, double span, double height, const NodeForces* given)
{
    QStringList parts{QStringLiteral("span %1 m").arg(labelValue(span)), QStringLiteral("height %1 m").arg(labelValue(height))};
    if (const int panels = panelsOf(truss); panels > 0)
        parts << count(panels, "panel", "panels");
    if (given != nullptr) {
        parts << givenLoadsText(*given);
        return parts.join(QStringLiteral(", "));
    }
    // The file holds node loads whether w or P was entered (see NodeLoads).
    const NodeLoads loads = nodeLoadsOf(truss);
    if (loads.even)
        parts << QStringLiteral("node loads %1 kN, half at both ends: P = %1 kN or w = %2 kN/m")
                     .arg(labelValue(std::fabs(loads.each)), labelValue(std::fabs(loads.perMetre())));
    else if (loads.loaded > 0)
        parts << QStringLiteral("node loads %1 kN in all on %2").arg(labelValue(std::fabs(loads.total)), count(loads.loaded, "node", "nodes"));
    else
        parts << QStringLiteral("no loads");
    return parts.join(QStringLiteral(", "));
}

QStringList captionOf(const Omissions& o, const MemberLooks& looks)
{
    QStringList labels, thinned, caption;
    if (o.memberLabels.partial())
        labels << leftOut(o.memberLabels, looks.labelName());
    if (o.nodeLabels.partial())
        labels << leftOut(o.nodeLabels, QStringLiteral("node numbers"));
    if (o.loadLabels.partial())
        labels << leftOut(o.loadLabels, QStringLiteral("load labels"))
                      + (o.loadStride == 2   ? QStringLiteral(" (every other one)")
                         : o.loadStride > 2 ? QStringLiteral(" (all but one in %1)").arg(o.loadStride)
                                            : QString());
    if (!labels.isEmpty())
        caption << QStringLiteral("Left out where there is no room for them: ") + labels.join(QStringLiteral(", ")) + u'.';
    if (o.members.partial())
        thinned << QStringLiteral("%1 drawn as %2").arg(count(o.members.total, "member", "members"), count(o.members.shown, "line", "lines"));
    if (o.nodes.partial())
        thinned << QStringLiteral("%1 of %2 nodes").arg(o.nodes.shown).arg(o.nodes.total);
    if (o.arrows.partial())
        thinned << QStringLiteral("%1 of %2 load arrows").arg(o.arrows.shown).arg(o.arrows.total);
    if (!thinned.isEmpty())
        caption << QStringLiteral("Thinned to what the page can show: ") + thinned.join(QStringLiteral(", ")) + u'.';
    return caption;
}
