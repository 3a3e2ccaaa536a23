#pragma once

#include <memory>
#include <optional>

#include <QMainWindow>

#include "report/TrussStudy.h"
#include "viewer/FileFollower.h"
#include "viewer/TrussCanvas.h"
#include "viewer/TrussTableModel.h"

class QLabel;
class QListWidget;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class QTableWidget;

// kvrview's window: the truss of a file drawn with its forces, its summary,
// its findings and its node and member tables, following the file as it is
// written again. A file that cannot be read leaves the last good view in
// place and says why.
class ViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ViewerWindow(QWidget* parent = nullptr);

    // Reads the file and shows it; false, with the reason shown, when it
    // cannot be read.
    bool openFile(const QString& path);
    QString filePath() const { return follower.path(); }
    std::shared_ptr<const TrussStudy> study() const { return study_; }
    // The file is drawn as soon as it is read; its findings and results
    // follow when it has been checked and solved, away from the window's
    // thread.
    bool solving() const { return pending; }

    // The picture (.svg, .png or .dxf by its name) and the calculation pages,
    // written through the save routine; the reason when they are not.
    std::optional<QString> exportPicture(const QString& path) const;
    std::optional<QString> exportPdf(const QString& path) const;

    TrussCanvas& canvas() { return *canvas_; }
    QTableView& nodeView() { return *nodeView_; }
    QTableView& memberView() { return *memberView_; }
    QTableWidget& summary() { return *summary_; }
    QListWidget& findings() { return *findings_; }
    QString problem() const;  // what went wrong with the last reading; empty when it went well

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void makeMenus();
    void showStudy(std::shared_ptr<const TrussStudy> next, bool sameFile);
    void studyMeanwhile();
    std::shared_ptr<const TrussStudy> withResults() const;
    void showSummary();
    void showFindings();
    void sayProblem(const QString& text);
    void selectInTable(TrussCanvas::Pick pick);
    void selectInDrawing(TrussCanvas::Part part);
    void sayWhatIsAt(TrussCanvas::Pick pick);
    void copyRows();
    void chooseAndOpen();
    void chooseAndExportPicture();
    void chooseAndExportPdf();
    void print();

    std::shared_ptr<const TrussStudy> study_;
    FileFollower follower;
    TrussCanvas* canvas_;
    TrussTableModel nodeModel, memberModel;
    QSortFilterProxyModel *nodeSorted, *memberSorted;
    QTableView *nodeView_, *memberView_;
    QTabWidget* tables;
    QTableWidget* summary_;
    QListWidget* findings_;
    QLabel* problem_;
    int generation = 0;    // of the file read; a solution of an earlier one is not shown
    bool pending = false;  // the file shown is being solved
};
