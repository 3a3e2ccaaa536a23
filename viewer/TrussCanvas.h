#pragma once

#include <memory>
#include <vector>

#include <QPointF>
#include <QTimer>
#include <QWidget>

#include "drawing/DrawingKey.h"
#include "drawing/TrussDrawing.h"
#include "report/TrussStudy.h"

// The truss drawn with its forces, through the drawing library's one
// painting path. Zoom with the wheel, the keyboard and a pinch, pan by
// dragging; as the zoom gives room, the drawing is made again at the new
// scale, so that labels appear where they fit and every member shows once
// zoomed in far enough. Points at a node or a member to say what it is, and
// shows the ones selected.
class TrussCanvas : public QWidget {
    Q_OBJECT
public:
    enum class Part { None, Node, Member };
    struct Pick {
        Part part = Part::None;
        int number = 0;
        bool operator==(const Pick&) const = default;
    };

    explicit TrussCanvas(QWidget* parent = nullptr);

    // keepView: keep the zoom and position where the new truss can be drawn
    // and the old one was.
    void setStudy(std::shared_ptr<const TrussStudy> study, bool keepView);
    // The members in colours of their own (by utilisation), or null: by
    // their forces. A new study draws them by their forces again.
    void setMemberColours(std::shared_ptr<const MemberColours> colours);
    void setSelection(Part part, const QList<int>& numbers);
    const QList<int>& selection(Part part) const { return part == Part::Node ? nodesSelected : membersSelected; }

    void zoomBy(double factor, QPointF around);
    void zoomIn() { zoomBy(zoomStep, rect().center()); }
    void zoomOut() { zoomBy(1 / zoomStep, rect().center()); }
    void fit();

    // Makes the drawing at the zoom's scale now, rather than when the zoom
    // has settled.
    void drawAtZoom();

    double magnification() const;  // 1 when the whole drawing fits
    Pick pickAt(QPointF point) const;
    QPointF screenOf(int node) const;
    const TrussDrawing& drawing() const { return drawing_; }

    static constexpr double zoomStep = 1.25;

signals:
    void hovered(TrussCanvas::Pick pick);
    void picked(TrussCanvas::Pick pick);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    QTransform pageToScreen() const;
    QPointF screenOf(QPointF metres) const { return screenOrigin + metres * pixelsPerMetre; }
    void paintSelection(QPainter& painter) const;
    void paintLegend(QPainter& painter, const QTransform& transform) const;
    double fitScale() const;
    double mostPointsPerMetre() const;

    std::shared_ptr<const TrussStudy> study;
    std::vector<double> forces;
    std::shared_ptr<const MemberColours> colours;
    std::vector<QPointF> nodes;  // m, right and down from the truss's leftmost and highest points
    QSizeF extent;               // m: the truss's span and height
    // pt: the drawing's room beside the truss (its dimension lines), and above
    // and below it as the last fit found it.
    QSizeF margins{220, 300};
    TrussDrawing drawing_;       // the drawing at the zoom's scale
    double fitPixelsPerMetre = 1.0;

    // The view: screen pixels a metre, and where the truss's origin lies.
    double pixelsPerMetre = 1.0;
    QPointF screenOrigin;
    bool fitted = true;

    QList<int> nodesSelected, membersSelected;
    QPointF pressedAt, lastDrag;
    bool dragging = false;
    Pick hover;
    QTimer redraw;
};
