#include "drawing/LabelPlacer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "drawing/PageFit.h"

namespace {

// A character's advance, in ems, wide enough for digits and most letters of
// a sans-serif font.
constexpr double characterWidth = 0.62;

// Whether any of the segment p-q lies in the box: its ends clipped to the
// box's sides one after the other (Liang and Barsky).
bool runsThrough(QPointF p, QPointF q, const QRectF& box)
{
    double enter = 0, leave = 1;
    const QPointF d = q - p;
    const double sides[4][2] = {
        {-d.x(), p.x() - box.left()}, {d.x(), box.right() - p.x()}, {-d.y(), p.y() - box.top()}, {d.y(), box.bottom() - p.y()}};
    for (const auto& [towards, room] : sides) {
        if (towards == 0) {
            if (room < 0)
                return false;
            continue;
        }
        const double t = room / towards;
        if (towards < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    return enter <= leave;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double squared = QPointF::dotProduct(ab, ab);
    const double t = squared > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / squared, 0.0, 1.0) : 0.0;
    return lengthOf(p - (a + ab * t));
}

double cross(QPointF u, QPointF v) { return u.x() * v.y() - u.y() * v.x(); }

double distanceBetween(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const double abc = cross(b - a, c - a), abd = cross(b - a, d - a), cda = cross(d - c, a - c), cdb = cross(d - c, b - c);
    if (((abc > 0 && abd < 0) || (abc < 0 && abd > 0)) && ((cda > 0 && cdb < 0) || (cda < 0 && cdb > 0)))
        return 0;
    return std::min(
        {distanceToSegment(a, c, d), distanceToSegment(b, c, d), distanceToSegment(c, a, b), distanceToSegment(d, a, b)});
}

long long cellOf(double v, double size) { return static_cast<long long>(std::floor(v / size)); }

QRectF boundsOf(QPointF a, QPointF b, double margin)
{
    return QRectF(a, b).normalized().adjusted(-margin, -margin, margin, margin);
}

}  // namespace

template <class Visit> bool LabelPlacer::forCells(const QRectF& area, Visit visit)
{
    for (long long c = cellOf(area.left(), cell); c <= cellOf(area.right(), cell); ++c)
        for (long long r = cellOf(area.top(), cell); r <= cellOf(area.bottom(), cell); ++r)
            if (!visit(cellKey(c, r)))
                return false;
    return true;
}

template <class Visit> bool LabelPlacer::forSegments(const QRectF& area, Visit visit) const
{
    for (long long c = cellOf(area.left(), cell); c <= cellOf(area.right(), cell); ++c)
        if (const auto found = segmentColumns_.find(c); found != segmentColumns_.end())
            for (const int i : found->second)
                if (const Segment& s = segments_[static_cast<std::size_t>(i)]; s.bounds.intersects(area) && !visit(s))
                    return false;
    return true;
}

QRectF LabelPlacer::boxOf(const TrussDrawing::Text& text)
{
    const double width = characterWidth * text.size * static_cast<double>(text.text.size());
    const double left = text.at.x() - TrussDrawing::startOffset(text.anchor, width);
    // From the top of the digits to a little below the baseline, with a
    // margin that keeps neighbours apart.
    constexpr double gap = 1.5;
    return {left - gap, text.at.y() - 0.8 * text.size - gap, width + 2 * gap, text.size + 2 * gap};
}

// Segments are filed by the columns of the page they cross: a member of a
// drawing zoomed in may run through thousands of cells, but a truss is wide
// rather than tall.
void LabelPlacer::avoidLine(QPointF a, QPointF b, double width)
{
    const int index = static_cast<int>(segments_.size());
    const QRectF bounds = boundsOf(a, b, width / 2 + 0.5);
    segments_.push_back({a, b, width / 2, bounds});
    for (long long c = cellOf(bounds.left(), cell); c <= cellOf(bounds.right(), cell); ++c)
        segmentColumns_[c].push_back(index);
}

void LabelPlacer::avoidShapes(const TrussDrawing& d)
{
    for (const TrussDrawing::Line& line : d.lines)
        avoidLine(line.from, line.to, line.width);
    for (const TrussDrawing::Polygon& polygon : d.polygons)
        for (qsizetype i = 0; i < polygon.points.size(); ++i)
            avoidLine(polygon.points[i], polygon.points[(i + 1) % polygon.points.size()], 1);
    for (const TrussDrawing::Circle& circle : d.circles) {
        const int index = static_cast<int>(rounds_.size());
        rounds_.push_back({circle.centre, circle.radius + 0.5});
        forCells(boundsOf(circle.centre, circle.centre, circle.radius + 0.5), [&](long long key) {
            roundsIn_[key].push_back(index);
            return true;
        });
    }
}

bool LabelPlacer::fits(const QRectF& box) const
{
    const bool apart = forCells(box, [&](long long key) {
        if (const auto found = boxes_.find(key); found != boxes_.end())
            for (const QRectF& placed : found->second)
                if (placed.intersects(box))
                    return false;
        if (const auto found = roundsIn_.find(key); found != roundsIn_.end())
            for (const int i : found->second) {
                const Round& round = rounds_[static_cast<std::size_t>(i)];
                const QPointF nearest(std::clamp(round.centre.x(), box.left(), box.right()),
                                      std::clamp(round.centre.y(), box.top(), box.bottom()));
                if (lengthOf(nearest - round.centre) < round.radius)
                    return false;
            }
        return true;
    });
    return apart && forSegments(box, [&](const Segment& s) {
               return !runsThrough(s.a, s.b, box.adjusted(-s.halfWidth, -s.halfWidth, s.halfWidth, s.halfWidth));
           });
}

bool LabelPlacer::clear(QPointF a, QPointF b, bool linesToo) const
{
    // A margin: a rectangle of no width meets nothing.
    const QRectF bounds = boundsOf(a, b, 0.5);
    const bool apart = forCells(bounds, [&](long long key) {
        if (const auto found = boxes_.find(key); found != boxes_.end())
            for (const QRectF& placed : found->second)
                if (runsThrough(a, b, placed))
                    return false;
        if (const auto found = roundsIn_.find(key); found != roundsIn_.end())
            for (const int i : found->second) {
                const Round& round = rounds_[static_cast<std::size_t>(i)];
                if (distanceToSegment(round.centre, a, b) <= round.radius)
                    return false;
            }
        return true;
    });
    return apart && (!linesToo || forSegments(bounds, [&](const Segment& s) {
               return distanceBetween(a, b, s.a, s.b) > s.halfWidth + 0.5;
           }));
}

void LabelPlacer::add(const QRectF& box)
{
    forCells(box, [&](long long key) {
        boxes_[key].push_back(box);
        return true;
    });
}

bool LabelPlacer::place(TrussDrawing& drawing, const TrussDrawing::Text& text)
{
    const QRectF box = boxOf(text);
    if (!fits(box))
        return false;
    add(box);
    drawing.texts.push_back(text);
    return true;
}

TrussDrawing::Text centredAt(TrussDrawing::Text text, QPointF centre)
{
    text.anchor = TrussDrawing::Anchor::Middle;
    text.at = QPointF(0, 0);
    text.at = centre - LabelPlacer::boxOf(text).center();
    return text;
}

double reachAlong(const QRectF& box, QPointF direction)
{
    const double inf = std::numeric_limits<double>::infinity();
    return std::min(direction.x() != 0 ? box.width() / 2 / std::fabs(direction.x()) : inf,
                    direction.y() != 0 ? box.height() / 2 / std::fabs(direction.y()) : inf);
}

double reachAcross(const QRectF& box, QPointF normal)
{
    return box.width() / 2 * std::fabs(normal.x()) + box.height() / 2 * std::fabs(normal.y());
}
