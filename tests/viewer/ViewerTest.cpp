// What the viewer shows of a truss file, and how it follows the file.
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <stop_token>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>

#include <QListWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>

#include "KvrtoolRun.h"
#include "TrussTestSupport.h"
#include "kvrfile/TrussFile.h"
#include "savefile/AtomicSave.h"
#include "viewer/ViewerWindow.h"

namespace {

// kvrtool's standard output, or a failure.
QString kvrtoolOut(const QStringList& arguments)
{
    const ToolRun run = kvrtool(arguments);
    if (run.status != kvrExit::ok)
        qWarning("kvrtool %s: %s", qPrintable(arguments.join(u' ')), qPrintable(run.err));
    return run.out;
}

bool generate(const QString& path, int panels)
{
    const QString out = kvrtoolOut({QStringLiteral("generate"), QStringLiteral("--span"), QString::number(2 * panels),
                                 QStringLiteral("--height"), QStringLiteral("3"), QStringLiteral("--panels"),
                                 QString::number(panels), QStringLiteral("--area"), QStringLiteral("2000"),
                                 QStringLiteral("-e"), QStringLiteral("210"), QStringLiteral("--udl"), QStringLiteral("10"),
                                 QStringLiteral("-o"), path});
    return out.startsWith(QLatin1String("wrote"));
}

int rows(QTableView& view) { return view.model()->rowCount(); }

// A writer that comes to the FIFO at path 5 s late: a window that waits for
// one is let go then, and fails the test instead of hanging it.
class LateWriter {
public:
    explicit LateWriter(QByteArray path)
        : thread([path = std::move(path)](std::stop_token stop) {
              std::mutex mutex;
              std::condition_variable_any never;
              std::unique_lock lock(mutex);
              never.wait_for(lock, stop, std::chrono::seconds(5), [] { return false; });
              if (stop.stop_requested())
                  return;
              if (const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
                  ::close(fd);
          })
    {
    }

private:
    std::jthread thread;
};

QString summaryValue(ViewerWindow& window, const QString& label)
{
    for (int r = 0; r < window.summary().rowCount(); ++r)
        if (window.summary().item(r, 0)->text() == label)
            return window.summary().item(r, 1)->text();
    return {};
}

}  // namespace

class ViewerTest : public QObject {
    Q_OBJECT

private slots:
    void openingFillsTablesAndSummaryAsSolve_data();
    void openingFillsTablesAndSummaryAsSolve();
    void aRewrittenFileReloadsAndKeepsTheZoom_data();
    void aRewrittenFileReloadsAndKeepsTheZoom();
    void selectionGoesBothWays();
    void anInconsistentFileListsItsFindings_data();
    void anInconsistentFileListsItsFindings();
    void anUnreadableFileKeepsTheLastView_data();
    void anUnreadableFileKeepsTheLastView();
    void aFifoNamedOnTheCommandLineIsRefusedAtOnce();
    void exportsAreWrittenWholeOrSayWhyNot_data();
    void exportsAreWrittenWholeOrSayWhyNot();

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

void ViewerTest::openingFillsTablesAndSummaryAsSolve_data()
{
    QTest::addColumn<int>("panels");
    QTest::newRow("1 panel") << 1;
    QTest::newRow("7 panels") << 7;
    QTest::newRow("40 panels") << 40;
}

void ViewerTest::openingFillsTablesAndSummaryAsSolve()
{
    QFETCH(int, panels);
    const QString file = path(QStringLiteral("open.kvr"));
    QVERIFY(generate(file, panels));
    ViewerWindow window;
    QVERIFY(window.openFile(file));
    QTRY_VERIFY(!window.solving());

    QCOMPARE(rows(window.nodeView()), 2 * panels + 2);
    QCOMPARE(rows(window.memberView()), int(readTrussFile(file.toStdString()).value->noMembers));
    QCOMPARE(window.windowTitle(), QStringLiteral("open.kvr – kvrview"));
    QCOMPARE(summaryValue(window, QStringLiteral("panels")), QString::number(panels));
    // Every line of solve's summary that the viewer shows reads the same.
    const QStringList solved = kvrtoolOut({QStringLiteral("solve"), file}).section(QStringLiteral("\n\n"), 0, 0).split(u'\n');
    int compared = 0;
    for (const QString& line : solved) {
        const QString label = line.section(QStringLiteral(": "), 0, 0);
        if (const QString shown = summaryValue(window, label); !shown.isEmpty()) {
            QCOMPARE(label + QStringLiteral(": ") + shown, line);
            ++compared;
        }
    }
    QVERIFY2(compared >= 5, qPrintable(solved.join(u'\n')));  // deflection, reactions, tension, compression, residual
    QVERIFY(window.findings().count() == 0 && window.findings().isHidden());
}

void ViewerTest::aRewrittenFileReloadsAndKeepsTheZoom_data()
{
    QTest::addColumn<bool>("renamedOver");
    QTest::newRow("saved again, a new file renamed over it") << true;
    QTest::newRow("written again in place") << false;
}

void ViewerTest::aRewrittenFileReloadsAndKeepsTheZoom()
{
    QFETCH(bool, renamedOver);
    const QString file = path(QStringLiteral("follow.kvr")), nine = path(QStringLiteral("nine.kvr")),
                  seven = path(QStringLiteral("seven.kvr"));
    QVERIFY(generate(file, 7) && generate(nine, 9) && generate(seven, 7));
    ViewerWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.openFile(file));
    window.canvas().zoomIn();
    window.canvas().zoomIn();
    // Every file here has panels 2 m long: the zoom kept keeps them as long on the screen.
    const auto panelOnScreen = [&] { return window.canvas().screenOf(2).x() - window.canvas().screenOf(1).x(); };
    const double zoomed = panelOnScreen();

    for (const auto& [panels, source] : {std::pair{9, nine}, std::pair{7, seven}}) {
        const QByteArray bytes = readAll(source);
        QVERIFY(renamedOver ? std::holds_alternative<atomicSave::Saved>(atomicSave::save(file, bytes)) : writeAll(file, bytes));
        QTRY_COMPARE_WITH_TIMEOUT(rows(window.nodeView()), 2 * panels + 2, 5000);
        QCOMPARE(panelOnScreen(), zoomed);
    }
}

void ViewerTest::selectionGoesBothWays()
{
    const QString file = path(QStringLiteral("select.kvr"));
    QVERIFY(generate(file, 7));
    ViewerWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.openFile(file));
    TrussCanvas& canvas = window.canvas();

    // Member 4 joins nodes 4 and 5 on the bottom chord: a click half way.
    const QPointF middle = (canvas.screenOf(4) + canvas.screenOf(5)) / 2;
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, middle.toPoint());
    const QModelIndexList picked = window.memberView().selectionModel()->selectedRows();
    QCOMPARE(picked.size(), 1);
    QCOMPARE(picked.constFirst().data().toString(), QStringLiteral("4"));
    QCOMPARE(canvas.selection(TrussCanvas::Part::Member), QList<int>{4});

    // Pointing at node 12, on the top chord above node 4.
    QMouseEvent move(QEvent::MouseMove, canvas.screenOf(12), canvas.mapToGlobal(canvas.screenOf(12)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &move);
    QVERIFY2(window.statusBar()->currentMessage().startsWith(QLatin1String("node 12: x (m) 6, y (m) 3, load (kN) -20")),
             qPrintable(window.statusBar()->currentMessage()));
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, canvas.screenOf(12).toPoint());
    QCOMPARE(window.nodeView().selectionModel()->selectedRows().constFirst().data().toString(), QStringLiteral("12"));

    // Sorted by y descending, the first row is a top-chord node, not node 1.
    window.nodeView().sortByColumn(2, Qt::DescendingOrder);
    window.nodeView().selectRow(0);
    const int first = window.nodeView().model()->index(0, 0).data().toInt();
    QVERIFY(first > 8);
    QCOMPARE(canvas.selection(TrussCanvas::Part::Node), QList<int>{first});
    QCOMPARE(canvas.pickAt(canvas.screenOf(first)), (TrussCanvas::Pick{TrussCanvas::Part::Node, first}));
}

void ViewerTest::anInconsistentFileListsItsFindings_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("finding");
    QTest::addColumn<int>("nodeRows");
    QTest::newRow("a support code that is neither") << "support" << "node 1: support code 3 is neither 1 nor 2" << 16;
    QTest::newRow("a member without area") << "area" << "member 5: E = 210 kN/mm2, A = 0 mm2" << 16;
    QTest::newRow("truncated: no tables") << "truncate" << "the file is truncated" << 0;
}

void ViewerTest::anInconsistentFileListsItsFindings()
{
    QFETCH(QString, damage);
    QFETCH(QString, finding);
    QFETCH(int, nodeRows);
    const QString file = path(QStringLiteral("damaged.kvr"));
    QVERIFY(generate(file, 7));
    QByteArray bytes = readAll(file);
    if (damage == QLatin1String("support"))
        putSingle(bytes, trussFile::nodeCellOffset(16, 1, NodeColumn::Support), 3.0f);
    else if (damage == QLatin1String("area"))
        putSingle(bytes, trussFile::memberCellOffset(16, 30, 5, MemberColumn::A), 0.0f);
    else
        bytes.chop(10);
    QVERIFY(writeAll(file, bytes));

    ViewerWindow window;
    QVERIFY(window.openFile(file));
    QTRY_VERIFY(!window.solving());
    QVERIFY(!window.findings().isHidden());
    QStringList listed;
    for (int i = 0; i < window.findings().count(); ++i)
        listed << window.findings().item(i)->text();
    QVERIFY2(listed.join(u'\n').contains(finding), qPrintable(listed.join(u'\n')));
    QCOMPARE(rows(window.nodeView()), nodeRows);
    QCOMPARE(window.canvas().drawing().size.isEmpty(), nodeRows == 0);
    QCOMPARE(window.exportPictureAction().isEnabled(), nodeRows != 0);
    QVERIFY(window.exportPdfAction().isEnabled() && window.printAction().isEnabled());
    QVERIFY(!summaryValue(window, QStringLiteral("not solved")).isEmpty());
}

void ViewerTest::anUnreadableFileKeepsTheLastView_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("reason");
    QTest::newRow("removed") << "remove" << QString::fromLocal8Bit(std::strerror(ENOENT));
    QTest::newRow("a folder in its place") << "folder" << "it is a folder";
    QTest::newRow("longer than any truss file") << "grow" << "not a truss file";
    QTest::newRow("a FIFO in its place") << "fifo" << "it is a named pipe (FIFO), not a file";
}

void ViewerTest::anUnreadableFileKeepsTheLastView()
{
    QFETCH(QString, change);
    QFETCH(QString, reason);
    const QString file = path(QStringLiteral("unreadable-%1.kvr").arg(change));
    QVERIFY(generate(file, 7));
    ViewerWindow window;
    QVERIFY(window.openFile(file));
    QVERIFY(window.problem().isEmpty());

    if (change == QLatin1String("grow")) {
        QFile grown(file);
        QVERIFY(grown.resize(qint64(trussFile::largestFileSize) + 1));
    } else {
        QVERIFY(QFile::remove(file));
        if (change == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(file));
        else if (change == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
    }
    const LateWriter writer(QFile::encodeName(file));
    QTRY_VERIFY_WITH_TIMEOUT(window.problem().contains(reason), 5000);
    QCOMPARE(rows(window.nodeView()), 16);
    QCOMPARE(rows(window.memberView()), 30);
    QVERIFY(!window.canvas().drawing().size.isEmpty());
}

// As kvrview FIFO starts: the window shows, and says why it shows nothing.
void ViewerTest::aFifoNamedOnTheCommandLineIsRefusedAtOnce()
{
    const QString fifo = path(QStringLiteral("named.kvr"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const LateWriter writer(QFile::encodeName(fifo));
    ViewerWindow window;
    window.show();
    QVERIFY(!window.openFile(fifo));
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.problem(), QStringLiteral("cannot read %1: it is a named pipe (FIFO), not a file").arg(fifo));
    QCOMPARE(window.windowTitle(), QStringLiteral("named.kvr – kvrview"));
    QVERIFY(window.canvas().drawing().size.isEmpty());
}

void ViewerTest::exportsAreWrittenWholeOrSayWhyNot_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start");  // of the file written; empty: nothing is written
    QTest::newRow("SVG picture") << "truss.svg" << QByteArray("<?xml");
    QTest::newRow("PNG picture") << "truss.png" << QByteArray("\x89PNG");
    QTest::newRow("DXF drawing") << "truss.dxf" << QByteArray("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n");
    QTest::newRow("calculation pages") << "calc.pdf" << QByteArray("%PDF");
    QTest::newRow("into a folder that is not there") << "missing/calc.pdf" << QByteArray();
}

void ViewerTest::exportsAreWrittenWholeOrSayWhyNot()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    const QString file = path(QStringLiteral("export.kvr")), target = path(name);
    QVERIFY(generate(file, 7));
    ViewerWindow window;
    QVERIFY(!window.exportPictureAction().isEnabled() && !window.exportPdfAction().isEnabled() && !window.printAction().isEnabled());
    QVERIFY(window.openFile(file));
    QTRY_VERIFY(!window.solving());
    const std::optional<QString> failure = name.endsWith(QLatin1String(".pdf")) ? window.exportPdf(target) : window.exportPicture(target);
    QCOMPARE(failure.has_value(), start.isEmpty());
    QVERIFY(readAll(target).startsWith(start) && (start.isEmpty() == !QFile::exists(target)));
}

QTEST_MAIN(ViewerTest)
#include "ViewerTest.moc"
