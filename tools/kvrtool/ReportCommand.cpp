// report: the calculation pages of a truss file, as a PDF; given a design,
// with its pages.
#include <QCommandLineParser>

#include "report/CalculationPages.h"
#include "report/LoadCasePages.h"
#include "tools/kvrtool/DesignOptions.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

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
        if (!pdf.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            return failedBecause(err, QStringLiteral("-o: name a PDF file ending in .pdf"));
        // Without --paper, the locale's. A value given, even an empty one, must
        // name a paper: a mistyped one is not taken for the default.
        const std::variant<QPageSize, QString> paper =
            parser.isSet(QStringLiteral("paper")) ? paperNamed(parser.value(QStringLiteral("paper"))) : paperFor(QLocale());
        if (const QString* mistake = std::get_if<QString>(&paper))
            return failedBecause(err, *mistake);
        bool unreadable = false;
        const std::optional<DesignFile> file = designFileOf(parser, err, unreadable);
        if (unreadable)
            return kvrExit::failed;
        // The design pages when a design option is given; then --code and every group's section too.
        std::optional<DesignRequest> design;
        if (const DesignWords words = designWordsOf(parser); words.given()) {
            const Result<AskedDesign> choice = readDesign(words);
            if (!choice.value)
                return failedBecause(err, QString::fromStdString(choice.error));
            design = choice.value->request;
        }
        if (!hasTables(truss, err))
            return kvrExit::failed;
        const TrussStudy study = studyTruss(truss);
        int status = kvrExit::ok;
        std::optional<DesignFileStudy> cases;
        if (file && study.solution) {
            Result<DesignFileStudy> studied = studyDesignFile(*file, truss);
            if (!studied.value)
                return failedBecause(err, QString::fromStdString(studied.error));
            cases = std::move(studied.value);
            status = cases->envelope.envelope.design.allHold() ? kvrExit::ok : kvrExit::notHolding;
        }
        if (design && study.solution) {
            const Result<TrussDesign> checked = designTruss(truss, *study.solution, design->sections, design->settings);
            if (!checked.value)
                return failedBecause(err, QString::fromStdString(checked.error));
            status = checked.value->allHold() ? kvrExit::ok : kvrExit::notHolding;
        }
        const PageHeader header = pageHeaderFor(parser.positionalArguments().constFirst(), QStringLiteral("kvrtool"));
        const QPageSize& size = std::get<QPageSize>(paper);
        if (!writeOrReport(pdf, cases ? calculationPdf(study, header, size, *cases) : calculationPdf(study, header, size, design),
                           err, "the pages"))
            return kvrExit::notWritten;
        out << "wrote " << pdf << '\n';
        return study.solution ? status : failedBecause(err, QString::fromStdString(study.refusal));
    });
}
