// solve: member forces, support reactions and displacements of a truss file.
#include <QCommandLineParser>

#include "analysis/TrussSolver.h"
#include "report/SolveText.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

const CommandForm& solveForm()
{
    static const CommandForm form{
        QStringLiteral("solve"),
        QStringLiteral("Solve the truss of a file, linear elastic: displacements (mm), reactions (kN), member forces (kN, "
                       "tension positive) and stresses (N/mm2)."),
        QStringLiteral("FILE [--csv]"),
        {{{QStringLiteral("csv")}, {},
          QStringLiteral("Print two CSV tables: node,ux_mm,uy_mm,rx_kN,ry_kN and member,force_kN,stress_MPa.")}}};
    return form;
}

std::optional<TrussSolution> solvedOrRefused(const TrussFileContent& truss, QTextStream& err)
{
    TrussAnalysis analysis = solveTruss(truss);
    if (!analysis.value)
        err << "kvrtool: " << QString::fromStdString(analysis.error) << '\n';
    return std::move(analysis.value);
}

int solveCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    return runOnFile(solveForm(), arguments, out, err, [&](const QCommandLineParser& parser, const TrussFileContent& truss) {
        const std::optional<TrussSolution> solution = solvedOrRefused(truss, err);
        if (!solution)
            return kvrExit::failed;
        if (parser.isSet(QStringLiteral("csv"))) {
            out << solutionCsv(truss, *solution);
            if (const QString warning = largeDisplacementWarning(truss, *solution); !warning.isEmpty())
                err << "kvrtool: " << warning << '\n';
        } else {
            out << solutionSummaryText(truss, *solution) << solutionTablesText(truss, *solution);
        }
        return kvrExit::ok;
    });
}
