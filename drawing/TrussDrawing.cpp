#include "drawing/TrussDrawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "drawing/DrawingKey.h"
#include "drawing/PageFit.h"
#include "kvrfile/TrussVocabulary.h"

namespace {

using Anchor = TrussDrawing::Anchor;

const QColor black(0, 0, 0);
const QColor grey(110, 110, 110);
const QColor loadRed(192, 0, 0);

constexpr double labelledMember = 12;  // pt: members shorter than this carry no label but the largest forces
constexpr double labelSize = 10;       // pt

// Where a member label may go: beside the member at these fractions of its
// length, then at the end of a leader this long (pt), in these directions.
constexpr double besideAt[] = {0.5, 0.35, 0.65, 0.2, 0.8};
constexpr double leaderAt[] = {0.5, 0.35, 0.65};
constexpr double leaderLengths[] = {12, 20, 30, 45, 65, 90, 120, 160, 220};
constexpr double shortLeader = 30;  // the longest leader of a label that need not be shown

QPointF unit(QPointF v) { return v / lengthOf(v); }
// v turned by 35 degrees, clockwise on the page for a positive way: constants
// rather than the mathematical library's, for the same drawing on every system.
QPointF turned(QPointF v, double way)
{
    constexpr double c = 0.8191520442889918, s = 0.5735764363510461;
    return {c * v.x() - way * s * v.y(), way * s * v.x() + c * v.y()};
}

// What draws one member, or a run of them (member 0).
struct Stroke {
    QPointF a, b;
    MemberLook look;
    int member;
};

// A member's label and the member it belongs to, on the page.
struct MemberLabel {
    int member;
    TrussDrawing::Text text;
    QPointF a, b;
    MemberGroup group;
    double size;  // |force|: the largest go first
};

// The truss to scale on a page: at most 1000 points wide and 500 high, with
// room around it for the title, loads, supports, dimensions and caption.
class Draftsman {
public:
    Draftsman(const TrussFileContent& truss, const std::vector<double>& forces, double pointsPerMetre,
              const MemberColours* colours, const NodeForces* loads)
        : t(truss),
          forces(forces),
          loads(loads),
          looks(truss, forces, colours),
          extent(extentOf(truss))
    {
        span = extent.span();
        height = extent.height();
        scale =
            pointsPerMetre > 0 ? pointsPerMetre : std::min(span > 0 ? 1000.0 / span : 100.0, height > 0 ? 500.0 / height : 1e9);
        d.origin = QPointF(left, top);
        d.pointsPerMetre = scale;
        // Lines, circles and arrow heads as large as the room between the
        // nodes allows, so that shapes are drawn once only where even thin
        // ones would run into one another.
        double shortest = std::numeric_limits<double>::infinity();
        for (int m = 1; m <= t.noMembers; ++m) {
            const int first = nodeNumber(t, m, MemberColumn::First), second = nodeNumber(t, m, MemberColumn::Second);
            if (first != 0 && second != 0 && lengthOf(at(second) - at(first)) > 0)
                shortest = std::min(shortest, lengthOf(at(second) - at(first)));
        }
        const double room = std::isfinite(shortest) ? shortest : 100.0;
        stroke = std::clamp(room / 3, 0.5, 2.0);
        nodeRadius = std::clamp(room * 0.3, 1.0, 3.5);
        headHalf = std::clamp(room * 0.3, 1.0, 4.0);
        members = Spacing(stroke + 1);
        nodes = Spacing(2 * nodeRadius + 0.5);
        arrows = Spacing(2 * headHalf + 1);
    }

    TrussDrawing draw()
    {
        drawMembers();
        for (int n = 1; n <= t.noNodes; ++n) {
            drawNode(n);
            drawLoad(n);
            drawSupport(n);
        }
        drawDimensions();
        drawKey();
        placeLabels();
        drawCaption();
        return std::move(d);
    }

private:
    QPointF at(int n) const
    {
        // A coordinate that is not finite is drawn on the extent's left or lower edge.
        const double x = std::isfinite(t.node(n, NodeColumn::X)) ? t.node(n, NodeColumn::X) : extent.xMin;
        const double y = std::isfinite(t.node(n, NodeColumn::Y)) ? t.node(n, NodeColumn::Y) : extent.yMin;
        return {left + (x - extent.xMin) * scale, top + (extent.yMax - y) * scale};
    }
    double bottom() const { return top + height * scale; }

    // The members in their order, runs of short ones merged into one stroke.
    std::vector<Stroke> strokes()
    {
        std::vector<Stroke> all;
        Run run;  // not std::optional: g++ 12 at -O3 warns that its payload may be unset
        bool inRun = false;
        const auto endRun = [&] {
            if (inRun)
                all.push_back({run.from, run.to, run.look, 0});
            inRun = false;
        };
        for (int m = 1; m <= t.noMembers; ++m) {
            const int first = nodeNumber(t, m, MemberColumn::First), second = nodeNumber(t, m, MemberColumn::Second);
            if (first == 0 || second == 0)
                continue;
            ++omitted.members.total;
            const QPointF a = at(first), b = at(second);
            const MemberLook look = looks.of(m);
            const bool tiny = lengthOf(b - a) < stroke + 1;
            if (tiny && inRun && run.extend(a, b, look))
                continue;
            endRun();
            if (tiny) {
                run = Run{a, b, look};
                inRun = true;
            } else
                all.push_back({a, b, look, m});
        }
        endRun();
        return all;
    }

    // From left to right, so that where the page cannot show members apart,
    // the one kept of each cluster is its leftmost.
    void drawMembers()
    {
        std::vector<Stroke> all = strokes();
        std::stable_sort(all.begin(), all.end(),
                         [](const Stroke& p, const Stroke& q) { return p.a.x() + p.b.x() < q.a.x() + q.b.x(); });
        for (const Stroke& stroke : all) {
            if (!members.keep(stroke.a, stroke.b))
                continue;
            d.lines.push_back({stroke.a, stroke.b, stroke.look.color, this->stroke, stroke.look.cls});
            ++omitted.members.shown;
            if (std::none_of(drawn.begin(), drawn.end(), [&](const MemberLook& l) { return l.name == stroke.look.name; }))
                drawn.push_back(stroke.look);
            if (stroke.member != 0 && lengthOf(stroke.b - stroke.a) >= labelledMember)
                memberLabels.push_back(labelOf(stroke.member));
        }
    }

    MemberLabel labelOf(int m) const
    {
        const int first = nodeNumber(t, m, MemberColumn::First), second = nodeNumber(t, m, MemberColumn::Second);
        const double force = forces.empty() ? 0.0 : forces[static_cast<std::size_t>(m)];
        return {m,
                {{}, looks.labelOf(m), looks.of(m).color, labelSize, looks.labelClass()},
                at(first),
                at(second),
                groupOf(t, m),
                std::isfinite(force) ? std::fabs(force) : 0.0};
    }

    // The members whose labels are always shown: the largest tension, the
    // largest compression, the largest force in a vertical or diagonal.
    std::vector<int> keyMembers() const
    {
        int tension = 0, compression = 0, web = 0;
        const auto force = [&](int m) { return m == 0 ? 0.0 : forces[static_cast<std::size_t>(m)]; };
        for (int m = 1; m <= t.noMembers && !forces.empty(); ++m) {
            if (nodeNumber(t, m, MemberColumn::First) == 0 || nodeNumber(t, m, MemberColumn::Second) == 0
                || !std::isfinite(force(m)) || looks.labelOf(m) == QStringLiteral("0"))
                continue;
            if (force(m) > force(tension))
                tension = m;
            if (force(m) < force(compression))
                compression = m;
            const MemberGroup group = groupOf(t, m);
            if ((group == MemberGroup::Vertical || group == MemberGroup::Diagonal) && std::fabs(force(m)) > std::fabs(force(web)))
                web = m;
        }
        std::vector<int> keys;
        for (const int m : {compression, tension, web})
            if (m != 0 && std::find(keys.begin(), keys.end(), m) == keys.end())
                keys.push_back(m);
        return keys;
    }

    void drawNode(int n)
    {
        const QPointF p = at(n);
        ++omitted.nodes.total;
        if (!nodes.keep(p))
            return;
        ++omitted.nodes.shown;
        d.circles.push_back({p, nodeRadius, black, QColor(255, 255, 255), QStringLiteral("node")});
        nodeLabels.push_back({p, QString::number(n), black, labelSize, QStringLiteral("node-number")});
    }

    // An arrow in the direction of the node's load, with its value. The
    // file's loads push their node; given loads are drawn above their node,
    // one upwards pulling it (wind's suction clear of the truss), and a
    // horizontal one pushes it from the side.
    void drawLoad(int n)
    {
        if (loads == nullptr) {
            const double load = t.node(n, NodeColumn::Load);
            drawArrow(n, load, QPointF(0, load < 0 ? 1 : -1), false);
            return;
        }
        const NodeForce& f = (*loads)[static_cast<std::size_t>(n)];
        drawArrow(n, f.fy, QPointF(0, f.fy < 0 ? 1 : -1), f.fy > 0);
        drawArrow(n, f.fx, QPointF(f.fx > 0 ? 1 : -1, 0), false);
    }

    // onPage: the load's direction on the page; pull: the arrow's tail at the node, else its tip.
    void drawArrow(int n, double load, QPointF onPage, bool pull)
    {
        if (load == 0.0 || !std::isfinite(load))
            return;
        const QPointF tip = pull ? at(n) + onPage * (nodeRadius + 2.5 + 50) : at(n) - onPage * (nodeRadius + 2.5);
        const QPointF tail = tip - onPage * 50;
        ++omitted.arrows.total;
        ++omitted.loadLabels.total;
        if (!arrows.keep(tip))
            return;
        ++omitted.arrows.shown;
        const double headLength = 2.25 * headHalf;
        const QPointF base = tip - onPage * headLength, side = QPointF(std::fabs(onPage.y()), std::fabs(onPage.x())) * headHalf;
        d.lines.push_back({tail, base, loadRed, std::min(1.5, stroke), QStringLiteral("load")});
        d.polygons.push_back({QPolygonF({tip, base - side, base + side}), loadRed, loadRed, QStringLiteral("load-head")});
        const QString value = labelValue(std::fabs(load)) + QStringLiteral(" kN");
        if (onPage.x() != 0)  // beside the tail, ending or starting 4 points from it
            loadLabels.push_back({tail + QPointF(-4 * onPage.x(), 4), value, loadRed, labelSize, QStringLiteral("load-value"),
                                  onPage.x() > 0 ? Anchor::End : Anchor::Start});
        else
            loadLabels.push_back(
                {pull ? tip + onPage * 6 : tail - onPage * 6, value, loadRed, labelSize, QStringLiteral("load-value")});
    }

    // A triangle on the ground for the pin; on two wheels for the roller.
    void drawSupport(int n)
    {
        const float code = t.node(n, NodeColumn::Support);
        const char* const name = SupportCode::nameOf(code);
        if (name == nullptr)
            return;
        const QPointF base = at(n) + QPointF(0, 4);
        const QPolygonF triangle({base, base + QPointF(-10, 16), base + QPointF(10, 16)});
        const QColor fill(220, 220, 220);
        d.polygons.push_back({triangle, black, fill, QStringLiteral("support ") + QLatin1String(name)});
        if (code == SupportCode::Pin) {
            d.lines.push_back({base + QPointF(-14, 16), base + QPointF(14, 16), black, 1.5, QStringLiteral("support-ground")});
            return;
        }
        for (const double dx : {-5.0, 5.0})
            d.circles.push_back({base + QPointF(dx, 19), 3, black, QColor(255, 255, 255), QStringLiteral("support-wheel")});
        d.lines.push_back({base + QPointF(-14, 22), base + QPointF(14, 22), black, 1.5, QStringLiteral("support-ground")});
    }

    // Span, below the supports; height, right of the truss.
    void drawDimensions()
    {
        const double right = left + span * scale;
        const double yDim = bottom() + 60, xDim = right + 50;
        d.lines.push_back({QPointF(left, yDim), QPointF(right, yDim), grey, 1, QStringLiteral("dimension")});
        for (const double x : {left, right})
            d.lines.push_back({QPointF(x, yDim - 6), QPointF(x, yDim + 6), grey, 1, QStringLiteral("dimension")});
        fix({QPointF((left + right) / 2, yDim + 18), QStringLiteral("L = ") + labelValue(span) + QStringLiteral(" m"), grey, 12,
             QStringLiteral("dimension-value")});
        d.lines.push_back({QPointF(xDim, top), QPointF(xDim, bottom()), grey, 1, QStringLiteral("dimension")});
        for (const double y : {top, bottom()})
            d.lines.push_back({QPointF(xDim - 6, y), QPointF(xDim + 6, y), grey, 1, QStringLiteral("dimension")});
        fix({QPointF(xDim + 40, (top + bottom()) / 2 + 4), QStringLiteral("h = ") + labelValue(height) + QStringLiteral(" m"),
             grey, 12, QStringLiteral("dimension-value")});
    }

    // The title line, and under it the legend: a stroke of each colour and its name.
    void drawKey()
    {
        fix({QPointF(margin, 24), titleOf(t, span, height, loads), black, 13, QStringLiteral("title"), Anchor::Start});
        double x = margin;
        const auto entry = [&](const QColor& color, const QString& name, double width) {
            d.lines.push_back({QPointF(x, 44), QPointF(x + 18, 44), color, width, QStringLiteral("legend")});
            const TrussDrawing::Text text{QPointF(x + 24, 48), name, black, 11, QStringLiteral("legend"), Anchor::Start};
            fix(text);
            x = LabelPlacer::boxOf(text).right() + 16;
        };
        for (const MemberLook& look : looks.legend(drawn))
            entry(look.color, look.name, 3);
        if (omitted.arrows.total > 0)
            entry(loadRed, QStringLiteral("loads (kN)"), 1.5);
    }

    void fix(const TrussDrawing::Text& text)
    {
        placer.add(LabelPlacer::boxOf(text));
        d.texts.push_back(text);
    }

    // The largest forces first, wherever there is room for them; the load
    // values, every other one left out until they stand clear; the other
    // member labels, the largest first; the node numbers. Each label keeps
    // clear of every shape and of the labels before it, or is left out.
    void placeLabels()
    {
        placer.avoidShapes(d);
        omitted.memberLabels.total = omitted.members.total;
        const std::vector<int> keys = keyMembers();
        for (const int m : keys)
            omitted.memberLabels.shown += placeMemberLabel(labelOf(m), true);

        std::stable_sort(loadLabels.begin(), loadLabels.end(),
                         [](const TrussDrawing::Text& a, const TrussDrawing::Text& b) { return a.at.x() < b.at.x(); });
        const int stride = strideOf(loadLabels);
        int picked = 0;
        for (std::size_t i = 0; i < loadLabels.size(); i += static_cast<std::size_t>(stride), ++picked)
            omitted.loadLabels.shown += placer.place(d, loadLabels[i]);
        // "every other one" only where that is what the page shows
        omitted.loadStride = omitted.loadLabels.shown == picked && !omitted.arrows.partial() ? stride : 0;

        // Where the page could not show every member or node, a force or a
        // number could not be told to belong to the one drawn.
        if (!omitted.members.partial()) {
            std::stable_sort(memberLabels.begin(), memberLabels.end(),
                             [](const MemberLabel& a, const MemberLabel& b) { return a.size > b.size; });
            for (const MemberLabel& label : memberLabels)
                if (std::find(keys.begin(), keys.end(), label.member) == keys.end())
                    omitted.memberLabels.shown += placeMemberLabel(label, false);
        }
        omitted.nodeLabels.total = t.noNodes;
        if (!omitted.nodes.partial())
            for (const TrussDrawing::Text& label : nodeLabels)
                omitted.nodeLabels.shown += placeNodeNumber(label);
    }

    // On the page, above the caption, clear of every shape and label.
    bool fits(const TrussDrawing::Text& text) const
    {
        const QRectF box = LabelPlacer::boxOf(text);
        return box.left() >= 0 && box.top() >= 0 && box.bottom() <= captionTop() && placer.fits(box);
    }
    bool tryAt(const TrussDrawing::Text& text, QPointF centre)
    {
        const TrussDrawing::Text placed = centredAt(text, centre);
        return fits(placed) && placer.place(d, placed);
    }

    // Beside the member, clear of its line; then at the end of a leader that
    // runs through nothing; then, for the largest forces, of a leader that
    // may run across other lines, best straight up or down out of the truss,
    // but through no label and no node.
    bool placeMemberLabel(const MemberLabel& label, bool key)
    {
        const QPointF along = label.b - label.a;
        if (lengthOf(along) == 0)
            return false;
        const QPointF normal = unit(QPointF(-along.y(), along.x()));
        // Chords carry their label outside the truss first.
        const bool outwardDown = label.group == MemberGroup::BottomChord;
        const bool outwardUp = label.group == MemberGroup::TopChord;
        const QPointF first = (outwardDown && normal.y() < 0) || (outwardUp && normal.y() > 0) ? -normal : normal;
        const QRectF box = LabelPlacer::boxOf(centredAt(label.text, QPointF(0, 0)));
        const double clearance = stroke / 2 + 0.5;
        // Right beside the line, or just beyond the nodes' circles.
        for (const double off : {clearance, nodeRadius + 1.5})
            for (const double f : besideAt)
                for (const QPointF side : {first, -first})
                    if (tryAt(label.text, label.a + along * f + side * (reachAcross(box, side) + off)))
                        return true;
        std::vector<QPointF> directions{first,
                                        -first,
                                        QPointF(0, -1),
                                        QPointF(0, 1),
                                        turned(first, 1),
                                        turned(first, -1),
                                        turned(-first, 1),
                                        turned(-first, -1)};
        for (const bool acrossLines : {false, true}) {
            if (acrossLines && !key)
                break;
            if (acrossLines)
                directions = {QPointF(0, 1), QPointF(0, -1), first, -first};
            for (const double length : leaderLengths) {
                if (length > shortLeader && !key)
                    break;
                for (const double f : leaderAt) {
                    if (f != leaderAt[0] && !key)
                        break;  // time enough only for the largest forces to look further
                    for (std::size_t i = 0; i < directions.size(); ++i) {
                        const QPointF direction = directions[i];
                        if (std::fabs(QPointF::dotProduct(direction, unit(along))) > 0.9
                            || std::find(directions.begin(), directions.begin() + i, direction) != directions.begin() + i)
                            continue;  // along the member itself, or tried already
                        const QPointF foot = label.a + along * f;
                        // The leader starts clear of the member's line and stops short of the label's box.
                        const QPointF start = foot + direction * (stroke + 1.5), end = foot + direction * (length - 1);
                        const TrussDrawing::Text text =
                            centredAt(label.text, foot + direction * (length + reachAlong(box, direction)));
                        if (!fits(text) || !placer.clear(start, end, !acrossLines))
                            continue;
                        placer.place(d, text);
                        d.lines.push_back({start, end, grey, 0.75, QStringLiteral("leader")});
                        placer.avoidLine(start, end, 0.75);
                        return true;
                    }
                }
            }
        }
        return false;
    }

    // Below a node of the lower half of the truss, above one of the upper
    // half, then beside it.
    bool placeNodeNumber(const TrussDrawing::Text& label)
    {
        const QPointF node = label.at;
        const double below = node.y() >= top + height * scale / 2 ? 1.0 : -1.0;
        const QRectF box = LabelPlacer::boxOf(centredAt(label, QPointF(0, 0)));
        for (const QPointF way : {QPointF(-1, below), QPointF(1, below), QPointF(0, below), QPointF(-1, 0), QPointF(1, 0),
                                  QPointF(-1, -below), QPointF(1, -below), QPointF(0, -below)}) {
            const QPointF direction = unit(way);
            if (tryAt(label, node + direction * (nodeRadius + 1 + reachAcross(box, direction))))
                return true;
        }
        return false;
    }

    double captionTop() const { return bottom() + 98; }
    void drawCaption()
    {
        double y = captionTop() + 12;
        for (const QString& line : captionOf(omitted, looks)) {
            d.texts.push_back({QPointF(margin, y), line, grey, 11, QStringLiteral("caption"), Anchor::Start});
            y += 16;
        }
        double width = left + span * scale + 140;
        for (const TrussDrawing::Text& text : d.texts)
            width = std::max(width, LabelPlacer::boxOf(text).right() + margin);
        d.size = QSizeF(width, y + 14);
    }

    static constexpr double left = 80, top = 130, margin = 20;

    const TrussFileContent& t;
    const std::vector<double>& forces;
    const NodeForces* loads;
    const MemberLooks looks;
    TrussDrawing d;
    const Extent extent;
    double span = 0, height = 0, scale = 1;

    double stroke = 2, nodeRadius = 3.5, headHalf = 4;  // pt: a member's line, a node's circle, half an arrow head
    Spacing members{1}, nodes{1}, arrows{1};
    LabelPlacer placer;
    std::vector<TrussDrawing::Text> loadLabels, nodeLabels;
    std::vector<MemberLabel> memberLabels;
    std::vector<MemberLook> drawn;
    Omissions omitted;
};

}  // namespace

TrussDrawing drawTruss(const TrussFileContent& t, const std::vector<double>& forces, double pointsPerMetre,
                       const MemberColours* colours, const NodeForces* loads)
{
    return Draftsman(t, forces, pointsPerMetre, colours, loads).draw();
}
