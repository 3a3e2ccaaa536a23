#pragma once

#include <unordered_map>
#include <vector>

#include <QPointF>
#include <QRectF>

#include "drawing/DrawingKey.h"
#include "drawing/TrussDrawing.h"

// What keeps a drawing legible at any size: shapes closer together than the
// page can show are drawn once, and labels go only where there is room.

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

// Labels placed one after the other, each only where it overlaps none placed
// before it.
class LabelPlacer {
public:
    // The page the text takes, from its size, length and anchor.
    static QRectF boxOf(const TrussDrawing::Text& text);

    bool fits(const QRectF& box) const;
    void add(const QRectF& box);
    // Adds the text to the drawing when it fits; says whether it did.
    bool place(TrussDrawing& drawing, const TrussDrawing::Text& text);

private:
    static constexpr double cell = 40;
    std::unordered_map<long long, std::vector<QRectF>> cells_;
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
