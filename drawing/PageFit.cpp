#include "drawing/PageFit.h"

#include <cmath>

namespace {

// A character's advance, in ems, wide enough for digits and most letters of
// a sans-serif font.
constexpr double characterWidth = 0.62;

bool within(QPointF p, QPointF q, double distance) { return std::hypot(p.x() - q.x(), p.y() - q.y()) < distance; }

long long cellOf(double v, double size) { return static_cast<long long>(std::floor(v / size)); }

}  // namespace

long long cellKey(long long column, long long row) { return column * 1'000'003LL + row; }

// Each kept segment is filed under both its ends, so that a segment drawn
// the other way round is found from either end.
bool Spacing::keep(QPointF a, QPointF b)
{
    const long long column = cellOf(a.x(), distance_), row = cellOf(a.y(), distance_);
    for (long long c = column - 1; c <= column + 1; ++c)
        for (long long r = row - 1; r <= row + 1; ++r) {
            const auto found = cells_.find(cellKey(c, r));
            if (found == cells_.end())
                continue;
            for (const Kept& kept : found->second)
                if ((within(kept.a, a, distance_) && within(kept.b, b, distance_))
                    || (within(kept.b, a, distance_) && within(kept.a, b, distance_)))
                    return false;
        }
    cells_[cellKey(column, row)].push_back({a, b});
    if (const long long key = cellKey(cellOf(b.x(), distance_), cellOf(b.y(), distance_)); key != cellKey(column, row))
        cells_[key].push_back({a, b});
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

bool LabelPlacer::fits(const QRectF& box) const
{
    for (long long c = cellOf(box.left(), cell); c <= cellOf(box.right(), cell); ++c)
        for (long long r = cellOf(box.top(), cell); r <= cellOf(box.bottom(), cell); ++r) {
            const auto found = cells_.find(cellKey(c, r));
            if (found == cells_.end())
                continue;
            for (const QRectF& placed : found->second)
                if (placed.intersects(box))
                    return false;
        }
    return true;
}

void LabelPlacer::add(const QRectF& box)
{
    for (long long c = cellOf(box.left(), cell); c <= cellOf(box.right(), cell); ++c)
        for (long long r = cellOf(box.top(), cell); r <= cellOf(box.bottom(), cell); ++r)
            cells_[cellKey(c, r)].push_back(box);
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

int strideOf(const std::vector<TrussDrawing::Text>& labels)
{
    const auto clearAt = [&](std::size_t stride) {
        for (std::size_t i = stride; i < labels.size(); i += stride)
            if (LabelPlacer::boxOf(labels[i]).intersects(LabelPlacer::boxOf(labels[i - stride])))
                return false;
        return true;
    };
    std::size_t stride = 1;
    while (stride < labels.size() && !clearAt(stride))
        stride *= 2;
    return static_cast<int>(stride);
}

double lengthOf(QPointF v) { return std::hypot(v.x(), v.y()); }

bool Run::extend(QPointF a, QPointF b, const MemberLook& next)
{
    if (next.name != look.name || next.cls != look.cls)
        return false;
    const QPointF end = a == to ? b : b == to ? a : QPointF(NAN, NAN);
    const QPointF along = to - from, onward = end - to;
    const double off = std::fabs(along.x() * onward.y() - along.y() * onward.x()) / lengthOf(along);
    if (!(off < 0.25 && QPointF::dotProduct(along, onward) > 0))
        return false;
    to = end;
    return true;
}
