// report: the calculation pages of a truss file, as a PDF; given a design,
// with its pages.
#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>

#include "report/CalculationPages.h"
#include "report/LoadCasePages.h"
#include "tools/kvrtool/DesignOptions.h"
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
                       "summary, the node and member tables with their results; with --code and a --section for every group, "
                       "the design of its members step by step and the deflection against a limit. Exit status 3: a member "
                       "does not hold or is not checked (the pages are written and say so)."),
        QStringLiteral(
            "FILE -o CALC.pdf [--paper a4|letter] [--code en1993|aisc360 --section GROUP=DESIGNATION... [--steel GRADE] "
            "[--out-of-plane GROUP=METRES...] [--gamma-m0 X] [--gamma-m1 X] [--deflection-limit N] | --design D.toml]"),
        [] {
            std::vector<OptionForm> options{
                {{QStringLiteral("o"), QStringLiteral("output")},
                 QStringLiteral("PDF"),
                 QStringLiteral("The PDF file to write.")},
                {{QStringLiteral("paper")},
                 QStringLiteral("SIZE"),
                 QStringLiteral("a4 or letter; without it, Letter where the locale uses it, A4 elsewhere.")}};
            for (const OptionForm& option : designOptionForms())
                options.push_back(option);
            options.push_back(
                {{QStringLiteral("deflection-limit")},
                 QStringLiteral("N"),
                 QStringLiteral("With --code: the largest vertical deflection the span L allows is L/N (default 300).")});
            options.push_back(designFileOption(
                QStringLiteral("A design file (TOML) giving the code, sections and load cases: the pages of its cases, "
                               "combinations, the members' design for them and the deflection.")));
            return options;
        }()};
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
        bool unreadable = false;
        const std::optional<DesignFile> file = designFileOf(parser, err, unreadable);
        if (unreadable)
            return kvrExit::failed;
        for (const char* option : {"code", "steel", "section", "out-of-plane", "gamma-m0", "gamma-m1", "deflection-limit"})
            if (file && parser.isSet(QLatin1String(option))) {
                err << "kvrtool: --" << option << ": the design file of --design gives the design; leave this option out\n";
                return kvrExit::failed;
            }
        // The design pages when a design option is given; then --code and every group's section too.
        std::optional<DesignRequest> design;
        if (const DesignWords words = designWordsOf(parser); words.given()) {
            const Result<AskedDesign> choice = readDesign(words);
            if (!choice.value) {
                err << "kvrtool: " << QString::fromStdString(choice.error) << '\n';
                return kvrExit::failed;
            }
            design = choice.value->request;
        }
        if (!hasTables(truss, err))
            return kvrExit::failed;
        const TrussStudy study = studyTruss(truss);
        int status = kvrExit::ok;
        std::optional<DesignFileStudy> cases;
        if (file && study.solution) {
            Result<DesignFileStudy> studied = studyDesignFile(*file, truss);
            if (!studied.value) {
                err << "kvrtool: " << QString::fromStdString(studied.error) << '\n';
                return kvrExit::failed;
            }
            cases = std::move(studied.value);
            status = cases->envelope.envelope.design.allHold() ? kvrExit::ok : kvrExit::notHolding;
        }
        if (design && study.solution) {
            const Result<TrussDesign> checked = designTruss(truss, *study.solution, design->sections, design->settings);
            if (!checked.value) {
                err << "kvrtool: " << QString::fromStdString(checked.error) << '\n';
                return kvrExit::failed;
            }
            status = checked.value->allHold() ? kvrExit::ok : kvrExit::notHolding;
        }
        const PageHeader header{QFileInfo(parser.positionalArguments().constFirst()).fileName(),
                                QDate::currentDate().toString(Qt::ISODate),
                                QStringLiteral("kvrtool ") + QString::fromLatin1(ambrellVersion::text)};
        if (!writeOrReport(pdf,
                           cases ? calculationPdf(study, header, *paper, *cases) : calculationPdf(study, header, *paper, design),
                           err, "the pages"))
            return kvrExit::notWritten;
        out << "wrote " << pdf << '\n';
        if (!study.solution) {
            err << "kvrtool: " << QString::fromStdString(study.refusal) << '\n';
            return kvrExit::failed;
        }
        return status;
    });
}
