// solve: member forces, support reactions and displacements of a truss file.
#include <algorithm>
#include <cmath>

#include <QCommandLineParser>

#include "analysis/Deflection.h"
#include "analysis/TrussSolver.h"
#include "kvrfile/NumberText.h"
#include "report/ResultText.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"
#include "tools/kvrtool/TextTable.h"

namespace {

// Every number solve prints: an exact half rounds away from zero.
QString number(double value, int digits)
{
    return QString::fromStdString(formatSignificant(value, digits, Halves::AwayFromZero));
}

// A number to the digits its accuracy vouches for, and no more than
// digits: down to the place of its error, the last one uncertain by that
// error. A value within its error is shown as 0: it is the rounding of the
// solution.
QString vouched(double value, double error, int digits)
{
    if (!(std::fabs(value) > error))
        return QStringLiteral("0");
    if (error > 0)
        digits = std::clamp(int(std::floor(std::log10(std::fabs(value))) - std::floor(std::log10(error))) + 1, 1, digits);
    return number(value, digits);
}

constexpr int textDigits = 6;
constexpr int csvDigits = 17;  // all a double holds

// Two digits, for tolerances and error estimates: 6e-8, not 6e-08.
QString rounded(double value)
{
    return number(value, 2).replace(QLatin1String("e-0"), QLatin1String("e-")).replace(QLatin1String("e+0"), QLatin1String("e+"));
}

double millimetres(double metres) { return metres * millimetresPerMetre; }

class Report {
public:
    Report(const TrussFileContent& truss, const TrussSolution& solution, QTextStream& out)
        : t(truss), s(solution), out(out), deflection(deflectionOf(truss, solution))
    {
    }

    void summary()
    {
        out << "solved: " << t.noNodes << " nodes, " << t.noMembers << " members, " << s.unknowns
            << " unknown displacements; linear elastic, small displacements\n";
        largestDeflection();
        reactions();
        extremeMember(+1, "most tension");
        extremeMember(-1, "most compression");
        out << "equilibrium residual: " << resultText::equilibriumResidual(s) << '\n';
        const Accuracy& a = s.accuracy;
        out << "accuracy: displacements within " << rounded(millimetres(a.displacement)) << " mm, reactions within "
            << rounded(a.reaction) << " kN, forces within " << rounded(a.force) << " kN, stresses within " << rounded(a.stress)
            << " N/mm2 (factorised in " << QString::fromStdString(arithmeticName(s.arithmetic)) << ")\n";
        if (deflection.beyondSmallDisplacements())
            out << largeDisplacementWarning() << '\n';
    }

    // Said on its own where the summary is not printed.
    QString largeDisplacementWarning() const
    {
        if (!deflection.beyondSmallDisplacements())
            return {};
        return QStringLiteral("warning: the largest displacement, %1 mm at node %2, is more than %3 % of the truss's size "
                              "(%4 m): small-displacement theory does not hold, and these are the numbers of a linear analysis")
            .arg(shownDisplacement(deflection.largest))
            .arg(deflection.largestAt)
            .arg(Deflection::smallShare * 100)
            .arg(number(deflection.size, textDigits));
    }

    void tables()
    {
        const auto nodeLine = [&](const QStringList& cells) { out << tableLine(cells, {6, 14, 14, 14}); };
        out << "\nnodes\n";
        nodeLine({QStringLiteral("node"), QStringLiteral("ux (mm)"), QStringLiteral("uy (mm)"), QStringLiteral("rx (kN)"),
                  QStringLiteral("ry (kN)")});
        for (int n = 1; n <= t.noNodes; ++n) {
            const NodeResult& r = s.nodes[static_cast<std::size_t>(n)];
            nodeLine({QString::number(n), shownDisplacement(r.ux), shownDisplacement(r.uy), shownReaction(r.rx),
                      shownReaction(r.ry)});
        }
        const auto memberLine = [&](const QStringList& cells) { out << tableLine(cells, {6, 14}); };
        out << "\nmembers\n";
        memberLine({QStringLiteral("member"), QStringLiteral("force (kN)"), QStringLiteral("stress (N/mm2)")});
        for (int m = 1; m <= t.noMembers; ++m) {
            const MemberResult& r = s.members[static_cast<std::size_t>(m)];
            memberLine({QString::number(m), shownForce(r.force), shownStress(m)});
        }
    }

    void csv()
    {
        const Accuracy& a = s.accuracy;
        out << "node,ux_mm,uy_mm,rx_kN,ry_kN\n";
        for (int n = 1; n <= t.noNodes; ++n) {
            const NodeResult& r = s.nodes[static_cast<std::size_t>(n)];
            const double moved = millimetres(a.displacement);
            out << n << ',' << vouched(millimetres(r.ux), moved, csvDigits) << ',' << vouched(millimetres(r.uy), moved, csvDigits)
                << ',' << vouched(r.rx, a.reaction, csvDigits) << ',' << vouched(r.ry, a.reaction, csvDigits) << '\n';
        }
        out << "\nmember,force_kN,stress_MPa\n";
        for (int m = 1; m <= t.noMembers; ++m) {
            const MemberResult& r = s.members[static_cast<std::size_t>(m)];
            out << m << ',' << vouched(r.force, a.force, csvDigits) << ',' << vouched(r.stress, stressAccuracy(m), csvDigits) << '\n';
        }
    }

private:
    QString shownDisplacement(double metres) const
    {
        return vouched(millimetres(metres), millimetres(s.accuracy.displacement), textDigits);
    }
    QString shownReaction(double kilonewtons) const { return vouched(kilonewtons, s.accuracy.reaction, textDigits); }
    QString shownForce(double kilonewtons) const { return vouched(kilonewtons, s.accuracy.force, textDigits); }
    double stressAccuracy(int m) const { return ::stressAccuracy(s, m, t.member(m, MemberColumn::A)); }
    QString shownStress(int m) const { return vouched(s.members[static_cast<std::size_t>(m)].stress, stressAccuracy(m), textDigits); }

    void largestDeflection()
    {
        const NodeResult& r = s.nodes[static_cast<std::size_t>(deflection.largestAt)];
        out << "largest deflection: " << shownDisplacement(deflection.largest) << " mm at node " << deflection.largestAt
            << " (ux " << shownDisplacement(r.ux) << " mm, uy " << shownDisplacement(r.uy) << " mm)\n";
        const bool deflects = std::fabs(deflection.vertical) > s.accuracy.displacement;
        out << "largest vertical deflection: " << shownDisplacement(std::fabs(deflection.vertical)) << " mm"
            << (!deflects ? "" : deflection.vertical < 0 ? " downwards" : " upwards") << " at node " << deflection.verticalAt;
        if (const double ratio = deflection.spanRatio(); ratio > 0 && deflects)
            out << ", L/" << (ratio >= 10 ? QString::number(std::floor(ratio), 'f', 0) : number(ratio, 2))
                << " of the span L = " << number(deflection.span, textDigits) << " m between the supports";
        out << '\n';
    }

    void reactions()
    {
        QStringList held;
        for (int n = 1; n <= t.noNodes; ++n) {
            const float code = t.node(n, NodeColumn::Support);
            const NodeResult& r = s.nodes[static_cast<std::size_t>(n)];
            const QLatin1String name(SupportCode::nameOf(code));
            if (code == SupportCode::Pin)
                held << QStringLiteral("node %1 (%2) rx %3 kN, ry %4 kN").arg(n).arg(name, shownReaction(r.rx), shownReaction(r.ry));
            else if (code == SupportCode::Roller)
                held << QStringLiteral("node %1 (%2) ry %3 kN").arg(n).arg(name, shownReaction(r.ry));
        }
        out << "reactions: " << held.join(QStringLiteral("; ")) << '\n';
    }

    // The member whose force, times sign, is the largest positive one
    // beyond the forces' accuracy.
    void extremeMember(int sign, const char* title)
    {
        int at = 0;
        double most = s.accuracy.force;
        for (int m = 1; m <= t.noMembers; ++m)
            if (sign * s.members[std::size_t(m)].force > most) {
                at = m;
                most = sign * s.members[std::size_t(m)].force;
            }
        out << title << ": ";
        if (at == 0) {
            out << "none\n";
            return;
        }
        const MemberResult& r = s.members[static_cast<std::size_t>(at)];
        out << "member " << at << ", " << shownForce(r.force) << " kN, " << shownStress(at) << " N/mm2\n";
    }

    const TrussFileContent& t;
    const TrussSolution& s;
    QTextStream& out;
    const Deflection deflection;
};

}  // namespace

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
        Report report(truss, *solution, out);
        if (parser.isSet(QStringLiteral("csv"))) {
            report.csv();
            if (const QString warning = report.largeDisplacementWarning(); !warning.isEmpty())
                err << "kvrtool: " << warning << '\n';
        } else {
            report.summary();
            report.tables();
        }
        return kvrExit::ok;
    });
}
