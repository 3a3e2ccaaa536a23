// A drawing written out: as SVG text, or painted onto any paint device (an
// image, a widget, a printer).
#include <algorithm>

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include "drawing/TrussDrawing.h"

namespace {

QString coordinate(double v) { return QString::number(v, 'f', 2); }

QString escaped(const QString& text) { return text.toHtmlEscaped(); }

QString anchorName(TrussDrawing::Anchor anchor)
{
    switch (anchor) {
    case TrussDrawing::Anchor::Start:
        return QStringLiteral("start");
    case TrussDrawing::Anchor::End:
        return QStringLiteral("end");
    case TrussDrawing::Anchor::Middle:
        break;
    }
    return QStringLiteral("middle");
}

}  // namespace

QString toSvg(const TrussDrawing& d)
{
    QString svg;
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    svg += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\">\n")
               .arg(coordinate(d.size.width()), coordinate(d.size.height()));
    svg += QStringLiteral("<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n");
    for (const auto& l : d.lines)
        svg += QStringLiteral("<line class=\"%1\" x1=\"%2\" y1=\"%3\" x2=\"%4\" y2=\"%5\" stroke=\"%6\" stroke-width=\"%7\"/>\n")
                   .arg(l.cls, coordinate(l.from.x()), coordinate(l.from.y()), coordinate(l.to.x()), coordinate(l.to.y()),
                        l.color.name(), coordinate(l.width));
    for (const auto& p : d.polygons) {
        QStringList points;
        for (const QPointF& point : p.points)
            points << coordinate(point.x()) + u',' + coordinate(point.y());
        svg += QStringLiteral("<polygon class=\"%1\" points=\"%2\" stroke=\"%3\" fill=\"%4\"/>\n")
                   .arg(p.cls, points.join(u' '), p.stroke.name(), p.fill.name());
    }
    for (const auto& c : d.circles)
        svg += QStringLiteral("<circle class=\"%1\" cx=\"%2\" cy=\"%3\" r=\"%4\" stroke=\"%5\" fill=\"%6\"/>\n")
                   .arg(c.cls, coordinate(c.centre.x()), coordinate(c.centre.y()), coordinate(c.radius), c.stroke.name(),
                        c.fill.name());
    for (const auto& t : d.texts)
        svg += QStringLiteral("<text class=\"%1\" x=\"%2\" y=\"%3\" font-family=\"sans-serif\" font-size=\"%4\" "
                              "text-anchor=\"%5\" fill=\"%6\">%7</text>\n")
                   .arg(t.cls, coordinate(t.at.x()), coordinate(t.at.y()), coordinate(t.size), anchorName(t.anchor),
                        t.color.name(), escaped(t.text));
    svg += QStringLiteral("</svg>\n");
    return svg;
}

void paint(QPainter& painter, const TrussDrawing& d) { paint(painter, d, QRectF(QPointF(0, 0), d.size)); }

void paint(QPainter& painter, const TrussDrawing& d, const QRectF& visible)
{
    // Shapes reach a few points beyond their coordinates (line widths, text).
    const QRectF near = visible.adjusted(-4, -4, 4, 4);
    const auto seen = [&](QPointF a, QPointF b) {
        return std::max(a.x(), b.x()) >= near.left() && std::min(a.x(), b.x()) <= near.right()
               && std::max(a.y(), b.y()) >= near.top() && std::min(a.y(), b.y()) <= near.bottom();
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto& l : d.lines) {
        if (!seen(l.from, l.to))
            continue;
        painter.setPen(QPen(l.color, l.width));
        painter.drawLine(l.from, l.to);
    }
    for (const auto& p : d.polygons) {
        if (!near.intersects(p.points.boundingRect()))
            continue;
        painter.setPen(p.stroke);
        painter.setBrush(p.fill);
        painter.drawPolygon(p.points);
    }
    for (const auto& c : d.circles) {
        if (!seen(c.centre - QPointF(c.radius, c.radius), c.centre + QPointF(c.radius, c.radius)))
            continue;
        painter.setPen(c.stroke);
        painter.setBrush(c.fill);
        painter.drawEllipse(c.centre, c.radius, c.radius);
    }
    QFont font(QStringLiteral("sans-serif"));
    for (const auto& t : d.texts) {
        // Texts are no longer than a few hundred points: look no further.
        if (!seen(t.at - QPointF(400, t.size), t.at + QPointF(400, t.size)))
            continue;
        font.setPixelSize(static_cast<int>(t.size));
        painter.setFont(font);
        painter.setPen(t.color);
        const double width = QFontMetricsF(font).horizontalAdvance(t.text);
        painter.drawText(t.at - QPointF(TrussDrawing::startOffset(t.anchor, width), 0), t.text);
    }
    painter.restore();
}

QImage toImage(const TrussDrawing& d, double scale)
{
    QImage image((d.size * scale).toSize().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    paint(painter, d);
    painter.end();
    return image;
}

QByteArray toPng(const TrussDrawing& d, double scale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!toImage(d, scale).save(&buffer, "PNG"))
        return {};
    return bytes;
}
