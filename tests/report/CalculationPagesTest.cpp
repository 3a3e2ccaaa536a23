// The calculation pages, read back from the PDF as a reader's tools read it.
#include <QtTest>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include "drawing/DrawingKey.h"
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

QString pdfText(const QString& pdf) { return run(PDFTOTEXT, {QStringLiteral("-layout"), pdf, QStringLiteral("-")}); }

// The share of the rows of pixels of the page that show a member in the
// colour of its force: how much of the page the truss itself takes.
double shareDrawn(const QString& pdf, int page, const std::vector<QColor>& colours)
{
    const QString png = pdf + QStringLiteral("-page");
    run(PDFTOPPM, {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), QStringLiteral("-r"),
                   QStringLiteral("50"), QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, png});
    const QImage image(png + QStringLiteral(".png"));
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
        bool coloured = false;
        for (int x = 0; x < image.width() && !coloured; ++x)
            for (const QColor& c : colours) {
                const QColor p = image.pixelColor(x, y);
                coloured = coloured
                           || std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue()) < 60;
            }
        drawn += coloured ? 1 : 0;
    }
    return image.height() > 0 ? double(drawn) / image.height() : 0.0;
}

}  // namespace

class CalculationPagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void pagesHoldTheSummaryAndEveryMembersForce();
    void aLongTrussIsDrawnHighEnough_data();
    void aLongTrussIsDrawnHighEnough();
    void designPagesShowTheGoverningStepsAndTheCsvsUtilisations_data();
    void designPagesShowTheGoverningStepsAndTheCsvsUtilisations();
    void designFilePagesShowItsCasesCombinationsEnvelopeAndDeflection_data();
    void designFilePagesShowItsCasesCombinationsEnvelopeAndDeflection();
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
    const QString text = pdfText(pdf);
    const QString pages = run(PDFINFO, {pdf}).section(QStringLiteral("Pages:"), 1).section(u'\n', 0, 0).trimmed();

    const TrussStudy study = studyTruss(*readTrussFile(truss.toStdString()).value);
    QVERIFY(study.solution);
    for (const SummaryLine& line : summaryOf(study))
        QVERIFY2(flat(text).contains(flat(line.label + QStringLiteral(": ") + line.value)), qPrintable(line.label));
    QCOMPARE(text.count(QStringLiteral("page ")), pages.toInt());
    QVERIFY(text.contains(QStringLiteral("roof.kvr")) && text.contains(QStringLiteral("page 1 of ") + pages));
    QVERIFY(!text.contains(QStringLiteral("Design of the members")));
    // Every column head whole, apart from its neighbours.
    for (const auto kind : {ResultTable::Kind::Nodes, ResultTable::Kind::Members})
        for (const QString& head : ResultTable::headsOf(kind))
            QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\s%1(\\s|$)").arg(QRegularExpression::escape(head)))),
                     qPrintable(head));
    // Each member's row, read across the page, ends in its force and stress.
    const ResultTable members(study, ResultTable::Kind::Members);
    QVERIFY(members.rows() > 150);
    for (int r = 0; r < members.rows(); ++r) {
        const QString row = members.rowTexts(r).join(QStringLiteral(" "));
        QVERIFY2(flat(text).contains(row), qPrintable(row));
    }
}

// Drawn across the page, a truss 100 times as long as it is high would be a
// strip a few points high; its drawing must take a fair share of page 1.
void CalculationPagesTest::aLongTrussIsDrawnHighEnough_data()
{
    QTest::addColumn<QString>("span");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("panels");
    QTest::newRow("200 panels, 200 m by 2 m") << "200" << "2" << "200";
    QTest::newRow("40 panels, 24 m by 3 m") << "24" << "3" << "40";
}

void CalculationPagesTest::aLongTrussIsDrawnHighEnough()
{
    QFETCH(QString, span);
    QFETCH(QString, height);
    QFETCH(QString, panels);
    const QString file = dir.filePath(QStringLiteral("long.kvr")), pdf = dir.filePath(QStringLiteral("long.pdf"));
    QCOMPARE(kvrtoolStatus({QStringLiteral("generate"), QStringLiteral("--span"), span, QStringLiteral("--height"), height,
                            QStringLiteral("--panels"), panels, QStringLiteral("--area"), QStringLiteral("2000"),
                            QStringLiteral("-e"), QStringLiteral("210"), QStringLiteral("--udl"), QStringLiteral("10"),
                            QStringLiteral("-o"), file}),
             kvrExit::ok);
    QCOMPARE(kvrtoolStatus({QStringLiteral("report"), file, QStringLiteral("-o"), pdf}), kvrExit::ok);
    const TrussStudy study = studyTruss(*readTrussFile(file.toStdString()).value);
    const MemberLooks looks(study.truss, study.forces());
    const std::vector<QColor> forces{looks.of(extremeMember(*study.solution, 1)).color,
                                     looks.of(extremeMember(*study.solution, -1)).color};
    const double share = shareDrawn(pdf, 1, forces);
    QVERIFY2(share >= 0.2, qPrintable(QString::number(share)));
    QVERIFY(flat(pdfText(pdf)).contains(QStringLiteral("Summary span: %1 m").arg(span)));
}

// The 4-panel truss of kvrtool design's tests, whose forces statics gives:
// the pages work out the governing member of each group, and their table
// has the utilisations design --csv prints, row for row.
void CalculationPagesTest::designPagesShowTheGoverningStepsAndTheCsvsUtilisations_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("shown");  // on the pages; on the standard error for status 1
    const QStringList en{"--code",    "en1993",          "--section", "top=SHS 100x100x5", "--section", "bottom=SHS 60x60x4",
                         "--section", "web=SHS 60x60x4"};
    const QStringList aisc{"--code",    "aisc360",       "--section", "top=HSS4x4x1/4", "--section", "bottom=HSS3x3x1/4",
                           "--section", "web=HSS3x3x1/4"};
    QTest::newRow("EN 1993-1-1, every member holds")
        << en + QStringList{"--out-of-plane", "top=4"} << kvrExit::ok
        << QStringList{"top chord: member 6, SHS 100x100x5", "Table 5.2", "Class 1", "6.2.4 (6.10): Nc,Rd = A fy / γM0",
                       "λ̄ = Lcr / (iz λ1) = 4000 / (38.62 × 76.41) = 1.355 (6.50)", "Φ = 0.5 [1 + α (λ̄ - 0.2) + λ̄²] =",
                       "χ = 1 / (Φ + √(Φ² - λ̄²)) =", "(6.49)", "Nb,z,Rd = χ A fy / γM1", "(6.47)", "Table 6.2",
                       "diagonals: member 14", "6.2.3 (6.6): Npl,Rd = A fy / γM0", "verdict: every member holds",
                       "limit L/300 = 8000 mm / 300 = 26.67 mm", "≤ 26.67 mm, holds"};
    QTest::newRow("EN 1993-1-1, a top chord restrained every 6 m does not hold")
        << en + QStringList{"--out-of-plane", "top=6", "--deflection-limit", "1000"} << kvrExit::notHolding
        << QStringList{"Nb,z,Rd = χ A fy / γM1", "does NOT hold", "verdict: 4 of 17 members do not hold: 5, 6, 7, 8",
                       "limit L/1000 = 8000 mm / 1000 = 8 mm", "> 8 mm, does NOT hold"};
    QTest::newRow("AISC 360-16") << aisc << kvrExit::ok
                                 << QStringList{"Table B4.1a case 6", "Fe = π² E / (Lc/r)² =", "(E3-4)", "Fcr = 0.658^(Fy / Fe) Fy =",
                                                "(E3-2)", "φc Pn = 0.9 ×", "(E3-1)", "φt Pn = 0.9 Fy Ag", "(D2-1)", "(D2-2)",
                                                "E2: Lc/r =", "D1: L/r ="};
    QTest::newRow("a design option without --code") << QStringList{"--section", "top=SHS 100x100x5"} << kvrExit::failed
                                                     << QStringList{"--code is missing: en1993 or aisc360"};
    QTest::newRow("a group without a section") << en.mid(0, 6) << kvrExit::failed << QStringList{"no section for the verticals"};
    QTest::newRow("a deflection limit of 0") << en + QStringList{"--deflection-limit", "0"} << kvrExit::failed
                                             << QStringList{"--deflection-limit: expected a number greater than 0, got '0'"};
}

void CalculationPagesTest::designPagesShowTheGoverningStepsAndTheCsvsUtilisations()
{
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QStringList, shown);
    const QString file = dir.filePath(QStringLiteral("four.kvr")), pdf = dir.filePath(QStringLiteral("design.pdf"));
    QFile::remove(pdf);
    QCOMPARE(kvrtoolStatus({QStringLiteral("generate"), QStringLiteral("--span"), QStringLiteral("8"), QStringLiteral("--height"),
                            QStringLiteral("1.5"), QStringLiteral("--panels"), QStringLiteral("4"), QStringLiteral("--area"),
                            QStringLiteral("1000"), QStringLiteral("-e"), QStringLiteral("210"), QStringLiteral("--point-load"),
                            QStringLiteral("100"), QStringLiteral("-o"), file}),
             kvrExit::ok);
    const ToolRun report = kvrtool(QStringList{QStringLiteral("report"), file, QStringLiteral("-o"), pdf} + options);
    QCOMPARE(report.status, status);
    if (status == kvrExit::failed) {
        QVERIFY(!QFile::exists(pdf));
        for (const QString& words : shown)
            QVERIFY2(report.err.contains(words), qPrintable(report.err));
        return;
    }
    const QString text = flat(pdfText(pdf));
    for (const QString& words : shown)
        QVERIFY2(text.contains(words), qPrintable(words));
    const QStringList designOptions = options.mid(0, options.indexOf(QStringLiteral("--deflection-limit")));  // report's own
    const ToolRun csv = kvrtool(QStringList{QStringLiteral("design"), file, QStringLiteral("--csv")} + designOptions);
    QCOMPARE(csv.status, status);
    const QStringList rows = csv.out.split(u'\n', Qt::SkipEmptyParts).mid(1);
    QCOMPARE(rows.size(), 17);
    for (const QString& row : rows)
        QVERIFY2(text.contains(row.split(u',').join(u' ')), qPrintable(row));
    // Each group's governing member: its steps end in the utilisation of its row.
    for (const int member : {6, 2, 9, 14}) {
        const QStringList fields = rows[member - 1].split(u',');
        const QString force = fields[4].startsWith(u'-') ? fields[4].mid(1) : fields[4];
        QVERIFY2(text.contains(QStringLiteral("|force| / resistance = %1 / %2 = %3").arg(force, fields[5], fields[6])),
                 qPrintable(rows[member - 1]));
    }
}

// The pages of a design file on the 4-panel truss: each case by name, the
// combinations as design --list-combinations lists them, every member's row
// of design --design --csv with its governing combination, and the largest
// deflection of the serviceability combinations as solve gives it for the
// combination the pages name.
void CalculationPagesTest::designFilePagesShowItsCasesCombinationsEnvelopeAndDeflection_data()
{
    QTest::addColumn<QString>("toml");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("shown");  // on the pages; on the standard error where the report is refused
    const QString en = QStringLiteral(R"(code = "en1993"
[sections]
top = "SHS 100x100x5"
bottom = "SHS 60x60x4"
web = "SHS 60x60x4"
[[case]]
name = "G"
kind = "permanent"
self_weight = true
udl_top = -3
[[case]]
name = "Q"
kind = "imposed"
category = "A"
udl_top = -5
[[case]]
name = "W_left"
kind = "wind"
udl_top = 4
loads = [ { node = 6, fx = 4 } ]
)");
    const QString aisc = QStringLiteral(R"(code = "aisc360"
deflection_limit = 360
[sections]
top = "HSS4x4x1/4"
bottom = "HSS3x3x1/4"
web = "HSS3x3x1/4"
[[case]]
name = "D"
kind = "dead"
udl_top = -3
[[case]]
name = "L"
kind = "live"
udl_top = -5
)");
    QTest::newRow("EN 1990") << en << QStringList{}
                             << QStringList{"Case G: permanent",
                                            "self-weight: ΣFy =",
                                            "Case Q: imposed, category A, ψ0 = 0.7 (EN 1990 Table A1.1)",
                                            "Case W_left: wind, ψ0 = 0.6",
                                            "node 6: fx = 4 kN, fy = 0 kN",
                                            "node loads 32 kN up, 4 kN to the right, in all on 5 nodes",
                                            "Table A1.2(B)",
                                            "6.14b",
                                            "limit L/300 (deflection_limit of design.toml) = 8000 mm / 300 = 26.67 mm"};
    QTest::newRow("ASCE 7-16") << aisc << QStringList{}
                               << QStringList{"Case D: dead",
                                              "Case L: live",
                                              "ASCE 7-16 2.3.1, strength (ULS)",
                                              "ASCE 7-16 Appendix C",
                                              "AISC 360-16 (LRFD) for the strength combinations",
                                              "limit L/360 (deflection_limit of design.toml)"};
    QTest::newRow("--design beside --code") << en << QStringList{"--code", "en1993"}
                                            << QStringList{
                                                   "--code: the design file of --design gives the design; leave this option out"};
    QTest::newRow("--design beside --deflection-limit")
        << en << QStringList{"--deflection-limit", "200"}
        << QStringList{"--deflection-limit: the design file of --design gives the design; leave this option out"};
}

void CalculationPagesTest::designFilePagesShowItsCasesCombinationsEnvelopeAndDeflection()
{
    QFETCH(QString, toml);
    QFETCH(QStringList, options);
    QFETCH(QStringList, shown);
    const QString file = dir.filePath(QStringLiteral("four.kvr")), pdf = dir.filePath(QStringLiteral("cases.pdf"));
    const QString design = dir.filePath(QStringLiteral("design.toml"));
    QFile::remove(pdf);
    QFile written(design);
    QVERIFY(written.open(QIODevice::WriteOnly) && written.write(toml.toUtf8()) == toml.toUtf8().size());
    written.close();
    QCOMPARE(kvrtoolStatus({QStringLiteral("generate"), QStringLiteral("--span"), QStringLiteral("8"), QStringLiteral("--height"),
                            QStringLiteral("1.5"), QStringLiteral("--panels"), QStringLiteral("4"), QStringLiteral("--area"),
                            QStringLiteral("1000"), QStringLiteral("-e"), QStringLiteral("210"), QStringLiteral("--point-load"),
                            QStringLiteral("100"), QStringLiteral("-o"), file}),
             kvrExit::ok);
    const QStringList withDesign{file, QStringLiteral("--design"), design};
    const ToolRun report =
        kvrtool(QStringList{QStringLiteral("report")} + withDesign + QStringList{QStringLiteral("-o"), pdf} + options);
    if (!options.isEmpty()) {
        QCOMPARE(report.status, kvrExit::failed);
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(report.err, QStringLiteral("kvrtool: ") + shown.constFirst() + u'\n');
        return;
    }
    const QString text = flat(pdfText(pdf));
    for (const QString& words : shown)
        QVERIFY2(text.contains(words), qPrintable(words));

    const ToolRun listed =
        kvrtool(QStringList{QStringLiteral("design")} + withDesign + QStringList{QStringLiteral("--list-combinations")});
    QCOMPARE(listed.status, kvrExit::ok);
    for (const QString& line : listed.out.split(u'\n', Qt::SkipEmptyParts))
        QVERIFY2(
            text.contains(flat(line) + (line.startsWith(QLatin1String("SLS")) ? QStringLiteral(" SLS") : QStringLiteral(" ULS"))),
            qPrintable(line));
    const ToolRun csv = kvrtool(QStringList{QStringLiteral("design")} + withDesign + QStringList{QStringLiteral("--csv")});
    QCOMPARE(report.status, csv.status);
    const QStringList rows = csv.out.split(u'\n', Qt::SkipEmptyParts).mid(1);
    QCOMPARE(rows.size(), 17);
    for (const QString& row : rows)
        QVERIFY2(text.contains(row.split(u',').join(u' ')), qPrintable(row));

    const QRegularExpressionMatch sls =
        QRegularExpression(QStringLiteral("largest vertical deflection of the serviceability combinations: (\\S+ mm \\S+ at node "
                                          "\\d+) under (SLS \\d+): [^,]*, (L/\\d+)"))
            .match(text);
    QVERIFY2(sls.hasMatch(), qPrintable(text));
    const ToolRun solved = kvrtool(QStringList{QStringLiteral("solve")} + withDesign
                                   + QStringList{QStringLiteral("--combination"), sls.captured(2)});
    QVERIFY2(solved.out.contains(
                 QStringLiteral("largest vertical deflection: %1, %2 of the span").arg(sls.captured(1), sls.captured(3))),
             qPrintable(solved.out));
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
