// The calculation pages, read back from the PDF as a reader's tools read it.
#include <QtTest>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include "kvrfile/TrussFileReader.h"
#include "report/CalculationPages.h"
#include "report/ResultTables.h"
#include "report/TrussSummary.h"
#include "KvrtoolRun.h"

namespace {

int kvrtoolStatus(const QStringList& arguments)
{
    const ToolRun run = kvrtool(arguments);
    if (!run.err.isEmpty())
        qInfo("kvrtool: %s", qPrintable(run.err));
    return run.status;
}

QString run(const char* program, const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromLocal8Bit(program), arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every run of blanks as one: where the text wraps on the page is no matter.
QString flat(QString text) { return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")); }

}  // namespace

class CalculationPagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void pagesHoldTheSummaryAndEveryMembersForce();
    void pagesHaveThePaperAsked_data();
    void pagesHaveThePaperAsked();
    void drawSizeIsThePngsLongerSide_data();
    void drawSizeIsThePngsLongerSide();

private:
    QTemporaryDir dir;
    QString truss;
};

void CalculationPagesTest::initTestCase()
{
    truss = dir.filePath(QStringLiteral("roof.kvr"));
    QCOMPARE(kvrtoolStatus({QStringLiteral("generate"), QStringLiteral("--span"), QStringLiteral("24"), QStringLiteral("--height"),
                      QStringLiteral("3"), QStringLiteral("--panels"), QStringLiteral("40"), QStringLiteral("--area"),
                      QStringLiteral("2000"), QStringLiteral("-e"), QStringLiteral("210"), QStringLiteral("--udl"),
                      QStringLiteral("10"), QStringLiteral("-o"), truss}),
             kvrExit::ok);
}

void CalculationPagesTest::pagesHoldTheSummaryAndEveryMembersForce()
{
    const QString pdf = dir.filePath(QStringLiteral("calc.pdf"));
    QCOMPARE(kvrtoolStatus({QStringLiteral("report"), truss, QStringLiteral("-o"), pdf}), kvrExit::ok);
    const QString text = run(PDFTOTEXT, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QString pages = run(PDFINFO, {pdf}).section(QStringLiteral("Pages:"), 1).section(u'\n', 0, 0).trimmed();

    const TrussStudy study = studyTruss(*readTrussFile(truss.toStdString()).value);
    QVERIFY(study.solution);
    for (const SummaryLine& line : summaryOf(study))
        QVERIFY2(flat(text).contains(flat(line.label + QStringLiteral(": ") + line.value)), qPrintable(line.label));
    QCOMPARE(text.count(QStringLiteral("page ")), pages.toInt());
    QVERIFY(text.contains(QStringLiteral("roof.kvr")) && text.contains(QStringLiteral("page 1 of ") + pages));
    // Each member's row, read across the page, ends in its force and stress.
    const ResultTable members(study, ResultTable::Kind::Members);
    QVERIFY(members.rows() > 150);
    for (int r = 0; r < members.rows(); ++r) {
        const QString row = members.rowTexts(r).join(QStringLiteral(" "));
        QVERIFY2(flat(text).contains(row), qPrintable(row));
    }
}

void CalculationPagesTest::pagesHaveThePaperAsked_data()
{
    QTest::addColumn<QString>("paper");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("size");
    QTest::newRow("--paper a4 in the US") << "a4" << "en_US" << "595 x 842 pts (A4)";
    QTest::newRow("--paper letter in Germany") << "letter" << "de_DE" << "612 x 792 pts (letter)";
    QTest::newRow("the locale's: US") << "" << "en_US" << "612 x 792 pts (letter)";
    QTest::newRow("the locale's: Canada") << "" << "fr_CA" << "612 x 792 pts (letter)";
    QTest::newRow("the locale's: Germany") << "" << "de_DE" << "595 x 842 pts (A4)";
    QTest::newRow("the locale's: Britain") << "" << "en_GB" << "595 x 842 pts (A4)";
}

void CalculationPagesTest::pagesHaveThePaperAsked()
{
    QFETCH(QString, paper);
    QFETCH(QString, locale);
    QFETCH(QString, size);
    QLocale::setDefault(QLocale(locale));
    const QString pdf = dir.filePath(QStringLiteral("paper.pdf"));
    QStringList arguments{QStringLiteral("report"), truss, QStringLiteral("-o"), pdf};
    if (!paper.isEmpty())
        arguments << QStringLiteral("--paper") << paper;
    QCOMPARE(kvrtoolStatus(arguments), kvrExit::ok);
    const QString info = run(PDFINFO, {pdf});
    QVERIFY2(flat(info).contains(QStringLiteral("Page size: ") + size), qPrintable(info));
}

void CalculationPagesTest::drawSizeIsThePngsLongerSide_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("width");
    QTest::newRow("128") << "128" << "thumbnail.png" << kvrExit::ok << 128;
    QTest::newRow("512") << "512" << "thumbnail.png" << kvrExit::ok << 512;
    QTest::newRow("a PNG under a name of the file manager's") << "256" << "thumbnail-Xa3k" << kvrExit::ok << 256;
    QTest::newRow("0 is refused") << "0" << "thumbnail.png" << kvrExit::failed << 0;
    QTest::newRow("a word is refused") << "big" << "thumbnail.png" << kvrExit::failed << 0;
    QTest::newRow("an SVG has no size") << "128" << "thumbnail.svg" << kvrExit::failed << 0;
}

void CalculationPagesTest::drawSizeIsThePngsLongerSide()
{
    QFETCH(QString, size);
    QFETCH(QString, name);
    QFETCH(int, status);
    QFETCH(int, width);
    const QString picture = dir.filePath(size + name);
    QCOMPARE(kvrtoolStatus({QStringLiteral("draw"), truss, QStringLiteral("-o"), picture, QStringLiteral("--size"), size}), status);
    const QImage image(picture, "PNG");
    QCOMPARE(image.width(), width);
    QVERIFY(image.height() <= width);
}

QTEST_MAIN(CalculationPagesTest)
#include "CalculationPagesTest.moc"
