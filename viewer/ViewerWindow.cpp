#include "viewer/ViewerWindow.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QScrollArea>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "report/TrussSummary.h"
#include "viewer/DesignPanel.h"
#include "viewer/LoadsPicker.h"
#include "viewer/LoadsStudy.h"

namespace {

QTableView* tableView(QSortFilterProxyModel* model, const QString& name)
{
    auto* view = new QTableView;
    view->setObjectName(name);
    view->setModel(model);
    // Rows come in their numbers' order; sorted only when a head is clicked,
    // so that opening a large file sorts nothing.
    view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    view->setSortingEnabled(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setResizeContentsPrecision(100);  // rows measured for a column's width
    view->setWordWrap(false);
    return view;
}

QSortFilterProxyModel* sorted(QAbstractItemModel* model, QObject* parent)
{
    auto* proxy = new QSortFilterProxyModel(parent);
    proxy->setSourceModel(model);
    proxy->setSortRole(TrussTableModel::sortRole);
    return proxy;
}

}  // namespace

ViewerWindow::ViewerWindow(QWidget* parent)
    : QMainWindow(parent), canvas_(new TrussCanvas), nodeModel(ResultTable::Kind::Nodes),
      memberModel(ResultTable::Kind::Members), nodeSorted(sorted(&nodeModel, this)), memberSorted(sorted(&memberModel, this)),
      nodeView_(tableView(nodeSorted, QStringLiteral("nodes"))),
      memberView_(tableView(memberSorted, QStringLiteral("members"))), design_(new DesignPanel(document)),
      designSorted(sorted(&design_->table(), this)),
      designView_(tableView(designSorted, QStringLiteral("design"))), tables(new QTabWidget),
      summary_(new QTableWidget(0, 2)), findings_(new QListWidget), problem_(new QLabel), designProblem_(new QLabel),
      loads_(new LoadsPicker(document))
{
    setWindowTitle(QStringLiteral("kvrview"));
    setAcceptDrops(true);
    canvas_->setObjectName(QStringLiteral("drawing"));
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->horizontalHeader()->hide();
    summary_->verticalHeader()->hide();
    summary_->horizontalHeader()->setStretchLastSection(true);
    summary_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    summary_->setWordWrap(true);
    findings_->setObjectName(QStringLiteral("findings"));
    findings_->hide();
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("QLabel { color: #a00000; padding: 4px; }"));
    problem_->hide();
    designProblem_->setObjectName(QStringLiteral("designProblem"));
    designProblem_->setWordWrap(true);
    designProblem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    designProblem_->setStyleSheet(problem_->styleSheet());
    designProblem_->hide();
    QToolBar* loadsBar = addToolBar(tr("Loads"));
    loadsBar->setObjectName(QStringLiteral("loadsBar"));
    loadsBar->addWidget(new QLabel(tr("Loads ")));
    loadsBar->addWidget(loads_);

    tables->addTab(nodeView_, tr("Nodes"));
    tables->addTab(memberView_, tr("Members"));
    tables->addTab(designView_, tr("Design"));
    // The summary, and the Design panel beside it: the drawing keeps its room.
    auto* designArea = new QScrollArea;
    designArea->setWidget(design_);
    designArea->setWidgetResizable(true);
    designArea->setFrameShape(QFrame::NoFrame);
    auto* about = new QTabWidget;
    about->addTab(summary_, tr("Summary"));
    about->addTab(designArea, tr("Design"));
    auto* side = new QSplitter(Qt::Vertical);
    side->addWidget(about);
    side->addWidget(findings_);
    side->addWidget(tables);
    side->setStretchFactor(2, 1);
    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(canvas_);
    split->addWidget(side);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(problem_);
    layout->addWidget(designProblem_);
    layout->addWidget(split, 1);
    setCentralWidget(central);
    resize(1200, 760);
    split->setSizes({740, 460});
    side->setSizes({330, 60, 370});

    connect(&document, &TrussDocument::studyChanged, this, [this] {
        showFindings();
        enableActions();
    });
    connect(&document, &TrussDocument::shownChanged, this, &ViewerWindow::showStudy);
    connect(&document, &TrussDocument::problemChanged, this, &ViewerWindow::sayProblem);
    connect(&document, &TrussDocument::designFileChanged, this, &ViewerWindow::sayDesignProblem);
    connect(canvas_, &TrussCanvas::hovered, this, &ViewerWindow::sayWhatIsAt);
    connect(canvas_, &TrussCanvas::picked, this, &ViewerWindow::selectInTable);
    connect(nodeView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectInDrawing(TrussCanvas::Part::Node, nodeView_); });
    connect(memberView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectInDrawing(TrussCanvas::Part::Member, memberView_); });
    connect(designView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectInDrawing(TrussCanvas::Part::Member, designView_); });
    connect(design_, &DesignPanel::coloursChanged, canvas_, &TrussCanvas::setMemberColours);
    makeMenus();
    statusBar()->showMessage(tr("Point at a node or a member to see what it is."));
}

bool ViewerWindow::openFile(const QString& path)
{
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" – kvrview"));
    setWindowFilePath(QFileInfo(path).absoluteFilePath());
    return document.open(path);
}

// The study under the loads shown: the file's own, or a case's, a
// combination's or the envelope's.
void ViewerWindow::showStudy(bool sameFile)
{
    const std::shared_ptr<const TrussStudy> study = document.shown();
    nodeModel.setStudy(study);
    memberModel.setStudy(study);
    canvas_->setStudy(study, sameFile);
    canvas_->setSelection(TrussCanvas::Part::Node, {});  // the tables' selections end with their models
    design_->showStudy(sameFile);
    showSummary();
}

void ViewerWindow::showSummary()
{
    const LoadsShown loads = document.loadsShown();
    const std::shared_ptr<const DesignFile> design = document.designFile().design();
    const std::vector<SummaryLine> lines =
        loads == LoadsShown{} || !design ? summaryOf(*document.shown()) : loadsSummary(*document.shown(), loads, *design);
    summary_->setRowCount(static_cast<int>(lines.size()));
    for (int r = 0; r < summary_->rowCount(); ++r) {
        summary_->setItem(r, 0, new QTableWidgetItem(lines[std::size_t(r)].label));
        summary_->setItem(r, 1, new QTableWidgetItem(lines[std::size_t(r)].value));
    }
    summary_->resizeColumnToContents(0);
    summary_->resizeRowsToContents();
}

void ViewerWindow::showFindings()
{
    findings_->clear();
    for (const Finding& finding : document.study()->check.findings)
        findings_->addItem(QString::fromStdString(finding.where + ": " + finding.what));
    findings_->setVisible(findings_->count() > 0);
}

QString ViewerWindow::problem() const { return problem_->text(); }

QString ViewerWindow::designProblem() const { return designProblem_->text(); }

// The reader's one line, as kvrtool gives it; the truss stays in view.
void ViewerWindow::sayDesignProblem()
{
    const DesignFileWatch& file = document.designFile();
    designProblem_->setText(file.state() == DesignFileWatch::State::Refused ? file.problem() : QString());
    designProblem_->setVisible(!designProblem_->text().isEmpty());
}

void ViewerWindow::sayProblem(const QString& text)
{
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
    if (!text.isEmpty())
        statusBar()->showMessage(text);
}

void ViewerWindow::sayWhatIsAt(TrussCanvas::Pick pick)
{
    const int row = TrussTableModel::rowOf(pick.number);
    switch (pick.part) {
    case TrussCanvas::Part::Node:
        statusBar()->showMessage(nodeModel.factsOf(row));
        break;
    case TrussCanvas::Part::Member:
        statusBar()->showMessage(memberModel.factsOf(row));
        break;
    case TrussCanvas::Part::None:
        statusBar()->clearMessage();
        break;
    }
}

void ViewerWindow::selectInTable(TrussCanvas::Pick pick)
{
    if (pick.part == TrussCanvas::Part::None)
        return;
    const bool node = pick.part == TrussCanvas::Part::Node;
    // A member picked shows in the design table while that is the one in view.
    QTableView* view = node ? nodeView_ : tables->currentWidget() == designView_ ? designView_ : memberView_;
    auto* proxy = static_cast<QSortFilterProxyModel*>(view->model());
    const QModelIndex index = proxy->mapFromSource(proxy->sourceModel()->index(TrussTableModel::rowOf(pick.number), 0));
    tables->setCurrentWidget(view);
    view->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index);
}

void ViewerWindow::selectInDrawing(TrussCanvas::Part part, QTableView* view)
{
    const auto* proxy = static_cast<const QSortFilterProxyModel*>(view->model());
    QList<int> numbers;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        numbers << TrussTableModel::numberOf(proxy->mapToSource(index).row());
    std::sort(numbers.begin(), numbers.end());
    canvas_->setSelection(part, numbers);
}

void ViewerWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.constFirst().isLocalFile())
        event->acceptProposedAction();
}

void ViewerWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile())
        return;
    openFile(urls.constFirst().toLocalFile());
    event->acceptProposedAction();
}
