#include "drawing/PageFit.h"

#include <cmath>

namespace {

bool within(QPointF p, QPointF q, double distance) { return lengthOf(p - q) < distance; }

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

// A square root, rounded alike on every system; hypot is not.
double lengthOf(QPointF v) { return std::sqrt(v.x() * v.x() + v.y() * v.y()); }

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
