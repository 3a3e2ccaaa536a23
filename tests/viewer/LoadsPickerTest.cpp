// The design file beside the truss file in the viewer: the loads it offers
// in the picker, the truss shown under the one picked, a mistake named with
// its line and key, and the Design panel's choice written into it.
#include <QtTest>

#include <algorithm>

#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QTableView>

#include "KvrtoolRun.h"
#include "TrussTestSupport.h"
#include "design/SectionTable.h"
#include "loads/DesignFileReader.h"
#include "loads/DesignFileWriter.h"
#include "viewer/DesignPanel.h"
#include "viewer/LoadsPicker.h"
#include "viewer/ViewerWindow.h"

namespace {

// Sections for every group, a case of one load of 10 kN down on node 6, on
// the end vertical (member 9, nodes 1 and 6) over the pin: the vertical
// takes it to the pin, -10 kN, every other member nothing.
const char* const oneLoad = "code = \"en1993\"\nsteel = \"S355\"\n[sections]\ntop = \"SHS 100x100x5\"\n"
                            "bottom = \"SHS 60x60x4\"\nweb = \"SHS 60x60x4\"\n"
                            "[[case]]\nname = \"P\"\nkind = \"permanent\"\nloads = [ { node = 6, fy = -10.0 } ]\n"
                            "[[combination]]\nname = \"twice\"\nkind = \"uls\"\nfactors = { P = 2.0 }\n";
constexpr int endVertical = 9;

QString cell(QTableView& view, int row, int column) { return view.model()->index(row, column).data().toString(); }

void pick(LoadsPicker& picker, const QString& label)
{
    const int index = picker.findText(label);
    QVERIFY2(index >= 0, qPrintable(label));
    picker.setCurrentIndex(index);
    emit picker.activated(index);
}

// Typed as a user types, ended with Return.
void type(QLineEdit* box, const QString& text)
{
    QVERIFY(box != nullptr);
    box->clear();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

DesignFile withoutLines(DesignFile design)
{
    for (LoadCase& c : design.cases) {
        c.line = 0;
        for (PointLoad& load : c.loads)
            load.line = 0;
    }
    return design;
}

}  // namespace

class LoadsPickerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void thePickerOffersTheDesignFilesLoads_data();
    void thePickerOffersTheDesignFilesLoads();
    void theLoadsPickedAreShown_data();
    void theLoadsPickedAreShown();
    void thePanelsChoiceIsWrittenIntoTheDesignFile_data();
    void thePanelsChoiceIsWrittenIntoTheDesignFile();
    void aSideLoadIsDrawn();
    void theCalculationPagesAreTheDesignFiles();

private:
    QTemporaryDir dir;
    QString truss, design;
};

void LoadsPickerTest::initTestCase()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
    truss = dir.filePath(QStringLiteral("four.kvr"));
    design = dir.filePath(QStringLiteral("four.toml"));
    const ToolRun made =
        kvrtool({QStringLiteral("generate"), QStringLiteral("--span"), QStringLiteral("8"), QStringLiteral("--height"),
                 QStringLiteral("1.5"), QStringLiteral("--panels"), QStringLiteral("4"), QStringLiteral("--area"),
                 QStringLiteral("1000"), QStringLiteral("--e"), QStringLiteral("210"), QStringLiteral("--point-load"),
                 QStringLiteral("100"), QStringLiteral("-o"), truss});
    QVERIFY2(made.status == kvrExit::ok, qPrintable(made.err));
}

void LoadsPickerTest::init() { QFile::remove(design); }

void LoadsPickerTest::thePickerOffersTheDesignFilesLoads_data()
{
    QTest::addColumn<QByteArray>("text");  // of the design file; empty: none
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("why");  // the disabled picker's tooltip says, and the line above the drawing
    const QString own = QStringLiteral("the file's own loads");
    // EN 1990: 1.35 P unfavourable; 1.0 P favourable is 1.35 P scaled down and cannot govern; 6.14b: 1.0 P.
    // clang-format off
    QTest::newRow("one case and a combination of its own")
        << QByteArray(oneLoad)
        << QStringList{own, QStringLiteral("case P (permanent)"), QStringLiteral("ULS 1 — 1.35 P"), QStringLiteral("SLS 1 — 1.0 P"),
                       QStringLiteral("twice — 2.0 P"), QStringLiteral("envelope (strength combinations)")}
        << QString();
    QTest::newRow("no design file") << QByteArray() << QStringList{own} << "No design file four.toml beside the truss file";
    QTest::newRow("no cases") << QByteArray("code = \"aisc360\"\n") << QStringList{own} << "four.toml has no load cases";
    QTest::newRow("a mistake") << QByteArray("code = \"en1993\"\n[[case]]\nname = \"Q\"\nkind = \"live\"\nudl_top = -2\n")
                               << QStringList{own}
                               << ":4: [[case]] kind: expected one of permanent, imposed, snow, wind, got 'live'";
    // clang-format on
}

void LoadsPickerTest::thePickerOffersTheDesignFilesLoads()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, entries);
    QFETCH(QString, why);
    if (!text.isEmpty())
        QVERIFY(writeAll(design, text));
    ViewerWindow window;
    QVERIFY(window.openFile(truss));
    QTRY_VERIFY(!window.solving());
    LoadsPicker& picker = window.loadsPicker();
    QStringList shown;
    for (int i = 0; i < picker.count(); ++i)
        shown << picker.itemText(i);
    QCOMPARE(shown, entries);
    QCOMPARE(picker.isEnabled(), why.isEmpty());
    QVERIFY2(picker.toolTip().contains(why), qPrintable(picker.toolTip()));
    // The reader's line, as kvrtool gives it, above the truss still in view.
    const bool mistake = why.startsWith(u':');
    QCOMPARE(window.designProblem(), mistake ? QDir::toNativeSeparators(design) + why : QString());
    QCOMPARE(window.nodeView().model()->rowCount(), 10);
    QVERIFY(!window.canvas().drawing().size.isEmpty());
}

void LoadsPickerTest::theLoadsPickedAreShown_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("force");      // of the end vertical, kN
    QTest::addColumn<QString>("governing");  // its combination in the design table; empty: no such column
    QTest::newRow("the case") << "case P (permanent)"
                              << "-10"
                              << "";
    QTest::newRow("a generated combination") << "ULS 1 — 1.35 P"
                                             << "-13.5"
                                             << "";
    QTest::newRow("the engineer's own combination") << "twice — 2.0 P"
                                                    << "-20"
                                                    << "";
    QTest::newRow("the envelope: the larger compression governs") << "envelope (strength combinations)"
                                                                  << "-20"
                                                                  << "twice";
}

void LoadsPickerTest::theLoadsPickedAreShown()
{
    QFETCH(QString, label);
    QFETCH(QString, force);
    QFETCH(QString, governing);
    QVERIFY(writeAll(design, oneLoad));
    ViewerWindow window;
    QVERIFY(window.openFile(truss));
    QTRY_VERIFY(!window.solving());
    pick(window.loadsPicker(), label);
    QTRY_VERIFY(!window.solving());
    QTRY_VERIFY(!window.designPanel().designing());

    QCOMPARE(cell(window.memberView(), endVertical - 1, 6), force);
    QCOMPARE(cell(window.memberView(), 0, 6), QStringLiteral("0"));  // the bottom chord's first member
    // Node 6 carries the load the vertical takes; the envelope has no loads of its own.
    QCOMPARE(cell(window.nodeView(), 5, 3), governing.isEmpty() ? force : QStringLiteral("0"));
    QCOMPARE(cell(window.designView(), endVertical - 1, 8), governing);
}

void LoadsPickerTest::thePanelsChoiceIsWrittenIntoTheDesignFile_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("grade");      // empty: left
    QTest::addColumn<QString>("top");        // section typed; empty: left
    QTest::addColumn<QString>("restraint");  // top chord's, m; empty: left
    QTest::addColumn<QString>("refusal");    // why the file is left as it was; empty: written
    QTest::addColumn<bool>("asWritten");     // the file as the viewer writes it, or as typed by hand
    QTest::newRow("grade, section and restraint") << "en1993"
                                                  << "S275"
                                                  << "shs120x120x6.3"
                                                  << "3"
                                                  << "" << true;
    QTest::newRow("aisc360 for cases with en1993's categories")
        << "aisc360"
        << ""
        << ""
        << ""
        << "The choice is not written into four.toml: it cannot hold this choice: [[case]] category: only an en1993 "
           "imposed load has a category"
        << true;
    QTest::newRow("a file of the engineer's own layout")
        << "en1993"
        << "S275"
        << ""
        << ""
        << "The choice is not written into four.toml: it has comments or a layout of its own, which writing it afresh "
           "would lose; change its [sections] there"
        << false;
}

void LoadsPickerTest::thePanelsChoiceIsWrittenIntoTheDesignFile()
{
    QFETCH(QString, code);
    QFETCH(QString, grade);
    QFETCH(QString, top);
    QFETCH(QString, restraint);
    QFETCH(QString, refusal);
    QFETCH(bool, asWritten);
    const QByteArray typed =
        QByteArray(oneLoad) + "[[case]]\nname = \"Q\"\nkind = \"imposed\"\ncategory = \"B\"\nudl_top = -1.0\n";
    const DesignFile given = *parseDesignFile(typed.toStdString(), "four.toml").value;
    const QByteArray before = asWritten ? QByteArray::fromStdString(designFileText(given)) : typed;
    QVERIFY(writeAll(design, before));
    ViewerWindow window;
    QVERIFY(window.openFile(truss));
    QTRY_VERIFY(!window.solving());
    DesignPanel& panel = window.designPanel();
    QCOMPARE(panel.findChild<QComboBox*>(QStringLiteral("section-top"))->currentText(), QStringLiteral("SHS 100x100x5"));

    auto* codeBox = panel.findChild<QComboBox*>(QStringLiteral("designCode"));
    codeBox->setCurrentIndex(codeBox->findData(int(*codeNamed(code.toStdString()))));
    if (!grade.isEmpty()) {
        auto* gradeBox = panel.findChild<QComboBox*>(QStringLiteral("designGrade"));
        gradeBox->setCurrentIndex(gradeBox->findText(grade));
    }
    if (!top.isEmpty())
        type(panel.findChild<QComboBox*>(QStringLiteral("section-top"))->lineEdit(), top);
    if (!restraint.isEmpty())
        type(panel.findChild<QLineEdit*>(QStringLiteral("outOfPlane-top")), restraint);
    QTRY_VERIFY(!window.solving());

    if (!refusal.isEmpty()) {
        QCOMPARE(panel.whereKept(), refusal);
        QCOMPARE(readAll(design), before);
        return;
    }
    QCOMPARE(panel.whereKept(), QStringLiteral("The choice is kept in four.toml."));
    const Result<DesignFile> written = parseDesignFile(readAll(design).toStdString(), "four.toml");
    QVERIFY2(written.value, written.error.c_str());
    QCOMPARE(written.value->steel, std::optional<std::string>(grade.toStdString()));
    QCOMPARE(written.value->sections.at(MemberGroup::TopChord)->designation, std::string("SHS 120x120x6.3"));
    QCOMPARE(written.value->sections.at(MemberGroup::Diagonal), given.sections.at(MemberGroup::Diagonal));
    QCOMPARE(written.value->outOfPlane, (GroupLengths{{MemberGroup::TopChord, restraint.toDouble()}}));
    // The engineer's cases and combination as they were.
    QVERIFY(withoutLines(*written.value).cases == withoutLines(given).cases);
    QVERIFY(written.value->ownCombinations == given.ownCombinations);
}

// A case that pushes sideways, which the file's table of vertical loads
// cannot hold, is drawn and summed in the drawing's title.
void LoadsPickerTest::aSideLoadIsDrawn()
{
    QVERIFY(writeAll(design, "code = \"en1993\"\n[[case]]\nname = \"W\"\nkind = \"wind\"\nloads = [ { node = 6, fx = 4.0 } ]\n"));
    ViewerWindow window;
    QVERIFY(window.openFile(truss));
    QTRY_VERIFY(!window.solving());
    pick(window.loadsPicker(), QStringLiteral("case W (wind)"));
    QTRY_VERIFY(!window.solving());
    const std::vector<TrussDrawing::Text>& texts = window.canvas().drawing().texts;
    QVERIFY(std::any_of(texts.begin(), texts.end(),
                        [](const TrussDrawing::Text& t) { return t.text.contains(QLatin1String("4 kN to the right")); }));
}

// With a design file of load cases, the viewer's pages are those kvrtool
// report --design makes: its cases, combinations and envelope.
void LoadsPickerTest::theCalculationPagesAreTheDesignFiles()
{
    QVERIFY(writeAll(design, oneLoad));
    ViewerWindow window;
    QVERIFY(window.openFile(truss));
    QTRY_VERIFY(!window.solving());
    const QString pdf = dir.filePath(QStringLiteral("pages.pdf"));
    const std::optional<QString> failure = window.exportPdf(pdf);
    QVERIFY2(!failure, qPrintable(failure.value_or(QString())));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral(PDFTOTEXT), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(60000));
    const QString pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    for (const char* words : {"Load cases of four.toml", "Case P: permanent", "ULS 1 1.35 P", "twice"})
        QVERIFY2(pages.contains(QLatin1String(words)), words);
}

QTEST_MAIN(LoadsPickerTest)
#include "LoadsPickerTest.moc"
