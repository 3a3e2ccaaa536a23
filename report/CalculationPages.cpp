#include "report/CalculationPages.h"

#include <algorithm>
#include <cmath>

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include "drawing/TrussDrawing.h"
#include "report/ResultTables.h"
#include "report/TrussSummary.h"

namespace {

// Sizes in points.
constexpr double textSize = 9, tableSize = 8, headerSize = 8, titleSize = 12;
constexpr double headerHeight = 24;  // the header line and the space under it
constexpr double columnGap = 6;
constexpr int findingsShown = 40;


// The pages, painted in points from the top left of the printable area.
class PageWriter {
public:
    PageWriter(QPagedPaintDevice& device, const TrussStudy& study, const PageHeader& header)
        : device(device), study(study), header(header),
          area(device.pageLayout().paintRectPoints().size()),
          nodes(study, ResultTable::Kind::Nodes), members(study, ResultTable::Kind::Members)
    {
    }

    void write()
    {
        QPainter painter;
        if (!painter.begin(&device))
            return;
        // The painter draws in device pixels; points are simpler to lay out.
        painter.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
        p = &painter;
        total = 1 + pagesOf(nodes) + pagesOf(members);
        startPage();
        firstPage();
        table(QStringLiteral("Nodes"), nodes);
        table(QStringLiteral("Members"), members);
        painter.end();
    }

private:
    // A font of this size in the painter's points: the painter's scale
    // enlarges fonts too, so they are given to it that much smaller.
    QFont fontOf(double points, bool bold = false) const
    {
        QFont font(QStringLiteral("sans-serif"));
        font.setPointSizeF(points * 72.0 / device.logicalDpiY());
        font.setBold(bold);
        // No ligatures: "fl" stays two letters in the PDF, so that searching
        // and copying find "deflection".
        font.setStyleStrategy(QFont::PreferNoShaping);
        return font;
    }

    // The step from one line of a column's block to the next, as it is laid out.
    double rowHeight() const
    {
        const QFontMetricsF metrics(fontOf(tableSize), &device);
        const QRectF room(0, 0, 1000, 1000);
        return metrics.boundingRect(room, Qt::AlignLeft, QStringLiteral("0\n0")).height()
               - metrics.boundingRect(room, Qt::AlignLeft, QStringLiteral("0")).height();
    }

    int rowsPerPage() const
    {
        const double room = area.height() - headerHeight - 2 * QFontMetricsF(fontOf(titleSize, true), &device).lineSpacing();
        return std::max(1, static_cast<int>(room / rowHeight()) - 1);
    }

    int pagesOf(const ResultTable& table) const { return (table.rows() + rowsPerPage() - 1) / rowsPerPage(); }

    void startPage()
    {
        if (page > 0)
            device.newPage();
        ++page;
        p->setFont(fontOf(headerSize));
        p->setPen(Qt::black);
        const QRectF line(0, 0, area.width(), headerHeight - 8);
        p->drawText(line, Qt::AlignLeft | Qt::AlignTop, header.fileName);
        p->drawText(line, Qt::AlignHCenter | Qt::AlignTop, header.date + QStringLiteral("    ") + header.program);
        p->drawText(line, Qt::AlignRight | Qt::AlignTop, QStringLiteral("page %1 of %2").arg(page).arg(total));
        const double rule = QFontMetricsF(fontOf(headerSize), &device).lineSpacing() + 2;
        p->drawLine(QPointF(0, rule), QPointF(area.width(), rule));
        y = headerHeight;
    }

    // Wrapped text across the page; returns whether it fitted on the page.
    bool paragraph(const QString& text, const QFont& font, double indent = 0)
    {
        p->setFont(font);
        const QRectF room(indent, y, area.width() - indent, area.height() - y);
        const QRectF used = p->boundingRect(room, Qt::TextWordWrap, text);
        if (used.bottom() > area.height())
            return false;
        p->drawText(room, Qt::TextWordWrap, text);
        y = used.bottom() + 2;
        return true;
    }

    void firstPage()
    {
        if (study.drawable()) {
            const TrussDrawing drawing = drawTruss(study.truss, study.forces());
            const double scale = std::min(area.width() / drawing.size.width(), 0.5 * area.height() / drawing.size.height());
            p->save();
            p->translate(0, y);
            p->scale(scale, scale);
            paint(*p, drawing);
            p->restore();
            y += drawing.size.height() * scale + 10;
        }
        paragraph(QStringLiteral("Summary"), fontOf(titleSize, true));
        for (const SummaryLine& line : summaryOf(study))
            if (!paragraph(line.label + QStringLiteral(": ") + line.value, fontOf(textSize)))
                return;
        findings();
    }

    void findings()
    {
        const std::vector<Finding>& all = study.check.findings;
        if (all.empty())
            return;
        y += 6;
        paragraph(QStringLiteral("Findings of check"), fontOf(titleSize, true));
        int shown = 0;
        for (const Finding& finding : all) {
            if (shown == findingsShown
                || !paragraph(QString::fromStdString(finding.where + ": " + finding.what), fontOf(textSize)))
                break;
            ++shown;
        }
        if (shown < static_cast<int>(all.size()))
            paragraph(QStringLiteral("and %1 more; kvrtool check lists them all").arg(all.size() - std::size_t(shown)),
                      fontOf(textSize));
    }

    // Each column of a page is one block of lines, right-aligned in its
    // share of the width: quick to write, and read row by row.
    void table(const QString& title, const ResultTable& table)
    {
        const int perPage = rowsPerPage();
        const double width = area.width() / table.columns();
        for (int first = 0; first < table.rows(); first += perPage) {
            startPage();
            paragraph(first == 0 ? title : title + QStringLiteral(" (continued)"), fontOf(titleSize, true));
            const int last = std::min(table.rows(), first + perPage);
            const double headTop = y;
            p->setFont(fontOf(tableSize));
            for (int c = 0; c < table.columns(); ++c)
                p->drawText(QRectF(c * width, headTop, width - columnGap, rowHeight()), Qt::AlignRight | Qt::AlignTop,
                            table.heads()[c]);
            p->drawLine(QPointF(0, headTop + rowHeight()), QPointF(area.width(), headTop + rowHeight()));
            p->setFont(fontOf(tableSize));
            const double top = headTop + rowHeight() + 2;
            for (int c = 0; c < table.columns(); ++c) {
                QStringList lines;
                for (int r = first; r < last; ++r)
                    lines << table.cell(r, c).text;
                p->drawText(QRectF(c * width, top, width - columnGap, area.height() - top), Qt::AlignRight | Qt::AlignTop,
                            lines.join(u'\n'));
            }
        }
    }

    QPagedPaintDevice& device;
    const TrussStudy& study;
    const PageHeader& header;
    const QSizeF area;
    const ResultTable nodes, members;
    QPainter* p = nullptr;
    int page = 0, total = 1;
    double y = 0;
};

}  // namespace

void printCalculation(QPagedPaintDevice& device, const TrussStudy& study, const PageHeader& header)
{
    PageWriter(device, study, header).write();
}

QByteArray calculationPdf(const TrussStudy& study, const PageHeader& header, const QPageSize& paper)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        writer.setResolution(600);
        writer.setTitle(QStringLiteral("Calculation: ") + header.fileName);
        writer.setCreator(header.program);
        printCalculation(writer, study, header);
    }
    buffer.close();
    return bytes;
}

QPageSize paperFor(const QLocale& locale)
{
    // The countries that use Letter, the rest of the world A4.
    static const QLocale::Territory letter[] = {
        QLocale::UnitedStates, QLocale::Canada,    QLocale::Mexico,     QLocale::Chile,    QLocale::Colombia,
        QLocale::Venezuela,    QLocale::Philippines, QLocale::PuertoRico, QLocale::Guatemala, QLocale::ElSalvador,
        QLocale::CostaRica,    QLocale::Panama,    QLocale::DominicanRepublic, QLocale::Belize, QLocale::Nicaragua};
    const bool usesLetter = locale.measurementSystem() == QLocale::ImperialUSSystem
                            || std::find(std::begin(letter), std::end(letter), locale.territory()) != std::end(letter);
    return QPageSize(usesLetter ? QPageSize::Letter : QPageSize::A4);
}
