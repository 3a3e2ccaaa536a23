// solve: member forces, support reactions and displacements of a truss file,
// under its own loads or a load case or combination of a design file.
#include <QCommandLineParser>

#include "analysis/TrussSolver.h"
#include "loads/DesignFileUse.h"
#include "report/LoadsText.h"
#include "report/SolveText.h"
#include "tools/kvrtool/DesignOptions.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

namespace {

void refuse(QTextStream& err, const std::string& why) { err << "kvrtool: " << QString::fromStdString(why) << '\n'; }

// The loads of --case or --combination, or why there are none.
Result<NodeForces> askedLoads(const QCommandLineParser& parser, const DesignFile& design, const TrussFileContent& truss)
{
    const bool isCase = parser.isSet(QStringLiteral("case")), isCombination = parser.isSet(QStringLiteral("combination"));
    if (isCase == isCombination)
        return {std::nullopt, "--design: give the loads to solve for, --case NAME or --combination TEXT (one of them)"};
    const std::string asked = parser.value(QLatin1String(isCase ? "case" : "combination")).toStdString();
    Result<NodeForces> loads = isCase ? caseLoadsNamed(design, truss, asked) : combinationLoads(design, truss, asked);
    if (!loads.value)
        loads.error = (isCase ? "--case: " : "--combination: ") + loads.error;
    return loads;
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
        refuse(err, analysis.error);
    return std::move(analysis.value);
}

int solveCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    return runOnFile(solveForm(), arguments, out, err, [&](const QCommandLineParser& parser, const TrussFileContent& truss) {
        bool refused = false;
        const std::optional<DesignFile> design = designFileOf(parser, err, refused);
        if (refused)
            return kvrExit::failed;
        if (!design && (parser.isSet(QStringLiteral("case")) || parser.isSet(QStringLiteral("combination")))) {
            refuse(err, parser.isSet(QStringLiteral("case")) ? "--case: give the design file with --design"
                                                              : "--combination: give the design file with --design");
            return kvrExit::failed;
        }
        std::optional<TrussSolution> solution;
        if (design) {
            const Result<NodeForces> loads = askedLoads(parser, *design, truss);
            if (!loads.value)
                return refuse(err, loads.error), kvrExit::failed;
            TrussAnalysis analysis = std::move(solveTruss(truss, std::span(&*loads.value, 1)).front());
            if (!analysis.value)
                return refuse(err, analysis.error), kvrExit::failed;
            solution = std::move(analysis.value);
        } else if (!(solution = solvedOrRefused(truss, err))) {
            return kvrExit::failed;
        }
        if (parser.isSet(QStringLiteral("csv"))) {
            out << solutionCsv(truss, *solution);
            if (const QString warning = largeDisplacementWarning(truss, *solution); !warning.isEmpty())
                err << "kvrtool: " << warning << '\n';
        } else {
            if (design) {
                const bool isCase = parser.isSet(QStringLiteral("case"));
                out << loadsText::loadsLine(*design, parser.value(QLatin1String(isCase ? "case" : "combination")), isCase);
            }
            out << solutionSummaryText(truss, *solution) << solutionTablesText(truss, *solution);
        }
        return kvrExit::ok;
    });
}
