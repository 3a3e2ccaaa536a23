#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include <QFont>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;

// Pages filled from the top down: titles, paragraphs, blocks and tables, each
// on the next page where it does not fit on this one. Everything is placed
// before anything is painted, so that each page's header can say "page n of
// m". Text stays text, to be searched and copied. Sizes in points, from the
// top left of the room under the header.
class PageFlow {
public:
    static constexpr double textSize = 9, tableSize = 8, titleSize = 12, headingSize = 10;

    // header: the height of the header on every page, above the room.
    PageFlow(QPagedPaintDevice& device, double header);

    // The size of a page's room under its header.
    QSizeF room() const { return room_; }
    double left() const { return room_.height() - y_; }  // on the page being filled
    // A font of this size on the device, for painting on the pages.
    QFont font(double points, bool bold = false) const;

    void newPage();
    void space(double points) { y_ = std::min(room_.height(), y_ + points); }
    // Bold and large, kept with at least a few lines of what follows it.
    void title(const QString& text);
    void heading(const QString& text);
    // Wrapped across the page; each line of text (split at '\n') goes on the
    // next page where it does not fit on this one.
    void paragraph(const QString& text, double indent = 0, double size = textSize);
    // Something height points high, painted from its top left (the painter
    // moved there, in points).
    void block(double height, std::function<void(QPainter&)> paint);

    // The columns sized to their widest text and spread across the page; the
    // rows as many as fit on a page, the heads repeated above each page's
    // rows, the title marked "(continued)" on the pages after its first.
    struct Table {
        QStringList heads;
        int rows = 0;
        std::function<QString(int row, int column)> cell;
        std::vector<bool> leftAligned;  // by column; right-aligned where not given
    };
    void table(const QString& title, const Table& table);

    int pages() const { return static_cast<int>(pages_.size()); }
    // Paints every page, header(painter, page, pages) first on each.
    void paint(QPainter& painter, const std::function<void(QPainter&, int, int)>& header) const;

private:
    using Paint = std::function<void(QPainter&)>;
    void place(double height, Paint paint);  // at y_ on the page being filled
    double lineHeight(double size) const;
    double titleHeight() const;
    std::vector<double> columnWidths(const Table& table, double size) const;

    QPagedPaintDevice& device_;
    const double header_;
    const QSizeF room_;
    std::vector<std::vector<Paint>> pages_;
    double y_ = 0;
};
