// The viewer's Design panel: sections chosen in it give the table kvrtool
// design --csv gives, the members that do not hold are drawn red, the
// choice comes back when the file is opened again, and a choice that gives
// no design says why.
#include <QtTest>

#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QTableView>

#include "KvrtoolRun.h"
#include "design/SectionTable.h"
#include "kvrfile/TrussStructure.h"
#include "viewer/DesignPanel.h"
#include "viewer/ViewerWindow.h"

namespace {

QStringList words(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* word : list)
        out << QString::fromLatin1(word);
    return out;
}

// Typed as a user types, ended with Return.
void type(QLineEdit* box, const QString& text)
{
    QVERIFY(box != nullptr);
    box->clear();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// The code and grade picked from their lists (grade empty: the default
// left), sections typed for the top chord, bottom chord, verticals and
// diagonals, the top chord's restraints typed.
void choose(DesignPanel& panel, const QString& code, const QString& grade, const QStringList& sections, const QString& top)
{
    auto* codeBox = panel.findChild<QComboBox*>(QStringLiteral("designCode"));
    codeBox->setCurrentIndex(codeBox->findData(int(*codeNamed(code.toStdString()))));
    if (!grade.isEmpty()) {
        auto* gradeBox = panel.findChild<QComboBox*>(QStringLiteral("designGrade"));
        QVERIFY(gradeBox->findText(grade) >= 0);
        gradeBox->setCurrentIndex(gradeBox->findText(grade));
    }
    for (std::size_t g = 0; g < std::size(designGroups); ++g)
        type(panel.findChild<QComboBox*>(QStringLiteral("section-") + groupKey(designGroups[g]))->lineEdit(),
             sections[qsizetype(g)]);
    type(panel.findChild<QLineEdit*>(QStringLiteral("outOfPlane-top")), top);
}

QString copied(QTableView& view)
{
    QList<int> rows;
    for (int r = 0; r < view.model()->rowCount(); ++r)
        rows << r;
    return csvOf(*view.model(), rows);
}

// The members drawn in the colour of those that do not hold, found by
// where their lines lie on the page.
QList<int> drawnRed(const TrussDrawing& drawing, const TrussFileContent& t)
{
    double xMin = 0, yMax = 0;
    for (int n = 1; n <= t.noNodes; ++n) {
        xMin = std::min<double>(xMin, t.node(n, NodeColumn::X));
        yMax = std::max<double>(yMax, t.node(n, NodeColumn::Y));
    }
    const auto page = [&](int m, int end) {
        const int n = nodeNumber(t, m, end);
        return drawing.origin
               + QPointF(t.node(n, NodeColumn::X) - xMin, yMax - t.node(n, NodeColumn::Y)) * drawing.pointsPerMetre;
    };
    QList<int> red;
    for (const TrussDrawing::Line& line : drawing.lines)
        for (int m = 1; m <= t.noMembers; ++m)
            if (line.color == bandColour(designText::Band::Over) && line.cls.startsWith(QLatin1String("member"))
                && QLineF(line.from, line.to) == QLineF(page(m, MemberColumn::First), page(m, MemberColumn::Second)))
                red << m;
    std::sort(red.begin(), red.end());
    return red;
}

}  // namespace

class DesignPanelTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sectionsChosenGiveTheDesignCommandsTable_data();
    void sectionsChosenGiveTheDesignCommandsTable();
    void aChoiceThatGivesNoDesignSaysWhy_data();
    void aChoiceThatGivesNoDesignSaysWhy();

private:
    QTemporaryDir dir;
    QString file;
};

// Four panels of 2 m, 1.5 m high, 100 kN at each top node, as the design
// command's tests have it: statically determinate, so its forces are the
// same whatever the sections.
void DesignPanelTest::initTestCase()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
    file = dir.filePath(QStringLiteral("four.kvr"));
    const ToolRun made = kvrtool(words({"generate", "--span", "8", "--height", "1.5", "--panels", "4", "--area", "1000", "--e",
                                        "210", "--point-load", "100", "-o"})
                                 << file);
    QVERIFY2(made.status == kvrExit::ok, qPrintable(made.err));
}

void DesignPanelTest::sectionsChosenGiveTheDesignCommandsTable_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("grade");         // as the panel lists it; empty: its default
    QTest::addColumn<QStringList>("sections");  // top, bottom, verticals, diagonals, as typed
    QTest::addColumn<QString>("top");           // the top chord's restraints, m, as typed
    QTest::addColumn<QList<int>>("red");
    const QStringList shs = words({"shs100x100x5", "SHS 60x60x4", "shs 60X60X4", "SHS60x60x4"});
    const QStringList hss = words({"HSS4x4x1/4", "hss3x3x3/16", "HSS3x3x3/16", "HSS 3x3x3/16"});
    // clang-format off
    QTest::newRow("EN 1993-1-1, top chord restrained every 4 m: every member holds")
        << "en1993" << "S355" << shs << "4" << QList<int>{};
    QTest::newRow("restrained every 6 m: the top chord buckles")
        << "en1993" << "S355" << shs << "6" << QList<int>{5, 6, 7, 8};
    // S235 (lambda1 93.9): the top chord's Nb,Rd at 4 m 260.9 kN < 266.7; the end
    // verticals' at 1.5 m 174.8 kN < 200; the end diagonals' Npl,Rd 206.6 kN < 250.
    QTest::newRow("S235, every 4 m: the middle of the top chord, the end verticals and diagonals do not hold")
        << "en1993" << "S235" << shs << "4" << QList<int>{6, 7, 9, 13, 14, 17};
    QTest::newRow("AISC 360-16, grade by shape, every 8 m: the top chord buckles")
        << "aisc360" << "" << hss << "8" << QList<int>{5, 6, 7, 8};
    // clang-format on
}

void DesignPanelTest::sectionsChosenGiveTheDesignCommandsTable()
{
    QFETCH(QString, code);
    QFETCH(QString, grade);
    QFETCH(QStringList, sections);
    QFETCH(QString, top);
    QFETCH(QList<int>, red);

    ViewerWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.openFile(file));
    QTRY_VERIFY(!window.solving());
    choose(window.designPanel(), code, grade, sections, top);
    QTRY_VERIFY_WITH_TIMEOUT(!window.designPanel().designing(), 5000);

    QStringList arguments{QStringLiteral("design"), file, QStringLiteral("--code"), code, QStringLiteral("--csv")};
    arguments << QStringLiteral("--out-of-plane") << QStringLiteral("top=") + top;
    if (!grade.isEmpty())
        arguments << QStringLiteral("--steel") << grade;
    for (std::size_t g = 0; g < std::size(designGroups); ++g)
        arguments << QStringLiteral("--section") << groupKey(designGroups[g]) + u'=' + sections[qsizetype(g)];
    const ToolRun designed = kvrtool(arguments);
    QCOMPARE(designed.status, red.isEmpty() ? kvrExit::ok : kvrExit::notHolding);
    // The table, copied as the viewer copies tables, is design --csv's.
    QCOMPARE(copied(window.designView()), designed.out);
    QCOMPARE(drawnRed(window.canvas().drawing(), window.study()->truss), red);
    // The calculation pages exported hold the design, with the same table.
    const QString pdf = dir.filePath(QStringLiteral("design.pdf"));
    QVERIFY(!window.exportPdf(pdf));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral(PDFTOTEXT), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(60000));
    const QString pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    for (const QString& row : designed.out.split(u'\n', Qt::SkipEmptyParts).mid(1))
        QVERIFY2(pages.contains(row.split(u',').join(u' ')), qPrintable(row));

    // The same file in a new window comes back with the choice.
    ViewerWindow again;
    QVERIFY(again.openFile(file));
    QTRY_VERIFY(!again.solving());
    QTRY_VERIFY_WITH_TIMEOUT(!again.designPanel().designing(), 5000);
    QVERIFY(again.designPanel().choice() == window.designPanel().choice());
    QCOMPARE(again.designPanel().findChild<QComboBox*>(QStringLiteral("section-top"))->currentText(),
             QString::fromStdString(findSection(*codeNamed(code.toStdString()), sections[0].toStdString())->designation));
    QCOMPARE(copied(again.designView()), designed.out);
}

void DesignPanelTest::aChoiceThatGivesNoDesignSaysWhy_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("message");
    // clang-format off
    QTest::newRow("a section of no table")
        << "en1993" << "S355" << words({"SHS 61x61x4", "SHS 60x60x4", "SHS 60x60x4", "SHS 60x60x4"}) << ""
        << "No section 'SHS 61x61x4' in the EN 1993-1-1 tables.";
    QTest::newRow("a group without a section")
        << "en1993" << "S355" << words({"SHS 100x100x5", "SHS 60x60x4", "SHS 60x60x4", ""}) << ""
        << "No section for the diagonals.";
    QTest::newRow("a restraint that is no length")
        << "en1993" << "S355" << words({"SHS 100x100x5", "SHS 60x60x4", "SHS 60x60x4", "SHS 60x60x4"}) << "-4"
        << "Out of plane, top chord: '-4' is not a length in m greater than 0.";
    QTest::newRow("a grade the section is not rolled in")
        << "aisc360" << "A992" << words({"HSS4x4x1/4", "HSS4x4x1/4", "HSS4x4x1/4", "HSS4x4x1/4"}) << ""
        << "Steel grade 'A992' is not rolled as a rectangular HSS (HSS4x4x1/4): A992 is for W shapes, A500 for HSS.";
    // clang-format on
}

void DesignPanelTest::aChoiceThatGivesNoDesignSaysWhy()
{
    QFETCH(QString, code);
    QFETCH(QString, grade);
    QFETCH(QStringList, sections);
    QFETCH(QString, top);
    QFETCH(QString, message);

    ViewerWindow window;
    QVERIFY(window.openFile(file));
    QTRY_VERIFY(!window.solving());
    choose(window.designPanel(), code, grade, sections, top);
    QTRY_VERIFY_WITH_TIMEOUT(!window.designPanel().designing(), 5000);
    QCOMPARE(window.designPanel().message(), message);
    QCOMPARE(window.designView().model()->rowCount(), 0);
    // The members drawn by their forces, not by a design that is not there.
    const std::vector<TrussDrawing::Line>& lines = window.canvas().drawing().lines;
    QVERIFY(std::none_of(lines.begin(), lines.end(), [](const auto& l) { return l.cls.contains(QLatin1String("utilisation")); }));
}

QTEST_MAIN(DesignPanelTest)
#include "DesignPanelTest.moc"
