#include "drawing/TrussDrawing.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "drawing/DrawingKey.h"
#include "drawing/PageFit.h"
#include "kvrfile/TrussStructure.h"

namespace {

using Anchor = TrussDrawing::Anchor;

const QColor black(0, 0, 0);
const QColor grey(110, 110, 110);
const QColor loadRed(192, 0, 0);

// Page distances, in pt, below which the page can no longer show things apart.
constexpr double memberSpacing = 6;     // members with both ends this close are drawn once
constexpr double shortMember = 4;       // runs of members this short are drawn as one line
constexpr double labelledMember = 12;   // members shorter than this carry no label
constexpr double nodeSpacing = 8;       // a node's circle and a little
constexpr double arrowSpacing = 16;     // an arrow head and room beside it

// What draws one member, or a run of them (member 0).
struct Stroke {
    QPointF a, b;
    MemberLook look;
    int member;
};

// The truss to scale on a page: at most 1000 points wide and 500 high, with
// room around it for the title, loads, supports, dimensions and caption.
class Draftsman {
public:
    Draftsman(const TrussFileContent& truss, const std::vector<double>& forces, double pointsPerMetre)
        : t(truss), looks(truss, forces)
    {
        for (int n = 1; n <= t.noNodes; ++n) {
            const double x = t.node(n, NodeColumn::X), y = t.node(n, NodeColumn::Y);
            if (!std::isfinite(x) || !std::isfinite(y))
                continue;
            xMin = n == 1 ? x : std::min(xMin, x);
            xMax = n == 1 ? x : std::max(xMax, x);
            yMin = n == 1 ? y : std::min(yMin, y);
            yMax = n == 1 ? y : std::max(yMax, y);
        }
        span = xMax - xMin;
        height = yMax - yMin;
        scale = pointsPerMetre > 0 ? pointsPerMetre
                                   : std::min(span > 0 ? 1000.0 / span : 100.0, height > 0 ? 500.0 / height : 1e9);
        d.origin = QPointF(left, top);
        d.pointsPerMetre = scale;
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
        const double x = std::isfinite(t.node(n, NodeColumn::X)) ? t.node(n, NodeColumn::X) : xMin;
        const double y = std::isfinite(t.node(n, NodeColumn::Y)) ? t.node(n, NodeColumn::Y) : yMin;
        return {left + (x - xMin) * scale, top + (yMax - y) * scale};
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
            const bool tiny = lengthOf(b - a) < shortMember;
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
            d.lines.push_back({stroke.a, stroke.b, stroke.look.color, 2.0, stroke.look.cls});
            ++omitted.members.shown;
            if (std::none_of(drawn.begin(), drawn.end(), [&](const MemberLook& l) { return l.name == stroke.look.name; }))
                drawn.push_back(stroke.look);
            if (stroke.member != 0 && lengthOf(stroke.b - stroke.a) >= labelledMember)
                labelMember(stroke.member, stroke.a, stroke.b, stroke.look);
        }
    }

    void labelMember(int m, QPointF a, QPointF b, const MemberLook& look)
    {
        // Crossing diagonals meet at their middles: label them nearer their top
        // ends. Chords carry their label above the line, the web beside it.
        const double along = groupOf(t, m) == MemberGroup::Diagonal ? 0.3 : 0.5;
        const bool flat = std::fabs(b.y() - a.y()) < 0.2 * std::fabs(b.x() - a.x());
        memberLabels.push_back({a + (b - a) * along + (flat ? QPointF(0, -3) : QPointF(5, 4)), looks.labelOf(m), look.color, 10,
                                looks.labelClass(), flat ? Anchor::Middle : Anchor::Start});
    }

    void drawNode(int n)
    {
        const QPointF p = at(n);
        ++omitted.nodes.total;
        if (!nodes.keep(p))
            return;
        ++omitted.nodes.shown;
        d.circles.push_back({p, 3.5, black, QColor(255, 255, 255), QStringLiteral("node")});
        nodeLabels.push_back({p + QPointF(-17, 14), QString::number(n), black, 10, QStringLiteral("node-number")});
    }

    // An arrow onto the node in the direction of its load, with its value.
    void drawLoad(int n)
    {
        const double load = t.node(n, NodeColumn::Load);
        if (load == 0.0 || !std::isfinite(load))
            return;
        const double direction = load < 0 ? 1.0 : -1.0;  // downwards on the page for a downward load
        const QPointF tip = at(n) + QPointF(0, -6 * direction);
        const QPointF tail = tip + QPointF(0, -50 * direction);
        ++omitted.arrows.total;
        ++omitted.loadLabels.total;
        if (!arrows.keep(tip))
            return;
        ++omitted.arrows.shown;
        d.lines.push_back({tail, tip, loadRed, 1.5, QStringLiteral("load")});
        d.polygons.push_back({QPolygonF({tip, tip + QPointF(-4, -9 * direction), tip + QPointF(4, -9 * direction)}),
                              loadRed, loadRed, QStringLiteral("load-head")});
        loadLabels.push_back({tail + QPointF(0, -6 * direction), labelValue(std::fabs(load)) + QStringLiteral(" kN"), loadRed, 10,
                              QStringLiteral("load-value")});
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
        fix({QPointF(xDim + 40, (top + bottom()) / 2 + 4), QStringLiteral("h = ") + labelValue(height) + QStringLiteral(" m"), grey,
             12, QStringLiteral("dimension-value")});
    }

    // The title line, and under it the legend: a stroke of each colour and its name.
    void drawKey()
    {
        fix({QPointF(margin, 24), titleOf(t, span, height), black, 13, QStringLiteral("title"), Anchor::Start});
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

    // Load values first, every other one left out until they stand clear;
    // then node numbers, then member labels, each where there is room.
    void placeLabels()
    {
        std::stable_sort(loadLabels.begin(), loadLabels.end(),
                         [](const TrussDrawing::Text& a, const TrussDrawing::Text& b) { return a.at.x() < b.at.x(); });
        omitted.loadStride = strideOf(loadLabels);
        for (std::size_t i = 0; i < loadLabels.size(); i += static_cast<std::size_t>(omitted.loadStride))
            omitted.loadLabels.shown += placer.place(d, loadLabels[i]);
        // Where the page could not show every node or member, a number or a
        // force could not be told to belong to the one drawn.
        omitted.nodeLabels.total = t.noNodes;
        if (!omitted.nodes.partial())
            for (const TrussDrawing::Text& label : nodeLabels)
                omitted.nodeLabels.shown += placer.place(d, label);
        omitted.memberLabels.total = omitted.members.total;
        if (!omitted.members.partial())
            for (const TrussDrawing::Text& label : memberLabels)
                omitted.memberLabels.shown += placer.place(d, label);
    }

    void drawCaption()
    {
        double y = bottom() + 110;
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
    const MemberLooks looks;
    TrussDrawing d;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    double span = 0, height = 0, scale = 1;

    Spacing members{memberSpacing}, nodes{nodeSpacing}, arrows{arrowSpacing};
    LabelPlacer placer;
    std::vector<TrussDrawing::Text> loadLabels, nodeLabels, memberLabels;
    std::vector<MemberLook> drawn;
    Omissions omitted;
};

}  // namespace

TrussDrawing drawTruss(const TrussFileContent& t, const std::vector<double>& forces, double pointsPerMetre)
{
    return Draftsman(t, forces, pointsPerMetre).draw();
}
