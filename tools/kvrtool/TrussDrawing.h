#pragma once

#include <vector>

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QPolygonF>
#include <QSizeF>
#include <QString>

#include "kvrfile/TrussFileReader.h"

// A picture of a truss as a list of shapes, drawn once and written out either
// as SVG text or as a PNG image. Every shape carries a class that names what
// it shows ("member bottom-chord", "node", "support pin", "load", ...).
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
    struct Text {
        QPointF at;  // the middle of the text's baseline
        QString text;
        QColor color;
        double size;
        QString cls;
    };

    QSizeF size;
    std::vector<Line> lines;
    std::vector<Circle> circles;
    std::vector<Polygon> polygons;
    std::vector<Text> texts;
};

// The truss to scale: members coloured by group, node and member numbers, the
// supports, the load arrows with their values, span and height dimensioned.
// The file must have its tables.
TrussDrawing drawTruss(const TrussFileContent& truss);

QString toSvg(const TrussDrawing& drawing);

// Needs a QGuiApplication, for the fonts.
QImage toImage(const TrussDrawing& drawing);
