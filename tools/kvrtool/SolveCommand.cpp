// solve: member forces, support reactions and displacements of a truss file,
// under its own loads or a load case or combination of a design file.
#include <QCommandLineParser>

#include "analysis/TrussSolver.h"
#include "report/LoadsText.h"
#include "report/SolveText.h"
#include "tools/kvrtool/DesignOptions.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

namespace {

std::optional<QString> valueOf(const QCommandLineParser& parser, const char* option)
{
    return parser.isSet(QLatin1String(option)) ? std::optional(parser.value(QLatin1String(option))) : std::nullopt;
}

}  // namespace

const CommandForm& solveForm()
{
    static const CommandForm form{
        QStringLiteral("solve"),
        QStringLiteral("Solve the truss of a file, linear elastic: displacements (mm), reactions (kN), member forces (kN, "
                       "tension positive) and stresses (N/mm2)."),
        QStringLiteral("FILE [--design D.toml --case NAME | --combination TEXT] [--csv]"),
        {{{QStringLiteral("csv")}, {},
          QStringLiteral("Print two CSV tables: node,ux_mm,uy_mm,rx_kN,ry_kN and member,force_kN,stress_MPa.")},
         designFileOption(QStringLiteral("A design file (TOML): solve for one of its load cases or combinations, not the "
                                         "file's loads.")),
         {{QStringLiteral("case")}, QStringLiteral("NAME"), QStringLiteral("With --design: the load case of this name.")},
         {{QStringLiteral("combination")}, QStringLiteral("TEXT"),
          QStringLiteral("With --design: a combination of its cases, \"1.35 G + 1.5 Q\", or a combination's name as "
                         "design --list-combinations gives it (\"ULS 3\").")}}};
    return form;
}

std::optional<TrussSolution> solvedOrRefused(const TrussFileContent& truss, QTextStream& err)
{
    TrussAnalysis analysis = solveTruss(truss);
    if (!analysis.value)
        failedBecause(err, analysis.error);
    return std::move(analysis.value);
}

int solveCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    return runOnFile(solveForm(), arguments, out, err, [&](const QCommandLineParser& parser, const TrussFileContent& truss) {
        bool unreadable = false;
        const std::optional<DesignFile> design = designFileOf(parser, err, unreadable);
        const loadsText::AskedLoads asked{valueOf(parser, "case"), valueOf(parser, "combination")};
        if (unreadable)
            return kvrExit::failed;
        if (!design && (asked.caseName || asked.combination))
            return failedBecause(err, asked.caseName ? QStringLiteral("--case: give the design file with --design")
                                                     : QStringLiteral("--combination: give the design file with --design"));
        const Result<loadsText::Loads> loads = design ? loadsText::loadsOf(*design, asked, truss) : Result<loadsText::Loads>{};
        if (design && !loads.value)
            return failedBecause(err, loads.error);
        TrussAnalysis analysis =
            design ? std::move(solveTruss(truss, std::span(&loads.value->forces, 1)).front()) : solveTruss(truss);
        if (!analysis.value)
            return failedBecause(err, analysis.error);
        const TrussSolution& solution = *analysis.value;
        if (parser.isSet(QStringLiteral("csv"))) {
            out << solutionCsv(truss, solution);
            if (const QString warning = largeDisplacementWarning(truss, solution); !warning.isEmpty())
                err << "kvrtool: " << warning << '\n';
        } else {
            out << (design ? loads.value->line : QString()) << solutionSummaryText(truss, solution)
                << solutionTablesText(truss, solution);
        }
        return kvrExit::ok;
    });
}
