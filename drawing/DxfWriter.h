#pragma once

#include <vector>

#include <QByteArray>
#include <QPointF>
#include <QString>

// A DXF drawing as AutoCAD 2000 (AC1015) and every later CAD program reads
// it, in metres: the header, the nine tables, the model and paper space
// blocks, the entities and the root dictionary, every record with its handle
// and its owner's. Lines, circles, filled triangles, closed polylines and
// single-line texts, each on a layer named when the writer is made; ASCII
// names and texts.
class DxfWriter {
public:
    struct Layer {
        QString name;
        int color;  // AutoCAD's colour index, 1 to 255
    };
    // Where a text's point lies on its baseline.
    enum class Align { Left, Centre, Right };

    explicit DxfWriter(std::vector<Layer> layers) : layers_(std::move(layers)) {}

    void line(const QString& layer, QPointF a, QPointF b);
    void circle(const QString& layer, QPointF centre, double radius);
    void triangle(const QString& layer, QPointF a, QPointF b, QPointF c);  // filled
    void polygon(const QString& layer, const std::vector<QPointF>& corners);
    // degrees: counter-clockwise from the x axis
    void text(const QString& layer, QPointF at, double height, double degrees, const QString& text, Align align);

    // The whole file.
    QByteArray document() const;

private:
    struct Entity {
        const char* type;
        QString layer;
        QByteArray data;  // the group codes after the layer: handles are given out when the file is written
    };
    void add(const char* type, const QString& layer, QByteArray data);
    void reach(QPointF p);

    std::vector<Layer> layers_;
    std::vector<Entity> entities_;
    QPointF low_, high_;  // the extents of what is drawn
    bool empty_ = true;
};
