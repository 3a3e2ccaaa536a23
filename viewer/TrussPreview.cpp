#include "viewer/TrussPreview.h"

#include <algorithm>

#include <QPainter>

TrussPreview::TrussPreview(QWidget* parent) : QWidget(parent) { setMinimumSize(240, 140); }

void TrussPreview::setTruss(const TrussFileContent& truss)
{
    drawing_ = drawTruss(truss);
    update();
}

void TrussPreview::clear()
{
    drawing_ = {};
    update();
}

void TrussPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (drawing_.size.isEmpty())
        return;
    const double scale = std::min(width() / drawing_.size.width(), height() / drawing_.size.height());
    painter.translate((width() - drawing_.size.width() * scale) / 2, (height() - drawing_.size.height() * scale) / 2);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, drawing_);
}
