#include "viewer/TrussCanvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QGestureEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPinchGesture>
#include <QWheelEvent>

#include "kvrfile/TrussVocabulary.h"

namespace {

// A case's loads where they push sideways, which the truss file's table
// cannot show; none otherwise, and the drawing shows the file's own column.
const NodeForces* sideLoads(const TrussStudy& study)
{
    if (!study.solution)
        return nullptr;
    const NodeForces& loads = study.solution->loads;
    return std::any_of(loads.begin(), loads.end(), [](const NodeForce& f) { return f.fx != 0.0; }) ? &loads : nullptr;
}

constexpr double pickDistance = 6;        // px
constexpr double largestPage = 2e6;       // pt: what a drawing made at a zoomed scale may span
constexpr double redrawAbove = 1.3;       // redraw when the zoom has moved this far from the drawing's scale
constexpr double leastMagnification = 0.2;

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

}  // namespace

TrussCanvas::TrussCanvas(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    setAttribute(Qt::WA_OpaquePaintEvent);
    grabGesture(Qt::PinchGesture);
    redraw.setSingleShot(true);
    redraw.setInterval(120);
    connect(&redraw, &QTimer::timeout, this, &TrussCanvas::drawAtZoom);
}

void TrussCanvas::setStudy(std::shared_ptr<const TrussStudy> next, bool keepView)
{
    const bool hadTruss = study && study->drawable();
    study = std::move(next);
    nodes.clear();
    colours.reset();
    forces = study ? study->forces() : std::vector<double>{};
    if (!study || !study->drawable()) {
        drawing_ = TrussDrawing{};
        update();
        return;
    }
    const TrussFileContent& t = study->truss;
    const Extent box = extentOf(t);
    extent = box.empty ? QSizeF() : QSizeF(box.span(), box.height());
    nodes.resize(t.nodeRows());
    for (int n = 1; n <= t.noNodes; ++n) {
        const double x = t.node(n, NodeColumn::X), y = t.node(n, NodeColumn::Y);
        nodes[std::size_t(n)] = std::isfinite(x) && std::isfinite(y) ? QPointF(x - box.xMin, box.yMax - y) : QPointF();
    }
    fitPixelsPerMetre = fitScale();
    if (keepView && hadTruss && !fitted) {
        drawing_ = drawTruss(t, forces, std::max(fitPixelsPerMetre, std::min(pixelsPerMetre, mostPointsPerMetre())), colours.get(), sideLoads(*study));
        update();
    } else {
        fit();
    }
}

// The scale at which the drawing, one point a pixel, fits the widget: its
// margins (title, legend, dimensions, caption) as the last drawing had them,
// the truss in what is left.
double TrussCanvas::fitScale() const
{
    const double inf = std::numeric_limits<double>::infinity();
    const double across = extent.width() > 0 ? (width() - margins.width()) / extent.width() : inf;
    const double down = extent.height() > 0 ? (height() - margins.height()) / extent.height() : inf;
    const double fits = std::min(across, down);
    // A widget smaller than the margins shows a drawing a fifth of its width scaled down.
    const double least = extent.width() > 0 ? 0.2 * std::max(width(), 100) / extent.width() : 1.0;
    return std::isfinite(fits) ? std::clamp(fits, least, mostPointsPerMetre()) : least;
}

double TrussCanvas::mostPointsPerMetre() const { return largestPage / std::max(extent.width(), 1e-9); }

void TrussCanvas::fit()
{
    fitted = true;
    if (!study || !study->drawable()) {
        update();
        return;
    }
    drawing_ = drawTruss(study->truss, forces, fitScale(), colours.get(), sideLoads(*study));
    // The room above and below the truss (title, legend, loads, dimensions,
    // caption) may differ from the last drawing's: once more, when it takes
    // more. Left and right, the room is the drawing's own; lines of text
    // wider than the truss are scaled down with it below.
    const double measured = drawing_.size.height() - extent.height() * drawing_.pointsPerMetre;
    const bool taller = measured > margins.height() + 1;
    margins.setHeight(measured);
    if (taller)
        drawing_ = drawTruss(study->truss, forces, fitScale(), colours.get(), sideLoads(*study));
    // The truss and its dimensions fit; a caption wider than they are may
    // run on beyond the right edge, rather than shrink the truss.
    const QSizeF page(std::min(drawing_.size.width(), margins.width() + extent.width() * drawing_.pointsPerMetre),
                      drawing_.size.height());
    const double zoom = std::min({1.0, width() / page.width(), height() / page.height()});
    pixelsPerMetre = fitPixelsPerMetre = zoom * drawing_.pointsPerMetre;
    const QPointF corner((width() - page.width() * zoom) / 2, (height() - page.height() * zoom) / 2);
    screenOrigin = corner + drawing_.origin * zoom;
    update();
}

double TrussCanvas::magnification() const { return fitPixelsPerMetre > 0 ? pixelsPerMetre / fitPixelsPerMetre : 1.0; }

void TrussCanvas::zoomBy(double factor, QPointF around)
{
    if (drawing_.size.isEmpty())
        return;
    const double next = std::clamp(pixelsPerMetre * factor, leastMagnification * fitPixelsPerMetre, 4 * mostPointsPerMetre());
    const QPointF metres = (around - screenOrigin) / pixelsPerMetre;
    pixelsPerMetre = next;
    screenOrigin = around - metres * pixelsPerMetre;
    fitted = false;
    redraw.start();
    update();
}

// A drawing made at the scale of the zoom, one point a pixel, so that its
// labels are placed where the screen has room for them.
void TrussCanvas::drawAtZoom()
{
    if (!study || !study->drawable())
        return;
    const double wanted = std::clamp(pixelsPerMetre, std::min(fitPixelsPerMetre, mostPointsPerMetre()), mostPointsPerMetre());
    const double ratio = wanted / drawing_.pointsPerMetre;
    if (ratio < redrawAbove && ratio > 1 / redrawAbove)
        return;
    drawing_ = drawTruss(study->truss, forces, wanted, colours.get(), sideLoads(*study));
    update();
}

QTransform TrussCanvas::pageToScreen() const
{
    const double zoom = pixelsPerMetre / drawing_.pointsPerMetre;
    QTransform transform;
    transform.translate(screenOrigin.x(), screenOrigin.y());
    transform.scale(zoom, zoom);
    transform.translate(-drawing_.origin.x(), -drawing_.origin.y());
    return transform;
}

QPointF TrussCanvas::screenOf(int node) const
{
    return node > 0 && std::size_t(node) < nodes.size() ? screenOf(nodes[std::size_t(node)]) : QPointF();
}

void TrussCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (drawing_.size.isEmpty()) {
        painter.setPen(Qt::darkGray);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         study ? tr("The file holds no tables to draw.")
                               : tr("Open a truss file with File ▸ Open, or drop one here."));
        return;
    }
    const QTransform transform = pageToScreen();
    painter.setTransform(transform);
    paint(painter, drawing_, transform.inverted().mapRect(QRectF(rect())));
    painter.resetTransform();
    paintSelection(painter);
    paintLegend(painter, transform);
}

// Zoomed in, the drawing's legend is off the screen: its shapes, at their
// own size, in the top left corner over a white ground.
void TrussCanvas::paintLegend(QPainter& painter, const QTransform& transform) const
{
    TrussDrawing legend;
    QRectF area;
    for (const TrussDrawing::Line& line : drawing_.lines)
        if (line.cls == QLatin1String("legend")) {
            legend.lines.push_back(line);
            area |= QRectF(line.from, line.to).normalized().adjusted(0, -6, 0, 6);
        }
    for (const TrussDrawing::Text& text : drawing_.texts)
        if (text.cls == QLatin1String("legend")) {
            legend.texts.push_back(text);
            area |= QRectF(text.at - QPointF(0, text.size), QSizeF(text.size * 0.6 * text.text.size(), text.size * 1.3));
        }
    if (legend.lines.empty() || rect().contains(transform.mapRect(area).toAlignedRect()))
        return;
    legend.size = QSizeF(area.right(), area.bottom());
    const QRectF ground(QPointF(4, 4), area.size() + QSizeF(12, 8));
    painter.fillRect(ground, QColor(255, 255, 255, 230));
    painter.setPen(QColor(200, 200, 200));
    painter.drawRect(ground);
    painter.translate(ground.topLeft() + QPointF(6, 4) - area.topLeft());
    paint(painter, legend);
    painter.resetTransform();
}

void TrussCanvas::paintSelection(QPainter& painter) const
{
    if (nodesSelected.isEmpty() && membersSelected.isEmpty())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor highlight(255, 170, 0, 170);
    painter.setPen(QPen(highlight, 7, Qt::SolidLine, Qt::RoundCap));
    const TrussFileContent& t = study->truss;
    for (const int m : membersSelected) {
        const int a = nodeNumber(t, m, MemberColumn::First), b = nodeNumber(t, m, MemberColumn::Second);
        if (a != 0 && b != 0)
            painter.drawLine(screenOf(a), screenOf(b));
    }
    painter.setPen(QPen(highlight, 4));
    painter.setBrush(Qt::NoBrush);
    for (const int n : nodesSelected)
        painter.drawEllipse(screenOf(n), 8, 8);
}

TrussCanvas::Pick TrussCanvas::pickAt(QPointF point) const
{
    if (!study || !study->drawable())
        return {};
    const TrussFileContent& t = study->truss;
    Pick best;
    double nearest = pickDistance;
    for (int n = 1; n <= t.noNodes; ++n) {
        const QPointF d = screenOf(n) - point;
        if (const double distance = std::hypot(d.x(), d.y()); distance < nearest) {
            nearest = distance;
            best = {Part::Node, n};
        }
    }
    if (best.part == Part::Node)
        return best;
    for (int m = 1; m <= t.noMembers; ++m) {
        const int a = nodeNumber(t, m, MemberColumn::First), b = nodeNumber(t, m, MemberColumn::Second);
        if (a == 0 || b == 0)
            continue;
        if (const double distance = distanceToSegment(point, screenOf(a), screenOf(b)); distance < nearest) {
            nearest = distance;
            best = {Part::Member, m};
        }
    }
    return best;
}

void TrussCanvas::setMemberColours(std::shared_ptr<const MemberColours> next)
{
    if (next.get() == colours.get())
        return;
    colours = std::move(next);
    if (!study || !study->drawable())
        return;
    if (fitted) {
        fit();
        return;
    }
    drawing_ = drawTruss(study->truss, forces, drawing_.pointsPerMetre, colours.get(), sideLoads(*study));
    update();
}

void TrussCanvas::setSelection(Part part, const QList<int>& numbers)
{
    (part == Part::Node ? nodesSelected : membersSelected) = numbers;
    (part == Part::Node ? membersSelected : nodesSelected).clear();
    update();
}

void TrussCanvas::resizeEvent(QResizeEvent*)
{
    if (fitted)
        fit();
}

void TrussCanvas::wheelEvent(QWheelEvent* event)
{
    zoomBy(std::pow(2.0, event->angleDelta().y() / 240.0), event->position());
    event->accept();
}

void TrussCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressedAt = lastDrag = event->position();
    dragging = false;
}

void TrussCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) {
        const QPointF moved = event->position() - pressedAt;
        dragging = dragging || std::hypot(moved.x(), moved.y()) > 3;
        if (dragging) {
            screenOrigin += event->position() - lastDrag;
            lastDrag = event->position();
            fitted = false;
            update();
        }
        return;
    }
    if (const Pick pick = pickAt(event->position()); !(pick == hover)) {
        hover = pick;
        emit hovered(pick);
    }
}

void TrussCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !dragging)
        emit picked(pickAt(event->position()));
    dragging = false;
}

void TrussCanvas::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    case Qt::Key_0:
        fit();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool TrussCanvas::event(QEvent* event)
{
    if (event->type() == QEvent::Gesture) {
        const auto* gesture = static_cast<QGestureEvent*>(event);
        if (const auto* pinch = static_cast<const QPinchGesture*>(gesture->gesture(Qt::PinchGesture))) {
            zoomBy(pinch->scaleFactor(), mapFromGlobal(pinch->centerPoint()));
            return true;
        }
    }
    if (event->type() == QEvent::NativeGesture) {
        const auto* native = static_cast<QNativeGestureEvent*>(event);
        if (native->gestureType() == Qt::ZoomNativeGesture) {
            zoomBy(1 + native->value(), native->position());
            return true;
        }
    }
    return QWidget::event(event);
}
