#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <variant>

#include <QMainWindow>

#include "report/LoadCasePages.h"
#include "report/TrussStudy.h"
#include "viewer/TrussCanvas.h"
#include "viewer/TrussDocument.h"
#include "viewer/TrussTableModel.h"

class DesignPanel;
class LoadsPicker;
class QAction;
class QLabel;
class QListWidget;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class QTableWidget;

// kvrview's window: shows the document's truss drawn with its forces, its
// summary, its findings and its node and member tables, as the document
// follows the file, under the loads picked: the file's own, or a case, a
// combination or the envelope of the design file beside it. A file that
// cannot be read leaves the last good view in place and says why; a design
// file with a mistake is named with it above the drawing.
class ViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ViewerWindow(QWidget* parent = nullptr);

    // Reads the file and shows it; false, with the reason shown, when it
    // cannot be read.
    bool openFile(const QString& path);
    QString filePath() const { return document.filePath(); }
    std::shared_ptr<const TrussStudy> study() const { return document.study(); }
    // The file is drawn as soon as it is read; its findings and results
    // follow when it has been checked and solved, away from the window's
    // thread, as do the design file and the loads picked.
    bool solving() const { return document.solving() || document.showing(); }

    // The picture (.svg, .png or .dxf by its name) and the calculation pages of
    // the truss as solved, written through the save routine; the reason when
    // they are not (also while the truss is still being solved: the menu's
    // exports wait for it instead).
    std::optional<QString> exportPicture(const QString& path) const;
    // With a design file of load cases beside the truss, the pages are its
    // (its cases, combinations, envelope and deflection), as kvrtool report
    // --design makes them; else the file's own loads and the Design panel's.
    std::optional<QString> exportPdf(const QString& path) const;

    // The menu's actions, enabled by what there is to export or copy.
    QAction& exportPictureAction() { return *exportPicture_; }
    QAction& exportPdfAction() { return *exportPdf_; }
    QAction& printAction() { return *print_; }

    TrussCanvas& canvas() { return *canvas_; }
    QTableView& nodeView() { return *nodeView_; }
    QTableView& memberView() { return *memberView_; }
    QTableView& designView() { return *designView_; }
    DesignPanel& designPanel() { return *design_; }
    LoadsPicker& loadsPicker() { return *loads_; }
    QTableWidget& summary() { return *summary_; }
    QListWidget& findings() { return *findings_; }
    QString problem() const;  // what went wrong with the last reading; empty when it went well
    QString designProblem() const;  // the design file's mistake; empty when it has none

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The design file's pages for the study, nothing without a design file
    // of load cases (or a solution), or why its cases do not fit the truss.
    std::variant<std::monostate, DesignFileStudy, QString> designFilePages(const TrussStudy& study) const;
    void makeMenus();
    void enableActions();
    void showStudy(bool sameFile);
    // Runs write once the truss is solved, saying so meanwhile.
    void whenSolved(const QString& what, std::function<void(const TrussStudy&)> write);
    void showSummary();
    void showFindings();
    void sayProblem(const QString& text);
    void sayDesignProblem();
    void selectInTable(TrussCanvas::Pick pick);
    void selectInDrawing(TrussCanvas::Part part, QTableView* view);
    void sayWhatIsAt(TrussCanvas::Pick pick);
    void copyRows();
    void chooseAndOpen();
    void chooseAndExportPicture();
    void chooseAndExportPdf();
    void print();

    TrussDocument document;
    TrussCanvas* canvas_;
    TrussTableModel nodeModel, memberModel;
    QSortFilterProxyModel *nodeSorted, *memberSorted;
    QTableView *nodeView_, *memberView_;
    DesignPanel* design_;
    QSortFilterProxyModel* designSorted;
    QTableView* designView_;
    QTabWidget* tables;
    QTableWidget* summary_;
    QListWidget* findings_;
    QLabel *problem_, *designProblem_;
    LoadsPicker* loads_;
    QAction *exportPicture_ = nullptr, *exportPdf_ = nullptr, *print_ = nullptr, *copyRows_ = nullptr;
};
