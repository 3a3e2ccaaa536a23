// The values of an 18 m roof of 40 panels, made in Single arithmetic, as the
// viewer's tables and the calculation pages show them: each Single at its
// own precision, and a member and its mirror image alike.
#include <QtTest>

#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>

#include "KvrtoolRun.h"
#include "kvrfile/TrussFileReader.h"
#include "report/CalculationPages.h"
#include "report/MirrorImage.h"
#include "report/ResultTables.h"
#include "viewer/ViewerWindow.h"

namespace {

QString flat(QString text) { return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")); }

QString cell(QTableView& view, int number, int column) { return view.model()->index(number - 1, column).data().toString(); }

QString row(QTableView& view, int number)
{
    QStringList cells;
    for (int c = 0; c < view.model()->columnCount(); ++c)
        cells << cell(view, number, c);
    return flat(cells.join(u' '));
}

}  // namespace

class ValuesShownTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fileValuesReadAsGiven_data();
    void fileValuesReadAsGiven();
    void mirrorImagesReadAlike_data();
    void mirrorImagesReadAlike();
    void aLoadOffTheMirrorPairsNone();

private:
    QTemporaryDir dir;
    ViewerWindow window;
    QString pages;
};

void ValuesShownTest::initTestCase()
{
    const QString file = dir.filePath(QStringLiteral("roof.kvr"));
    const ToolRun generated = kvrtool({"generate", "--span", "18", "--height", "1.5", "--panels", "40", "--area", "1500", "--e",
                                       "210", "--udl", "3", "-o", file});
    QVERIFY2(generated.status == 0, qPrintable(generated.err));
    QVERIFY(window.openFile(file));
    QTRY_VERIFY(!window.solving());
    const QString pdf = dir.filePath(QStringLiteral("roof.pdf"));
    QFile out(pdf);
    QVERIFY(out.open(QIODevice::WriteOnly)
            && out.write(calculationPdf(*window.study(), {"roof.kvr", "2026-01-01", "kvrview"}, QPageSize(QPageSize::A4))) > 0);
    out.close();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral(PDFTOTEXT), {"-layout", pdf, "-"});
    QVERIFY(pdftotext.waitForFinished(60000));
    pages = flat(QString::fromUtf8(pdftotext.readAllStandardOutput()));
}

// x = (i - 1) x 0.45 m and w x 0.45 m made in Singles: 1.3499999, 4.0499997,
// 5.3999996 and 1.35 exactly as Singles hold them.
void ValuesShownTest::fileValuesReadAsGiven_data()
{
    QTest::addColumn<int>("node");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("node 4's x") << 4 << 1 << "1.35";
    QTest::newRow("node 10's x") << 10 << 1 << "4.05";
    QTest::newRow("node 13's x") << 13 << 1 << "5.4";
    QTest::newRow("node 44's load") << 44 << 3 << "-1.35";
}

void ValuesShownTest::fileValuesReadAsGiven()
{
    QFETCH(int, node);
    QFETCH(int, column);
    QFETCH(QString, text);
    QCOMPARE(cell(window.nodeView(), node, column), text);
    QVERIFY2(pages.contains(row(window.nodeView(), node)), qPrintable(row(window.nodeView(), node)));
}

// Bottom chord 1 to 40, top chord 41 to 80, left to right; the web's pairs
// are those whose Singles set them furthest apart.
void ValuesShownTest::mirrorImagesReadAlike_data()
{
    QTest::addColumn<int>("member");
    QTest::addColumn<int>("image");
    QTest::addColumn<QString>("force");  // by statics, where given
    // M at 0.45 m over the depth: (27 kN - 0.675 kN) x 0.45 m / 1.5 m.
    QTest::newRow("bottom chord, second panel") << 2 << 39 << "7.8975";
    QTest::newRow("top chord, first panel") << 41 << 80 << "-7.8975";
    QTest::newRow("diagonals 133 and 150") << 133 << 150 << "";
    QTest::newRow("diagonals 138 and 145") << 138 << 145 << "";
    QTest::newRow("diagonals 141 and 142") << 141 << 142 << "";
}

void ValuesShownTest::mirrorImagesReadAlike()
{
    QFETCH(int, member);
    QFETCH(int, image);
    QFETCH(QString, force);
    constexpr int forceColumn = 6, stressColumn = 7;
    QTableView& members = window.memberView();
    QCOMPARE(cell(members, member, forceColumn), cell(members, image, forceColumn));
    QCOMPARE(cell(members, member, stressColumn), cell(members, image, stressColumn));
    if (!force.isEmpty())
        QCOMPARE(cell(members, member, forceColumn), force);
    for (const int m : {member, image})
        QVERIFY2(pages.contains(row(members, m)), qPrintable(row(members, m)));
}

// A Single's rounding apart is alike; one top chord node's load 1.36 kN
// rather than 1.35 is not, and each member reads its own force again.
void ValuesShownTest::aLoadOffTheMirrorPairsNone()
{
    TrussFileContent truss = window.study()->truss;
    float& load = truss.nodes(44, NodeColumn::Load);
    load = std::nextafter(load, -2.0f);
    QCOMPARE(mirrorMembers(truss).size(), std::size_t(truss.noMembers) + 1);
    load = -1.36f;
    QVERIFY(mirrorMembers(truss).empty());
    const TrussStudy study = studyTruss(truss);
    const ResultTable members(study, ResultTable::Kind::Members);
    // M over the depth with 0.01 kN more at 0.9 m: (27.0095 - 0.675) x 0.45 / 1.5; for member 39
    // (27.0005 - 0.675) x 0.45 / 1.5 = 7.89765 and the 1.3e-5 kN the Singles of the right half add.
    QCOMPARE(members.cell(1, 6).text, QStringLiteral("7.90035"));
    QCOMPARE(members.cell(38, 6).text, QStringLiteral("7.89766"));
}

QTEST_MAIN(ValuesShownTest)
#include "ValuesShownTest.moc"
