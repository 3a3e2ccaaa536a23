#include "drawing/TrussDxf.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "drawing/DrawingKey.h"
#include "drawing/DxfWriter.h"
#include "kvrfile/NumberText.h"
#include "kvrfile/TrussVocabulary.h"

namespace {

using Align = DxfWriter::Align;

constexpr double pi = 3.14159265358979323846;

// Square roots are rounded alike on every system, hypot and atan2 not quite:
// a drawing made on Windows has the same bytes as on Linux.
double lengthOf(QPointF v) { return std::sqrt(v.x() * v.x() + v.y() * v.y()); }
double degreesOf(QPointF v) { return std::round(std::atan2(v.y(), v.x()) * 180 / pi * 1e6) / 1e6; }

QString layerOf(MemberGroup group)
{
    return group == MemberGroup::Unknown ? QStringLiteral("other members") : QString::fromLatin1(groupName(group));
}

// A Single as its shortest decimal at the precision of a Single, so that
// 1.35 is written 1.35 and not 1.35000002384, nor 1.3499999 where the
// Single's arithmetic left it one Single off. QByteArray reads numbers in the
// C locale whatever the process's is.
double decimalOf(float value) { return QByteArray::fromStdString(formatQuantity(value)).toDouble(); }

// A point of the extent, in the decimals of placeOf: the decimal rises with
// the Single, so the extent of the decimals is that of the Singles.
QPointF decimalOf(double x, double y) { return {decimalOf(static_cast<float>(x)), decimalOf(static_cast<float>(y))}; }

// A node where the file puts it, in decimals; none when it is out of place (see extentOf).
std::optional<QPointF> placeOf(const TrussFileContent& t, int n)
{
    const float x = t.node(n, NodeColumn::X), y = t.node(n, NodeColumn::Y);
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(decimalOf(x), decimalOf(y));
}

class CadDraftsman {
public:
    CadDraftsman(const TrussFileContent& truss, const std::vector<double>& forces)
        : t(truss),
          withForces(!forces.empty()),
          looks(truss, forces),
          labels(looks.labelName()),
          dxf(layers())
    {
        double shortest = std::numeric_limits<double>::infinity();
        for (int m = 1; m <= t.noMembers; ++m)
            if (const auto ends = endsOf(m); ends && lengthOf(ends->second - ends->first) > 0)
                shortest = std::min(shortest, lengthOf(ends->second - ends->first));
        const Extent extent = extentOf(t);
        low = decimalOf(extent.xMin, extent.yMin);
        high = decimalOf(extent.xMax, extent.yMax);
        // Symbols and texts scale with the truss, small enough for a label
        // to lie along the shortest member.
        const double size = std::max(high.x() - low.x(), high.y() - low.y());
        unit = std::min(shortest / 4, size / 80);
        if (!(unit > 0) || !std::isfinite(unit))
            unit = 0.1;
    }

    QByteArray draw()
    {
        for (int m = 1; m <= t.noMembers; ++m)
            drawMember(m);
        for (int n = 1; n <= t.noNodes; ++n)
            if (const std::optional<QPointF> p = placeOf(t, n)) {
                drawSupport(n, *p);
                drawLoad(n, *p);
            }
        if (withForces)
            dxf.text(QStringLiteral("0"), QPointF(low.x(), low.y() - 5 * unit), unit, 0,
                     QStringLiteral("Member forces in kN, tension positive"), Align::Left);
        return dxf.document();
    }

private:
    std::vector<DxfWriter::Layer> layers() const
    {
        std::vector<DxfWriter::Layer> all{{layerOf(MemberGroup::TopChord), 5},
                                          {layerOf(MemberGroup::BottomChord), 5},
                                          {layerOf(MemberGroup::Vertical), 3},
                                          {layerOf(MemberGroup::Diagonal), 30}};
        for (int m = 1; m <= t.noMembers; ++m)
            if (groupOf(t, m) == MemberGroup::Unknown) {
                all.push_back({layerOf(MemberGroup::Unknown), 8});
                break;
            }
        all.push_back({supports, 7});
        all.push_back({loads, 1});
        all.push_back({labels, 7});
        return all;
    }

    std::optional<std::pair<QPointF, QPointF>> endsOf(int m) const
    {
        const int first = nodeNumber(t, m, MemberColumn::First), second = nodeNumber(t, m, MemberColumn::Second);
        if (first == 0 || second == 0)
            return std::nullopt;
        const std::optional<QPointF> a = placeOf(t, first), b = placeOf(t, second);
        if (!a || !b)
            return std::nullopt;
        return std::pair{*a, *b};
    }

    // The line, and its label along it: left to right or upwards, so that it
    // reads from below or from the right, above the line; on a diagonal
    // nearer its upper end, clear of the diagonal crossing it.
    void drawMember(int m)
    {
        const auto ends = endsOf(m);
        if (!ends)
            return;
        const MemberGroup group = groupOf(t, m);
        dxf.line(layerOf(group), ends->first, ends->second);
        auto [a, b] = *ends;
        const double length = lengthOf(b - a);
        if (length == 0)
            return;
        if (b.x() < a.x() || (b.x() == a.x() && b.y() < a.y()))
            std::swap(a, b);
        const QPointF upper = a.y() >= b.y() ? a : b, lower = a.y() >= b.y() ? b : a;
        const QPointF along = group == MemberGroup::Diagonal ? upper + (lower - upper) * 0.3 : (a + b) / 2;
        const QPointF normal = QPointF(a.y() - b.y(), b.x() - a.x()) / length;
        const double degrees = degreesOf(b - a);
        dxf.text(labels, along + normal * 0.4 * unit, unit, degrees, looks.labelOf(m), Align::Centre);
    }

    // A triangle under the node; the pin's on the ground, the roller's on two wheels.
    void drawSupport(int n, QPointF p)
    {
        const float code = t.node(n, NodeColumn::Support);
        if (SupportCode::nameOf(code) == nullptr)
            return;
        const double u = unit;
        dxf.polygon(supports, {p, p + QPointF(-u, -1.6 * u), p + QPointF(u, -1.6 * u)});
        double ground = -1.6 * u;
        if (code == SupportCode::Roller) {
            for (const double dx : {-0.5 * u, 0.5 * u})
                dxf.circle(supports, p + QPointF(dx, -1.9 * u), 0.3 * u);
            ground = -2.2 * u;
        }
        dxf.line(supports, p + QPointF(-1.4 * u, ground), p + QPointF(1.4 * u, ground));
    }

    // An arrow onto the node in the direction of its load, its value along
    // the shaft beyond the tail: however close the arrows stand, their
    // values stay apart.
    void drawLoad(int n, QPointF p)
    {
        const double load = t.node(n, NodeColumn::Load);
        if (load == 0.0 || !std::isfinite(load))
            return;
        const double side = load < 0 ? 1.0 : -1.0;  // above the node for a downward load
        const QPointF tip = p + QPointF(0, side * 0.5 * unit), tail = p + QPointF(0, side * 6 * unit);
        const QPointF headBase = tip + QPointF(0, side * 1.5 * unit);
        dxf.triangle(loads, tip, headBase + QPointF(-0.4 * unit, 0), headBase + QPointF(0.4 * unit, 0));
        dxf.line(loads, headBase, tail);
        dxf.text(loads, tail + QPointF(0.35 * unit, side * 0.5 * unit), unit, 90,
                 labelValue(std::fabs(load)) + QStringLiteral(" kN"), side > 0 ? Align::Left : Align::Right);
    }

    const TrussFileContent& t;
    const bool withForces;
    const MemberLooks looks;
    const QString labels;  // the layer of the member labels
    const QString supports = QStringLiteral("supports"), loads = QStringLiteral("loads");
    DxfWriter dxf;
    QPointF low, high;
    double unit = 0.1;  // m: the texts' height
};

}  // namespace

QByteArray toDxf(const TrussFileContent& truss, const std::vector<double>& forces) { return CadDraftsman(truss, forces).draw(); }
