// The viewer's menus: a new file, opening a file, its picture, its
// calculation pages on paper or as a PDF, copying table rows, the zoom.
#include <algorithm>
#include <memory>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>

#include "drawing/TrussDrawing.h"
#include "drawing/TrussDxf.h"
#include "report/CalculationPages.h"
#include "savefile/AtomicSave.h"
#include "viewer/DesignPanel.h"
#include "viewer/NewTrussDialog.h"
#include "viewer/ViewerWindow.h"

namespace {

const QString trussFiles = QObject::tr("Truss files (*.kvr);;All files (*)");

std::optional<QString> saved(const QString& path, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QObject::tr("it could not be made");
    const atomicSave::Result result = atomicSave::save(path, bytes);
    if (const atomicSave::Failure* failure = std::get_if<atomicSave::Failure>(&result))
        return atomicSave::describe(*failure);
    return std::nullopt;
}

// The pages hold the design when the Design panel's choice gives one.
std::optional<DesignRequest> designOf(const DesignPanel& panel)
{
    const Result<DesignInput> input = designInputOf(panel.choice());
    if (!input.value)
        return std::nullopt;
    return DesignRequest{input.value->settings, input.value->sections};
}

}  // namespace

void ViewerWindow::makeMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&New…"), QKeySequence::New, this, [this] {
        auto* dialog = new NewTrussDialog(this, filePath().isEmpty() ? QString() : QFileInfo(filePath()).absolutePath());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &NewTrussDialog::saved, this, &ViewerWindow::openFile);
        dialog->open();
    })->setObjectName(QStringLiteral("newTruss"));
    file->addAction(tr("&Open…"), QKeySequence::Open, this, &ViewerWindow::chooseAndOpen);
    file->addSeparator();
    exportPicture_ = file->addAction(tr("Export &picture…"), this, &ViewerWindow::chooseAndExportPicture);
    exportPdf_ = file->addAction(tr("Export P&DF…"), this, &ViewerWindow::chooseAndExportPdf);
    print_ = file->addAction(tr("&Print…"), QKeySequence::Print, this, &ViewerWindow::print);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    copyRows_ = edit->addAction(tr("&Copy rows as CSV"), QKeySequence::Copy, this, &ViewerWindow::copyRows);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* in = view->addAction(tr("Zoom &in"), canvas_, &TrussCanvas::zoomIn);
    in->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence::ZoomIn});
    QAction* out = view->addAction(tr("Zoom &out"), canvas_, &TrussCanvas::zoomOut);
    out->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence::ZoomOut});
    view->addAction(tr("&Fit"), QKeySequence(Qt::Key_0), canvas_, &TrussCanvas::fit);
    enableActions();
}

// A picture and table rows need a truss to draw; the calculation pages only
// a file read.
void ViewerWindow::enableActions()
{
    const std::shared_ptr<const TrussStudy> study = document.study();
    const bool drawable = study && study->drawable();
    exportPicture_->setEnabled(drawable);
    copyRows_->setEnabled(drawable);
    exportPdf_->setEnabled(study != nullptr);
    print_->setEnabled(study != nullptr);
}

void ViewerWindow::whenSolved(const QString& what, std::function<void(const TrussStudy&)> write)
{
    if (document.solving())
        statusBar()->showMessage(tr("%1 once the truss is solved…").arg(what));
    document.whenStudied(this, std::move(write));
}

void ViewerWindow::copyRows()
{
    // The table with the focus, else the one in view.
    QTableView* view = static_cast<QTableView*>(tables->currentWidget());
    for (QTableView* table : {nodeView_, memberView_, designView_})
        if (table->hasFocus())
            view = table;
    QList<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty())
        for (int r = 0; r < view->model()->rowCount(); ++r)
            rows << r;
    QApplication::clipboard()->setText(csvOf(*view->model(), rows));
    statusBar()->showMessage(tr("Copied %n row(s) as CSV.", nullptr, static_cast<int>(rows.size())));
}

std::optional<QString> ViewerWindow::exportPicture(const QString& path) const
{
    const std::shared_ptr<const TrussStudy> study = document.study();
    if (!study || !study->drawable())
        return tr("there is no truss to draw");
    if (document.solving())
        return tr("the truss is still being solved");
    if (path.endsWith(QLatin1String(".dxf"), Qt::CaseInsensitive))
        return saved(path, toDxf(study->truss, study->forces()));
    const TrussDrawing drawing = drawTruss(study->truss, study->forces());
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return saved(path, toSvg(drawing).toUtf8());
    // Twice the drawing's points, for a picture that stays sharp on a page.
    return saved(path, toPng(drawing, 2.0));
}

std::variant<std::monostate, DesignFileStudy, QString> ViewerWindow::designFilePages(const TrussStudy& study) const
{
    const std::shared_ptr<const DesignFile> file = document.designFile().design();
    if (!study.solution || document.designFile().state() != DesignFileWatch::State::Read || !file || file->cases.empty())
        return {};
    Result<DesignFileStudy> studied = studyDesignFile(*file, study.truss);
    if (!studied.value)
        return QString::fromStdString(studied.error);
    return std::move(*studied.value);
}

std::optional<QString> ViewerWindow::exportPdf(const QString& path) const
{
    const std::shared_ptr<const TrussStudy> study = document.study();
    if (!study)
        return tr("no truss file is open");
    if (document.solving())
        return tr("the truss is still being solved");
    const PageHeader header = pageHeaderFor(filePath(), QStringLiteral("kvrview"));
    const auto pages = designFilePages(*study);
    if (const QString* refusal = std::get_if<QString>(&pages))
        return *refusal;
    if (const DesignFileStudy* cases = std::get_if<DesignFileStudy>(&pages))
        return saved(path, calculationPdf(*study, header, paperFor(QLocale()), *cases));
    return saved(path, calculationPdf(*study, header, paperFor(QLocale()), designOf(*design_)));
}

void ViewerWindow::chooseAndOpen()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Open a truss file"), QFileInfo(filePath()).absolutePath(), trussFiles);
    if (!path.isEmpty())
        openFile(path);
}

void ViewerWindow::chooseAndExportPicture()
{
    const QString base = QFileInfo(filePath()).completeBaseName();
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, tr("Export the picture"), base + QStringLiteral(".svg"),
                                                tr("SVG picture (*.svg);;PNG picture (*.png);;DXF drawing (*.dxf)"), &filter);
    if (path.isEmpty())
        return;
    if (!QStringList{QStringLiteral("svg"), QStringLiteral("png"), QStringLiteral("dxf")}.contains(QFileInfo(path).suffix(),
                                                                                                   Qt::CaseInsensitive))
        path += filter.contains(QLatin1String("png"))   ? QStringLiteral(".png")
                : filter.contains(QLatin1String("dxf")) ? QStringLiteral(".dxf")
                                                        : QStringLiteral(".svg");
    whenSolved(tr("Writing the picture"), [this, path](const TrussStudy&) {
        if (const std::optional<QString> failure = exportPicture(path))
            QMessageBox::warning(this, windowTitle(),
                                 tr("The picture was not written to %1: %2").arg(QDir::toNativeSeparators(path), *failure));
        else
            statusBar()->showMessage(tr("Wrote %1").arg(QDir::toNativeSeparators(path)));
    });
}

void ViewerWindow::chooseAndExportPdf()
{
    QString path = QFileDialog::getSaveFileName(this, tr("Export the calculation pages"),
                                                QFileInfo(filePath()).completeBaseName() + QStringLiteral(".pdf"),
                                                tr("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    whenSolved(tr("Writing the calculation pages"), [this, path](const TrussStudy&) {
        if (const std::optional<QString> failure = exportPdf(path))
            QMessageBox::warning(this, windowTitle(),
                                 tr("The PDF was not written to %1: %2").arg(QDir::toNativeSeparators(path), *failure));
        else
            statusBar()->showMessage(tr("Wrote %1").arg(QDir::toNativeSeparators(path)));
    });
}

void ViewerWindow::print()
{
    if (!document.study())
        return;
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageSize(paperFor(QLocale()));
    printer->setDocName(QFileInfo(filePath()).fileName());
    QPrintDialog dialog(printer.get(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    whenSolved(tr("Printing"), [this, printer](const TrussStudy& study) {
        const PageHeader header = pageHeaderFor(filePath(), QStringLiteral("kvrview"));
        const auto pages = designFilePages(study);
        if (const QString* refusal = std::get_if<QString>(&pages)) {
            QMessageBox::warning(this, windowTitle(), tr("Nothing was printed: %1").arg(*refusal));
            return;
        }
        if (const DesignFileStudy* cases = std::get_if<DesignFileStudy>(&pages))
            printCalculation(*printer, study, header, *cases);
        else
            printCalculation(*printer, study, header, designOf(*design_));
        statusBar()->showMessage(tr("Sent %1 to the printer").arg(printer->docName()));
    });
}
