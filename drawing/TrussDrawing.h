#pragma once

#include <vector>

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPointF>
#include <QPolygonF>
#include <QSizeF>
#include <QString>

#include "analysis/NodeLoads.h"
#include "kvrfile/TrussFileContent.h"

class QPainter;
struct MemberColours;

// A picture of a truss as a list of shapes, drawn once and written out either
// as SVG text or painted onto any paint device: an image, a widget, a
// printer. Every shape carries a class that names what it shows ("member
// bottom-chord", "node", "support pin", "load", ...).
struct TrussDrawing {
    struct Line {
        QPointF from, to;
        QColor color;
        double width;
        QString cls;
    };
    struct Circle {
        QPointF centre;
        double radius;
        QColor stroke, fill;
        QString cls;
    };
    struct Polygon {
        QPolygonF points;
        QColor stroke, fill;
        QString cls;
    };
    enum class Anchor { Start, Middle, End };
    struct Text {
        QPointF at;  // the point of the text's baseline given by anchor
        QString text;
        QColor color;
        double size;
        QString cls;
        Anchor anchor = Anchor::Middle;
    };

    // How far left of its anchor point a text of this width starts.
    static double startOffset(Anchor anchor, double width)
    {
        return anchor == Anchor::Start ? 0.0 : anchor == Anchor::End ? width : width / 2;
    }

    QSizeF size;
    // Where the truss lies on the page: page = origin + (x, -y) x pointsPerMetre,
    // x and y in m from the truss's leftmost and highest points.
    QPointF origin;
    double pointsPerMetre = 1.0;
    std::vector<Line> lines;
    std::vector<Circle> circles;
    std::vector<Polygon> polygons;
    std::vector<Text> texts;
};

// The truss to scale, under a title line (span, height, panels, loads) and a
// legend of the colours: members coloured by group and labelled with their
// numbers, or, given their forces (kN, tension positive, indexed by member
// number), coloured by the sign of the force and labelled with it; node
// numbers, the supports, the load arrows with their values, span and height
// dimensioned. No label is crossed by a line, an arrow or a node, nor
// overlaps another: each goes beside its member or node, or at the end of a
// leader, or is left out. The largest tension, the largest compression and
// the largest force in the web go first and are always shown; then the load
// values, the other member labels from the largest force down, the node
// numbers. Lines, circles and arrow heads are drawn thinner where the nodes
// stand close, and shapes are drawn once only where even so they would run
// into one another; a caption counts what was left out and what was thinned.
// The file must have its tables. Drawn to fit a page at most 1000 points
// wide and 500 high, or, given pointsPerMetre, to that scale, so that a view
// zoomed in gets the labels its room allows.
// Given the members' colours, they are drawn and the legend reads as those
// say, the labels still the forces. Given loads (by node number), they are
// drawn in place of the file's, a horizontal one as an arrow across, and
// the title sums them.
TrussDrawing drawTruss(const TrussFileContent& truss, const std::vector<double>& forces = {}, double pointsPerMetre = 0,
                       const MemberColours* colours = nullptr, const NodeForces* loads = nullptr);

QString toSvg(const TrussDrawing& drawing);

// The one painting path: the shapes in page coordinates (pt, one pixel each
// on an image), over whatever background the device has. The painter is left
// as it was given. Needs a QGuiApplication, for the fonts.
void paint(QPainter& painter, const TrussDrawing& drawing);
// The same, leaving out the shapes wholly outside visible (page coordinates):
// a view of a part of a large drawing.
void paint(QPainter& painter, const TrussDrawing& drawing, const QRectF& visible);

// The drawing painted on white, scale pixels a point.
QImage toImage(const TrussDrawing& drawing, double scale = 1.0);
// The same as the bytes of a PNG file; empty when it could not be encoded.
QByteArray toPng(const TrussDrawing& drawing, double scale = 1.0);
