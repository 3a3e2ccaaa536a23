#include "report/PageDrawing.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "drawing/LabelPlacer.h"
#include "kvrfile/TrussVocabulary.h"

namespace {

constexpr double readable = 0.6;      // page points a drawing point: labels of 10 points 6 high
constexpr double tallestShare = 0.5;  // of the page's room: the most the drawing whole takes
constexpr double lowestShare = 0.07;  // of the page's room: the least height of the truss drawn whole, or it goes in rows
constexpr int rowPages = 2;           // the most pages the rows take
constexpr double overlap = 24;        // drawing points each row shows of its neighbours' stretches

// What a shape is part of, by its class.
enum class Part { Key, Body, Dimension, Caption };

Part partOf(const QString& cls)
{
    if (cls == QLatin1String("title") || cls == QLatin1String("legend"))
        return Part::Key;
    if (cls == QLatin1String("caption"))
        return Part::Caption;
    if (cls.startsWith(QLatin1String("dimension")))
        return Part::Dimension;
    return Part::Body;
}

// Each shape of the drawing with its part, the room it takes and whether it
// is a label; keep says which go into the copy.
template <class Keep> TrussDrawing subset(const TrussDrawing& d, Keep keep)
{
    TrussDrawing kept;
    kept.size = d.size;
    kept.origin = d.origin;
    kept.pointsPerMetre = d.pointsPerMetre;
    for (const auto& l : d.lines)
        if (keep(partOf(l.cls), QRectF(l.from, l.to).normalized().adjusted(-l.width, -l.width, l.width, l.width), false))
            kept.lines.push_back(l);
    for (const auto& c : d.circles)
        if (keep(partOf(c.cls), QRectF(c.centre - QPointF(c.radius, c.radius), c.centre + QPointF(c.radius, c.radius)), false))
            kept.circles.push_back(c);
    for (const auto& p : d.polygons)
        if (keep(partOf(p.cls), p.points.boundingRect(), false))
            kept.polygons.push_back(p);
    for (const auto& t : d.texts)
        if (keep(partOf(t.cls), LabelPlacer::boxOf(t), true))
            kept.texts.push_back(t);
    return kept;
}

QRectF boundsOf(const TrussDrawing& d, Part part)
{
    QRectF bounds;
    subset(d, [&](Part of, const QRectF& room, bool) {
        if (of == part)
            bounds = bounds.isNull() ? room : bounds.united(room);
        return false;
    });
    return bounds;
}

}  // namespace

PageDrawing::PageDrawing(const TrussFileContent& t, const std::vector<double>& forces, QSizeF room, const NodeForces* loads)
{
    TrussDrawing fit = drawTruss(t, forces, 0, nullptr, loads);
    const Extent extent = extentOf(t);
    const double span = extent.span(), height = extent.height();
    // What the drawing takes beyond the truss: margins, loads, supports, title, caption.
    const double beyondWidth = fit.size.width() - span * fit.pointsPerMetre;
    const double beyondHeight = fit.size.height() - height * fit.pointsPerMetre;
    const double tallest = tallestShare * room.height(), lowest = lowestShare * room.height();

    // Whole, drawn for the page's width at a readable scale, at most as tall as allowed.
    double ppm = span > 0 ? (room.width() / readable - beyondWidth) / span : fit.pointsPerMetre;
    if (height > 0)
        ppm = std::min(ppm, (tallest / readable - beyondHeight) / height);
    if (span > 0 && height > 0 && height * ppm * readable < lowest) {
        // In rows: the truss as high as the least allowed in each, in as many
        // rows as that takes, and no more than rowPages pages of them.
        const double core = room.width() / readable - 2 * overlap;
        ppm = lowest / (height * readable);
        const double rowHeight = (boundsOf(fit, Part::Body).height() - height * fit.pointsPerMetre + height * ppm) * readable;
        const int most = std::max(2, rowPages * static_cast<int>(room.height() / rowHeight));
        const int rows = std::min(most, static_cast<int>(std::ceil((span * ppm + beyondWidth) / core)));
        if (rows > 1) {
            ppm = (rows * core - beyondWidth) / span;  // the rows full
            cutIntoRows(drawTruss(t, forces, ppm, nullptr, loads), rows, room.width());
            return;
        }
    }
    TrussDrawing drawing = ppm > 0 && std::isfinite(ppm) ? drawTruss(t, forces, ppm, nullptr, loads) : std::move(fit);
    const double scale = std::min(room.width() / drawing.size.width(), tallest / drawing.size.height());
    pieces_.push_back({QRectF(QPointF(0, 0), drawing.size), scale, {}, std::move(drawing)});
}

void PageDrawing::cutIntoRows(const TrussDrawing& d, int rows, double width)
{
    rows_ = rows;
    const QRectF key = boundsOf(d, Part::Key), body = boundsOf(d, Part::Body), caption = boundsOf(d, Part::Caption);
    const double core = body.width() / rows;
    const double scale = width / (core + 2 * overlap);
    // The title and legend, and the caption, across the page: smaller where they are wider than it.
    const auto band = [&](const QRectF& bounds, Part part) {
        if (bounds.isNull())
            return;
        const double fitted = std::min(scale, width / (bounds.right() + 4));
        pieces_.push_back({QRectF(0, bounds.top() - 4, width / fitted, bounds.height() + 8),
                           fitted,
                           {},
                           subset(d, [part](Part of, const QRectF&, bool) { return of == part; })});
    };
    band(key, Part::Key);
    for (int row = 0; row < rows; ++row) {
        const double left = body.left() + row * core, right = row + 1 == rows ? body.right() + 1 : left + core;
        const QRectF from(left - overlap, body.top() - 2, core + 2 * overlap, body.height() + 4);
        // Shapes cut at the row's edges; each label whole, in the row of its middle.
        pieces_.push_back({from, scale,
                           subset(d, [&](Part of, const QRectF& room,
                                         bool label) { return of == Part::Body && !label && room.intersects(from); }),
                           subset(d, [&](Part of, const QRectF& room, bool label) {
                               return of == Part::Body && label && room.center().x() >= left && room.center().x() < right;
                           })});
    }
    band(caption, Part::Caption);
}

double PageDrawing::heightOf(int piece) const
{
    return pieces_[std::size_t(piece)].from.height() * pieces_[std::size_t(piece)].scale;
}

void PageDrawing::paint(QPainter& painter, int piece) const
{
    const Piece& p = pieces_[std::size_t(piece)];
    painter.save();
    painter.scale(p.scale, p.scale);
    painter.translate(-p.from.topLeft());
    painter.save();
    painter.setClipRect(p.from);
    ::paint(painter, p.clipped, p.from);
    painter.restore();
    ::paint(painter, p.whole);
    painter.restore();
}
