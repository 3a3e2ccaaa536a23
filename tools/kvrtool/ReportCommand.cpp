// report: the calculation pages of a truss file, as a PDF.
#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>

#include "report/CalculationPages.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"
#include "version/Version.h"

namespace {

// The paper --paper names; without it, the locale's. A value given, even an
// empty one, must name a paper: a mistyped one is not taken for the default.
std::optional<QPageSize> paperOf(const QCommandLineParser& parser)
{
    if (!parser.isSet(QStringLiteral("paper")))
        return paperFor(QLocale());
    const QString name = parser.value(QStringLiteral("paper"));
    if (name.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::A4);
    if (name.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::Letter);
    return std::nullopt;
}

}  // namespace

const CommandForm& reportForm()
{
    static const CommandForm form{
        QStringLiteral("report"),
        QStringLiteral("Write the calculation pages of a truss file as a PDF: the drawing with the member forces, the "
                       "summary, the node and member tables with their results."),
        QStringLiteral("FILE -o CALC.pdf [--paper a4|letter]"),
        {{{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("PDF"), QStringLiteral("The PDF file to write.")},
         {{QStringLiteral("paper")}, QStringLiteral("SIZE"),
          QStringLiteral("a4 or letter; without it, Letter where the locale uses it, A4 elsewhere.")}}};
    return form;
}

int reportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    return runOnFile(reportForm(), arguments, out, err, [&](const QCommandLineParser& parser, const TrussFileContent& truss) {
        const QString pdf = parser.value(QStringLiteral("output"));
        if (!pdf.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
            err << "kvrtool: -o: name a PDF file ending in .pdf\n";
            return kvrExit::failed;
        }
        const std::optional<QPageSize> paper = paperOf(parser);
        if (!paper) {
            err << "kvrtool: --paper: expected a4 or letter, got '" << parser.value(QStringLiteral("paper")) << "'\n";
            return kvrExit::failed;
        }
        if (!hasTables(truss, err))
            return kvrExit::failed;
        const TrussStudy study = studyTruss(truss);
        const PageHeader header{QFileInfo(parser.positionalArguments().constFirst()).fileName(),
                                QDate::currentDate().toString(Qt::ISODate),
                                QStringLiteral("kvrtool ") + QString::fromLatin1(ambrellVersion::text)};
        if (!writeOrReport(pdf, calculationPdf(study, header, *paper), err, "the pages"))
            return kvrExit::notWritten;
        out << "wrote " << pdf << '\n';
        if (!study.solution) {
            err << "kvrtool: " << QString::fromStdString(study.refusal) << '\n';
            return kvrExit::failed;
        }
        return kvrExit::ok;
    });
}
