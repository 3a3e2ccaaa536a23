#include "report/CalculationPages.h"

#include <algorithm>
#include <cmath>

#include <functional>
#include <memory>

#include <QBuffer>
#include <QDate>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include "report/DesignPages.h"
#include "report/LoadCasePages.h"
#include "report/PageDrawing.h"
#include "report/PageFlow.h"
#include "report/ResultTables.h"
#include "report/TrussSummary.h"
#include "version/Version.h"

namespace {

constexpr double headerSize = 8;
constexpr double headerHeight = 24;  // the header line and the space under it
constexpr int findingsShown = 40;

void drawingAndSummary(PageFlow& flow, const TrussStudy& study)
{
    if (study.drawable()) {
        const auto drawing = std::make_shared<const PageDrawing>(study, flow.room());
        for (int piece = 0; piece < drawing->pieces(); ++piece)
            flow.block(drawing->heightOf(piece), [drawing, piece](QPainter& painter) { drawing->paint(painter, piece); });
        flow.space(10);
    }
    flow.title(QStringLiteral("Summary"));
    for (const SummaryLine& line : summaryOf(study))
        flow.paragraph(line.label + QStringLiteral(": ") + line.value);
    const std::vector<Finding>& all = study.check.findings;
    if (all.empty())
        return;
    flow.space(6);
    flow.title(QStringLiteral("Findings of check"));
    for (std::size_t shown = 0; shown < all.size() && shown < findingsShown; ++shown)
        flow.paragraph(QString::fromStdString(all[shown].where + ": " + all[shown].what));
    if (all.size() > findingsShown)
        flow.paragraph(QStringLiteral("and %1 more; kvrtool check lists them all").arg(all.size() - findingsShown));
}

void resultTable(PageFlow& flow, const QString& title, const ResultTable& table)
{
    if (table.rows() == 0)
        return;
    flow.newPage();
    flow.table(title, {table.heads(), table.rows(), [&table](int row, int column) { return table.cell(row, column).text; }, {}});
}

// The pages with those of a design, if any, after the summary.
using DesignPagesOf = std::function<void(PageFlow&)>;

void printPages(QPagedPaintDevice& device, const TrussStudy& study, const PageHeader& header, const DesignPagesOf& design)
{
    PageFlow flow(device, headerHeight);
    drawingAndSummary(flow, study);
    if (design)
        design(flow);
    resultTable(flow, QStringLiteral("Nodes"), ResultTable(study, ResultTable::Kind::Nodes));
    resultTable(flow, QStringLiteral("Members"), ResultTable(study, ResultTable::Kind::Members));

    QPainter painter;
    if (!painter.begin(&device))
        return;
    // The painter draws in device pixels; points are simpler to lay out.
    painter.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
    const QFont font = flow.font(headerSize);
    const double width = flow.room().width();
    flow.paint(painter, [&](QPainter& p, int page, int pages) {
        p.setFont(font);
        p.setPen(Qt::black);
        const QRectF line(0, 0, width, headerHeight - 8);
        p.drawText(line, Qt::AlignLeft | Qt::AlignTop, header.fileName);
        p.drawText(line, Qt::AlignHCenter | Qt::AlignTop, header.date + QStringLiteral("    ") + header.program);
        p.drawText(line, Qt::AlignRight | Qt::AlignTop, QStringLiteral("page %1 of %2").arg(page).arg(pages));
        const double rule = QFontMetricsF(font, p.device()).lineSpacing() + 2;
        p.drawLine(QPointF(0, rule), QPointF(width, rule));
    });
    painter.end();
}

QByteArray pdfOf(const TrussStudy& study, const PageHeader& header, const QPageSize& paper, const DesignPagesOf& design)
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
        printPages(writer, study, header, design);
    }
    buffer.close();
    return bytes;
}

DesignPagesOf designPagesOf(const TrussStudy& study, const std::optional<DesignRequest>& design)
{
    if (!design)
        return {};
    return [&study, &design](PageFlow& flow) { designPages(flow, study, *design); };
}

DesignPagesOf designPagesOf(const TrussStudy& study, const DesignFileStudy& design)
{
    return [&study, &design](PageFlow& flow) { loadCasePages(flow, study, design); };
}

}  // namespace

PageHeader pageHeaderFor(const QString& path, const QString& program)
{
    return {QFileInfo(path).fileName(), QDate::currentDate().toString(Qt::ISODate),
            program + u' ' + QString::fromLatin1(ambrellVersion::text)};
}

void printCalculation(QPagedPaintDevice& device, const TrussStudy& study, const PageHeader& header,
                      const std::optional<DesignRequest>& design)
{
    printPages(device, study, header, designPagesOf(study, design));
}

void printCalculation(QPagedPaintDevice& device, const TrussStudy& study, const PageHeader& header, const DesignFileStudy& design)
{
    printPages(device, study, header, designPagesOf(study, design));
}

QByteArray calculationPdf(const TrussStudy& study, const PageHeader& header, const QPageSize& paper,
                          const std::optional<DesignRequest>& design)
{
    return pdfOf(study, header, paper, designPagesOf(study, design));
}

QByteArray calculationPdf(const TrussStudy& study, const PageHeader& header, const QPageSize& paper,
                          const DesignFileStudy& design)
{
    return pdfOf(study, header, paper, designPagesOf(study, design));
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

std::variant<QPageSize, QString> paperNamed(const QString& name)
{
    if (name.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::A4);
    if (name.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::Letter);
    return QStringLiteral("--paper: expected a4 or letter, got '%1'").arg(name);
}
