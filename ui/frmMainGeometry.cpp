// The window's size: as large as its texts need, never larger than the
// screen it is on.
#include <algorithm>
#include <cmath>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include "ui/FormLayout.h"
#include "ui/frmMain.h"

using formLayout::Kind;

namespace {

// The room a control needs so that none of its caption or start text is cut.
QSize neededSize(const QWidget* widget, Kind kind)
{
    const QFontMetrics metrics = widget->fontMetrics();
    switch (kind) {
    case Kind::Label: {
        const auto* label = static_cast<const QLabel*>(widget);
        return {metrics.horizontalAdvance(label->text()) + 1, metrics.height()};
    }
    case Kind::TextBox: {
        const auto* box = static_cast<const QLineEdit*>(widget);
        // Qt's line edit keeps a margin of 2 pixels on each side inside its frame.
        const int frame = 2 * widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
        return {metrics.horizontalAdvance(box->text()) + frame + 4 + 1, box->sizeHint().height()};
    }
    case Kind::Frame:
        return {metrics.horizontalAdvance(static_cast<const QGroupBox*>(widget)->title()) + 24, 0};
    case Kind::OptionButton:
    case Kind::CheckBox:
    case Kind::ComboBox:
    case Kind::CommandButton:
        return widget->sizeHint();
    }
    return {};
}

int toPixels(int twips, double scale) { return static_cast<int>(std::lround(twips * scale / formLayout::twipsPerPixel)); }

// Font sizes are tried downwards in this step, in points.
constexpr qreal fontStep = 0.25;
constexpr qreal smallestFont = 4.0;

}  // namespace

// The scale of the form at which every caption and start text fits in the
// current font; never below the form's own size.
double frmMain::textScale() const
{
    double scale = 1.0;
    for (const formLayout::Control& control : formLayout::controls()) {
        const QWidget* widget = findChild<QWidget*>(QString::fromUtf8(control.name));
        const QSize needed = neededSize(widget, control.kind);
        scale = std::max({scale, needed.width() * formLayout::twipsPerPixel / control.width,
                          needed.height() * formLayout::twipsPerPixel / control.height});
    }
    return scale;
}

// The largest scale at which the window, frame included, fits the available
// area of its screen. Until the window system has framed the window, the
// frame is taken as a title bar of two text lines and thin borders.
double frmMain::screenScale() const
{
    QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull()) {
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
        const int title = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this),
                                   2 * fontMetrics().height());
        frame = QMargins(border, title, border, border);
    }
    const QSize room = screen()->availableGeometry().size().shrunkBy(frame);
    return std::min(room.width() * formLayout::twipsPerPixel / formLayout::clientWidth,
                    room.height() * formLayout::twipsPerPixel / formLayout::clientHeight);
}

// Lowers the window's font in small steps until every text fits at the given
// scale.
void frmMain::lowerFontToFit(double scale)
{
    QFont smaller = font();
    const bool inPoints = smaller.pointSizeF() > 0;
    qreal size = inPoints ? smaller.pointSizeF() : smaller.pixelSize();
    const qreal step = inPoints ? fontStep : 1.0;
    while (textScale() > scale && size - step >= smallestFont) {
        size -= step;
        if (inPoints)
            smaller.setPointSizeF(size);
        else
            smaller.setPixelSize(static_cast<int>(size));
        setFont(smaller);
    }
}

// The twips of the form are drawn for a smaller font than many platforms use
// by default. Rather than cut captions, the whole form grows uniformly, so that
// rows, columns and frames keep their arrangement. Where the screen has no
// room for that, the form grows only as far as the screen allows and the font
// shrinks just enough for the texts to fit.
void frmMain::applyGeometry()
{
    setFont(QFont());  // back to the platform's font, should an earlier fit have lowered it
    const double fits = screenScale();
    double scale = textScale();
    if (scale > fits) {
        lowerFontToFit(fits);
        scale = fits;
    }
    for (const formLayout::Control& control : formLayout::controls()) {
        QWidget* widget = findChild<QWidget*>(QString::fromUtf8(control.name));
        widget->setGeometry(toPixels(control.left, scale), toPixels(control.top, scale),
                            toPixels(control.width, scale), toPixels(control.height, scale));
    }
    setFixedSize(toPixels(formLayout::clientWidth, scale), toPixels(formLayout::clientHeight, scale));
}

// Once the window system has framed the window, a frame larger than allowed
// for fits the window again; then the frame is kept inside the available area.
void frmMain::keepOnScreen()
{
    const QRect available = screen()->availableGeometry();
    if (frameGeometry().width() > available.width() || frameGeometry().height() > available.height())
        applyGeometry();
    const QRect frame = frameGeometry();
    if (available.contains(frame) || frame.width() > available.width() || frame.height() > available.height())
        return;
    move(std::clamp(frame.x(), available.left(), available.right() + 1 - frame.width()),
         std::clamp(frame.y(), available.top(), available.bottom() + 1 - frame.height()));
}

void frmMain::showEvent(QShowEvent* event)
{
    // The screen the window opens on is known only now.
    applyGeometry();
    QWidget::showEvent(event);
}

void frmMain::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (isVisible())
        keepOnScreen();
}
