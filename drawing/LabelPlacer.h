#pragma once

#include <unordered_map>
#include <vector>

#include <QPointF>
#include <QRectF>

#include "drawing/TrussDrawing.h"

// Labels placed one after the other, each only where it overlaps no label
// placed before it and no shape is drawn through it: no member, arrow,
// node, support or leader.
class LabelPlacer {
public:
    // The page the text takes, from its size, length and anchor.
    static QRectF boxOf(const TrussDrawing::Text& text);

    // The shapes of the drawing as it is now, for the labels to keep clear of.
    void avoidShapes(const TrussDrawing& drawing);
    void avoidLine(QPointF a, QPointF b, double width);

    bool fits(const QRectF& box) const;
    // Whether a line from a to b would run through no label and no circle
    // and, unless linesToo is false, touch no line either.
    bool clear(QPointF a, QPointF b, bool linesToo) const;
    void add(const QRectF& box);
    // Adds the text to the drawing when it fits; says whether it did.
    bool place(TrussDrawing& drawing, const TrussDrawing::Text& text);

private:
    struct Segment {
        QPointF a, b;
        double halfWidth;
        QRectF bounds;
    };
    struct Round {
        QPointF centre;
        double radius;
    };
    // Each cell the area touches, until visit says no more; whether it never did.
    template <class Visit> static bool forCells(const QRectF& area, Visit visit);
    template <class Visit> bool forSegments(const QRectF& area, Visit visit) const;

    static constexpr double cell = 40;
    std::unordered_map<long long, std::vector<QRectF>> boxes_;
    std::unordered_map<long long, std::vector<int>> roundsIn_, segmentColumns_;
    std::vector<Segment> segments_;
    std::vector<Round> rounds_;
};

// The text moved so that its box is centred on centre.
TrussDrawing::Text centredAt(TrussDrawing::Text text, QPointF centre);

// How far a box reaches from its centre: to its edge along the unit vector
// direction, and across a line whose unit normal is normal.
double reachAlong(const QRectF& box, QPointF direction);
double reachAcross(const QRectF& box, QPointF normal);
