#include "tools/kvrtool/TrussDrawing.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include "kvrfile/TrussStructure.h"

namespace {

const QColor black(0, 0, 0);
const QColor grey(110, 110, 110);
const QColor loadRed(192, 0, 0);

QColor colorOf(MemberGroup group)
{
    switch (group) {
    case MemberGroup::BottomChord:
    case MemberGroup::TopChord:
        return {31, 78, 121};
    case MemberGroup::Vertical:
        return {84, 130, 53};
    case MemberGroup::Diagonal:
        return {197, 90, 17};
    case MemberGroup::Unknown:
        break;
    }
    return grey;
}

QString classOf(MemberGroup group)
{
    return QStringLiteral("member ") + QString::fromLatin1(groupName(group)).replace(u' ', u'-');
}

QString value(double v) { return QString::number(v, 'g', 4); }

// The truss to scale on a page: at most 1000 points wide and 500 high, with
// room around it for loads, supports and dimensions.
class Draftsman {
public:
    explicit Draftsman(const TrussFileContent& truss) : t(truss)
    {
        for (int n = 1; n <= t.noNodes; ++n) {
            const double x = t.node(n, NodeColumn::X), y = t.node(n, NodeColumn::Y);
            if (!std::isfinite(x) || !std::isfinite(y))
                continue;
            xMin = n == 1 ? x : std::min(xMin, x);
            xMax = n == 1 ? x : std::max(xMax, x);
            yMin = n == 1 ? y : std::min(yMin, y);
            yMax = n == 1 ? y : std::max(yMax, y);
        }
        span = xMax - xMin;
        height = yMax - yMin;
        scale = std::min(span > 0 ? 1000.0 / span : 100.0, height > 0 ? 500.0 / height : 1e9);
        d.size = QSizeF(left + span * scale + 140, top + height * scale + 130);
    }

    TrussDrawing draw()
    {
        drawMembers();
        for (int n = 1; n <= t.noNodes; ++n) {
            drawNode(n);
            drawLoad(n);
            drawSupport(n);
        }
        drawDimensions();
        return std::move(d);
    }

private:
    QPointF at(int n) const
    {
        const double x = std::isfinite(t.node(n, NodeColumn::X)) ? t.node(n, NodeColumn::X) : xMin;
        const double y = std::isfinite(t.node(n, NodeColumn::Y)) ? t.node(n, NodeColumn::Y) : yMin;
        return {left + (x - xMin) * scale, top + (yMax - y) * scale};
    }

    void drawMembers()
    {
        for (int m = 1; m <= t.noMembers; ++m) {
            const int first = nodeNumber(t, m, MemberColumn::First), second = nodeNumber(t, m, MemberColumn::Second);
            if (first == 0 || second == 0)
                continue;
            const MemberGroup group = groupOf(t, m);
            const QPointF a = at(first), b = at(second);
            d.lines.push_back({a, b, colorOf(group), 2.0, classOf(group)});
            // Crossing diagonals meet at their middles: label them nearer their top ends.
            const double along = group == MemberGroup::Diagonal ? 0.3 : 0.5;
            d.texts.push_back({a + (b - a) * along + QPointF(0, -3), QString::number(m), colorOf(group), 10,
                               QStringLiteral("member-number")});
        }
    }

    void drawNode(int n)
    {
        const QPointF p = at(n);
        d.circles.push_back({p, 3.5, black, QColor(255, 255, 255), QStringLiteral("node")});
        d.texts.push_back({p + QPointF(-17, 14), QString::number(n), black, 10, QStringLiteral("node-number")});
    }

    // An arrow onto the node in the direction of its load, with its value.
    void drawLoad(int n)
    {
        const double load = t.node(n, NodeColumn::Load);
        if (load == 0.0 || !std::isfinite(load))
            return;
        const double direction = load < 0 ? 1.0 : -1.0;  // downwards on the page for a downward load
        const QPointF tip = at(n) + QPointF(0, -6 * direction);
        const QPointF tail = tip + QPointF(0, -50 * direction);
        d.lines.push_back({tail, tip, loadRed, 1.5, QStringLiteral("load")});
        d.polygons.push_back({QPolygonF({tip, tip + QPointF(-4, -9 * direction), tip + QPointF(4, -9 * direction)}),
                              loadRed, loadRed, QStringLiteral("load-head")});
        d.texts.push_back({tail + QPointF(0, -6 * direction), value(std::fabs(load)) + QStringLiteral(" kN"), loadRed, 10,
                           QStringLiteral("load-value")});
    }

    // A triangle on the ground for the pin; on two wheels for the roller.
    void drawSupport(int n)
    {
        const float code = t.node(n, NodeColumn::Support);
        if (code != SupportCode::Pin && code != SupportCode::Roller)
            return;
        const QPointF base = at(n) + QPointF(0, 4);
        const QPolygonF triangle({base, base + QPointF(-10, 16), base + QPointF(10, 16)});
        const QColor fill(220, 220, 220);
        if (code == SupportCode::Pin) {
            d.polygons.push_back({triangle, black, fill, QStringLiteral("support pin")});
            d.lines.push_back({base + QPointF(-14, 16), base + QPointF(14, 16), black, 1.5, QStringLiteral("support-ground")});
            return;
        }
        d.polygons.push_back({triangle, black, fill, QStringLiteral("support roller")});
        for (const double dx : {-5.0, 5.0})
            d.circles.push_back({base + QPointF(dx, 19), 3, black, QColor(255, 255, 255), QStringLiteral("support-wheel")});
        d.lines.push_back({base + QPointF(-14, 22), base + QPointF(14, 22), black, 1.5, QStringLiteral("support-ground")});
    }

    // Span, below the supports; height, right of the truss.
    void drawDimensions()
    {
        const double bottom = top + height * scale, right = left + span * scale;
        const double yDim = bottom + 60, xDim = right + 50;
        d.lines.push_back({QPointF(left, yDim), QPointF(right, yDim), grey, 1, QStringLiteral("dimension")});
        for (const double x : {left, right})
            d.lines.push_back({QPointF(x, yDim - 6), QPointF(x, yDim + 6), grey, 1, QStringLiteral("dimension")});
        d.texts.push_back({QPointF((left + right) / 2, yDim + 18), QStringLiteral("L = ") + value(span) + QStringLiteral(" m"),
                           grey, 12, QStringLiteral("dimension-value")});
        d.lines.push_back({QPointF(xDim, top), QPointF(xDim, bottom), grey, 1, QStringLiteral("dimension")});
        for (const double y : {top, bottom})
            d.lines.push_back({QPointF(xDim - 6, y), QPointF(xDim + 6, y), grey, 1, QStringLiteral("dimension")});
        d.texts.push_back({QPointF(xDim + 40, (top + bottom) / 2 + 4),
                           QStringLiteral("h = ") + value(height) + QStringLiteral(" m"), grey, 12,
                           QStringLiteral("dimension-value")});
    }

    static constexpr double left = 80, top = 110;

    const TrussFileContent& t;
    TrussDrawing d;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    double span = 0, height = 0, scale = 1;
};

}  // namespace

TrussDrawing drawTruss(const TrussFileContent& t) { return Draftsman(t).draw(); }

namespace {

QString coordinate(double v) { return QString::number(v, 'f', 2); }

QString escaped(const QString& text) { return text.toHtmlEscaped(); }

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
                              "text-anchor=\"middle\" fill=\"%5\">%6</text>\n")
                   .arg(t.cls, coordinate(t.at.x()), coordinate(t.at.y()), coordinate(t.size), t.color.name(), escaped(t.text));
    svg += QStringLiteral("</svg>\n");
    return svg;
}

QImage toImage(const TrussDrawing& d)
{
    QImage image(d.size.toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto& l : d.lines) {
        painter.setPen(QPen(l.color, l.width));
        painter.drawLine(l.from, l.to);
    }
    for (const auto& p : d.polygons) {
        painter.setPen(p.stroke);
        painter.setBrush(p.fill);
        painter.drawPolygon(p.points);
    }
    for (const auto& c : d.circles) {
        painter.setPen(c.stroke);
        painter.setBrush(c.fill);
        painter.drawEllipse(c.centre, c.radius, c.radius);
    }
    for (const auto& t : d.texts) {
        QFont font(QStringLiteral("sans-serif"));
        font.setPixelSize(static_cast<int>(t.size));
        painter.setFont(font);
        painter.setPen(t.color);
        const double width = QFontMetricsF(font).horizontalAdvance(t.text);
        painter.drawText(t.at - QPointF(width / 2, 0), t.text);
    }
    return image;
}
