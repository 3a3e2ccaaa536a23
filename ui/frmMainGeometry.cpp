// The window's size: as large as its texts need, never larger than the
// screen it is on.
#include <algorithm>
#include <cmath>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWindow>

#include "ui/FormLayout.h"
#include "ui/frmMain.h"

using formLayout::Kind;

namespace {

// The room a control needs so that none of its caption or start text is cut:
// the text's extent plus what the style draws around it. Floors that Qt's
// size hints keep for icons (a line edit or combo box is never less than 14
// pixels of content high) are left out, as they do not shrink with the font
// and would drive it down to nothing on a small screen.
QSize neededSize(const QWidget* widget, Kind kind)
{
    const QFontMetrics metrics = widget->fontMetrics();
    const QStyle* style = widget->style();
    switch (kind) {
    case Kind::Label: {
        const auto* label = static_cast<const QLabel*>(widget);
        return {metrics.horizontalAdvance(label->text()) + 1, metrics.height()};
    }
    case Kind::TextBox: {
        const auto* box = static_cast<const QLineEdit*>(widget);
        // Qt's line edit keeps a margin of 2 pixels on each side inside its frame.
        const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
        return {metrics.horizontalAdvance(box->text()) + frame + 4 + 1, metrics.height() + frame};
    }
    case Kind::Frame:
        return {metrics.horizontalAdvance(static_cast<const QGroupBox*>(widget)->title()) + 24, 0};
    case Kind::OptionButton:
    case Kind::CheckBox: {
        // The indicator sits beside the caption, centred on its line.
        const bool option = kind == Kind::OptionButton;
        const int indicator = style->pixelMetric(option ? QStyle::PM_ExclusiveIndicatorHeight : QStyle::PM_IndicatorHeight,
                                                 nullptr, widget);
        return {widget->sizeHint().width(), std::max(indicator, metrics.height())};
    }
    case Kind::ComboBox: {
        QStyleOptionComboBox option;
        option.initFrom(widget);
        return {widget->sizeHint().width(),
                style->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(0, metrics.height()), widget).height()};
    }
    case Kind::CommandButton:
        return widget->sizeHint();
    }
    return {};
}

int toPixels(int twips, double scale) { return static_cast<int>(std::lround(twips * scale / formLayout::twipsPerPixel)); }

// The font is never lowered below this share of the platform's size.
constexpr qreal smallestShare = 0.4;
// The font is fitted in steps of this share of the platform's size.
constexpr qreal shareStep = 0.01;

}  // namespace

// The scale of the form at which every caption and start text fits in the
// current font.
double frmMain::textScale() const
{
    double scale = 0.0;
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

// Lowers the window's font from the size at which the texts need the given
// scale to the largest size at which they fit the smaller one. Text extents
// follow the font size, so that size is close to the proportion of the two:
// the search starts there and moves in small steps, as glyph widths round to
// whole pixels. Should nothing fit (an indicator that keeps its size), the
// font goes only as low as still helps.
void frmMain::lowerFontToFit(double scale, double needed)
{
    QFont smaller = font();
    const bool inPoints = smaller.pointSizeF() > 0;
    const qreal platformSize = inPoints ? smaller.pointSizeF() : smaller.pixelSize();
    const auto needAt = [&](qreal share) {
        if (inPoints)
            smaller.setPointSizeF(platformSize * share);
        else
            smaller.setPixelSize(std::max(1, static_cast<int>(platformSize * share)));
        setFont(smaller);
        return textScale();
    };
    qreal best = std::clamp(scale / needed, smallestShare, 1.0);
    double leastNeed = needAt(best);
    if (leastNeed <= scale) {
        for (qreal share = best + shareStep; share < 1.0 && needAt(share) <= scale; share += shareStep)
            best = share;
    } else {
        for (qreal share = best - shareStep; leastNeed > scale && share >= smallestShare; share -= shareStep) {
            if (const double need = needAt(share); need < leastNeed) {
                best = share;
                leastNeed = need;
            }
        }
    }
    needAt(best);
}

// The twips of the form are drawn for a smaller font than many platforms use
// by default. Rather than cut captions, the whole form grows uniformly, so that
// rows, columns and frames keep their arrangement. Where the screen has no
// room for that, the form grows only as far as the screen allows and the font
// shrinks in the same proportion, no further, so that every text still fits.
void frmMain::applyGeometry()
{
    setFont(QFont());  // back to the platform's font, should an earlier fit have lowered it
    const double fits = screenScale();
    const double needed = textScale();
    if (needed > fits)
        lowerFontToFit(fits, needed);
    // Never below the form's own size, unless the screen is smaller still.
    const double scale = std::min(fits, std::max(1.0, needed));
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
