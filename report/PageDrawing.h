#pragma once

#include <vector>

#include <QRectF>
#include <QSizeF>

#include "drawing/TrussDrawing.h"
#include "report/TrussStudy.h"

class QPainter;

// The drawing of a truss with its member forces, laid out for pages of a
// given room: whole, across the page and at most half its height, when the
// truss stands high enough that way to be read; a long truss cut into rows
// set one under the other, each a stretch of the span, with the title and
// legend above them and the caption below. The labels are drawn for the
// scale the page shows them at, so that they can be read.
class PageDrawing {
public:
    PageDrawing(const TrussStudy& study, QSizeF room) : PageDrawing(study.truss, study.forces(), room) {}
    // Given loads, they are drawn in place of the file's (drawTruss).
    PageDrawing(const TrussFileContent& truss, const std::vector<double>& forces, QSizeF room, const NodeForces* loads = nullptr);

    // The pieces to set one under the other: the drawing whole, or its title
    // and legend, its rows and its caption.
    int pieces() const { return static_cast<int>(pieces_.size()); }
    int rows() const { return rows_; }
    double heightOf(int piece) const;  // points on the page
    // The piece across the page, from the painter's origin.
    void paint(QPainter& painter, int piece) const;

private:
    struct Piece {
        QRectF from;           // of the drawing
        double scale;          // page points a drawing point
        TrussDrawing clipped;  // shapes cut at the piece's edges
        TrussDrawing whole;    // shapes and labels drawn whole
    };
    void cutIntoRows(const TrussDrawing& drawing, int rows, double width);

    int rows_ = 1;
    std::vector<Piece> pieces_;
};
