#include "report/PageFlow.h"

#include <numeric>

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

constexpr double columnGap = 8;
constexpr double large = 1e6;  // room enough for any text, to measure it in

}  // namespace

PageFlow::PageFlow(QPagedPaintDevice& device, double header)
    : device_(device),
      header_(header),
      room_(device.pageLayout().paintRectPoints().width(), device.pageLayout().paintRectPoints().height() - header),
      pages_(1)
{
}

QFont PageFlow::font(double points, bool bold) const
{
    // The painter's scale enlarges fonts too, so they are given to it that
    // much smaller.
    QFont font(QStringLiteral("sans-serif"));
    font.setPointSizeF(points * 72.0 / device_.logicalDpiY());
    font.setBold(bold);
    // No ligatures: "fl" stays two letters in the PDF, so that searching and
    // copying find "deflection".
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// The step from one line of a block of text to the next, as it is laid out.
double PageFlow::lineHeight(double size) const
{
    const QFontMetricsF metrics(font(size), &device_);
    const QRectF room(0, 0, large, large);
    return metrics.boundingRect(room, Qt::AlignLeft, QStringLiteral("0\n0")).height()
           - metrics.boundingRect(room, Qt::AlignLeft, QStringLiteral("0")).height();
}

void PageFlow::newPage()
{
    pages_.emplace_back();
    y_ = 0;
}

void PageFlow::place(double height, Paint paint)
{
    if (height > left() && y_ > 0)
        newPage();
    const double top = header_ + y_;
    pages_.back().push_back([top, paint = std::move(paint)](QPainter& painter) {
        painter.save();
        painter.translate(0, top);
        paint(painter);
        painter.restore();
    });
    y_ += height;
}

double PageFlow::titleHeight() const { return QFontMetricsF(font(titleSize, true), &device_).lineSpacing() + 2; }

void PageFlow::title(const QString& text)
{
    const double height = titleHeight();
    if (left() < height + 4 * lineHeight(textSize) && y_ > 0)
        newPage();
    const QFont bold = font(titleSize, true);
    place(height, [bold, text](QPainter& p) {
        p.setFont(bold);
        p.drawText(QPointF(0, QFontMetricsF(bold, p.device()).ascent()), text);
    });
}

void PageFlow::heading(const QString& text)
{
    space(4);
    const double height = QFontMetricsF(font(headingSize, true), &device_).lineSpacing() + 1;
    if (left() < height + 3 * lineHeight(textSize) && y_ > 0)
        newPage();
    const QFont bold = font(headingSize, true);
    place(height, [bold, text](QPainter& p) {
        p.setFont(bold);
        p.drawText(QPointF(0, QFontMetricsF(bold, p.device()).ascent()), text);
    });
}

void PageFlow::paragraph(const QString& text, double indent, double size)
{
    const QFont shown = font(size);
    const QFontMetricsF metrics(shown, &device_);
    const double width = room_.width() - indent;
    for (const QString& line : text.split(u'\n')) {
        const double height = metrics.boundingRect(QRectF(0, 0, width, large), Qt::TextWordWrap, line).height() + 1.5;
        place(height, [shown, line, indent, width, height](QPainter& p) {
            p.setFont(shown);
            p.drawText(QRectF(indent, 0, width, height), Qt::TextWordWrap, line);
        });
    }
}

void PageFlow::block(double height, std::function<void(QPainter&)> paint) { place(height, std::move(paint)); }

// Each column as wide as its widest text and a gap.
std::vector<double> PageFlow::columnWidths(const Table& table, double size) const
{
    const QFontMetricsF metrics(font(size), &device_);
    std::vector<double> widths;
    for (int c = 0; c < table.heads.size(); ++c) {
        // Digits are all as wide as one another: the longest text is the widest.
        QString longest;
        for (int r = 0; r < table.rows; ++r)
            if (const QString text = table.cell(r, c); text.size() > longest.size())
                longest = text;
        widths.push_back(std::max(metrics.horizontalAdvance(table.heads[c]), metrics.horizontalAdvance(longest))
                         + metrics.horizontalAdvance(u'0') + columnGap);
    }
    return widths;
}

void PageFlow::table(const QString& name, const Table& table)
{
    // The font smaller where the columns would not fit across the page; what
    // is left of the page shared out among them.
    double size = tableSize;
    std::vector<double> widths = columnWidths(table, size);
    const auto total = [&] { return std::accumulate(widths.begin(), widths.end(), 0.0); };
    for (int shrink = 0; shrink < 3 && total() > room_.width(); ++shrink)
        widths = columnWidths(table, size *= 0.85);
    const double spare = (room_.width() - total()) / static_cast<double>(widths.size());
    for (double& width : widths)
        width += spare;
    const QFont shown = font(size);
    const double row = lineHeight(size);
    const double head = row + 3;
    for (int first = 0, part = 0; first < table.rows || part == 0; ++part) {
        // The title, the heads and a few rows together.
        if (part > 0 || (left() < titleHeight() + head + 3 * row && y_ > 0))
            newPage();
        title(part == 0 ? name : name + QStringLiteral(" (continued)"));
        const int last = std::min(table.rows, first + std::max(1, static_cast<int>((left() - head - 4) / row)));
        std::vector<QString> blocks(widths.size());
        for (std::size_t c = 0; c < widths.size(); ++c) {
            QStringList lines;
            for (int r = first; r < last; ++r)
                lines << table.cell(r, static_cast<int>(c));
            blocks[c] = lines.join(u'\n');
        }
        const double height = head + (last - first) * row + 4;
        const double width = room_.width();
        place(height, [=, heads = table.heads, toLeft = table.leftAligned](QPainter& p) {
            p.setFont(shown);
            double x = 0;
            for (std::size_t c = 0; c < widths.size(); ++c) {
                const Qt::Alignment align = (c < toLeft.size() && toLeft[c] ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop;
                p.drawText(QRectF(x, 0, widths[c] - columnGap, row), align, heads[int(c)]);
                p.drawText(QRectF(x, head, widths[c] - columnGap, height - head), align, blocks[c]);
                x += widths[c];
            }
            p.drawLine(QPointF(0, row + 1), QPointF(width, row + 1));
        });
        first = last;
    }
}

void PageFlow::paint(QPainter& painter, const std::function<void(QPainter&, int, int)>& header) const
{
    for (std::size_t page = 0; page < pages_.size(); ++page) {
        if (page > 0)
            device_.newPage();
        header(painter, static_cast<int>(page) + 1, pages());
        for (const Paint& paint : pages_[page])
            paint(painter);
    }
}
