#pragma once

#include <unordered_map>
#include <vector>

#include <QPointF>
#include <QRectF>

#include "drawing/DrawingKey.h"
#include "drawing/LabelPlacer.h"
#include "drawing/TrussDrawing.h"

// What keeps a drawing legible at any size: shapes closer together than the
// page can show apart are drawn once, and labels go only where there is room
// (LabelPlacer).

// Segments (or points, a == b) kept at least a distance apart: a segment is
// left out when a kept one has both ends within the distance of its ends.
class Spacing {
public:
    explicit Spacing(double distance) : distance_(distance) {}
    bool keep(QPointF a, QPointF b);
    bool keep(QPointF p) { return keep(p, p); }

private:
    struct Kept {
        QPointF a, b;
    };
    double distance_;
    std::unordered_map<long long, std::vector<Kept>> cells_;
};

// The smallest step (1, 2, 4, ...) by which every step-th of these labels,
// in their order, stays clear of the one kept before it.
int strideOf(const std::vector<TrussDrawing::Text>& labels);

// A cell of a grid, as one key.
long long cellKey(long long column, long long row);

double lengthOf(QPointF v);

// Members shorter than the page can show that continue one another in a
// straight line, drawn as one line.
struct Run {
    QPointF from, to;
    MemberLook look;

    // Takes on the member a-b when it goes on from the run's end in its direction.
    bool extend(QPointF a, QPointF b, const MemberLook& next);
};
