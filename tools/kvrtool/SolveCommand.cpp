// solve: member forces, support reactions and displacements of a truss file.
#include <algorithm>
#include <cmath>

#include <QCommandLineParser>

#include "analysis/TrussSolver.h"
#include "kvrfile/NumberText.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"
#include "tools/kvrtool/TextTable.h"

namespace {

// An exact half rounds away from zero; a zero is 0, whatever its sign.
QString text(double value, int digits)
{
    return QString::fromStdString(formatSignificant(value == 0.0 ? 0.0 : value, digits, Halves::AwayFromZero));
}

QString number(double value) { return text(value, 6); }

// The largest magnitude of each quantity: what is a billionth of it is the
// rounding of the solution, and the text shows it as 0.
struct Magnitudes {
    double displacement = 0, reaction = 0, force = 0, stress = 0;

    explicit Magnitudes(const TrussSolution& s)
    {
        for (const NodeResult& n : s.nodes) {
            displacement = std::max({displacement, std::fabs(n.ux), std::fabs(n.uy)});
            reaction = std::max({reaction, std::fabs(n.rx), std::fabs(n.ry)});
        }
        for (const MemberResult& m : s.members) {
            force = std::max(force, std::fabs(m.force));
            stress = std::max(stress, std::fabs(m.stress));
        }
    }
};

QString number(double value, double largest) { return number(std::fabs(value) <= 1e-9 * largest ? 0.0 : value); }

// CSV keeps every digit a reader may want to compare.
QString exact(double value) { return text(value, 12); }

double millimetres(double metres) { return metres * millimetresPerMetre; }

class Report {
public:
    Report(const TrussFileContent& truss, const TrussSolution& solution, QTextStream& out)
        : t(truss), s(solution), out(out), largest(solution)
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
        out << "equilibrium residual: " << number(s.residual) << " kN, the largest out-of-balance force at a free node\n";
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
            memberLine({QString::number(m), number(r.force, largest.force), number(r.stress, largest.stress)});
        }
    }

    void csv()
    {
        out << "node,ux_mm,uy_mm,rx_kN,ry_kN\n";
        for (int n = 1; n <= t.noNodes; ++n) {
            const NodeResult& r = s.nodes[static_cast<std::size_t>(n)];
            out << n << ',' << exact(millimetres(r.ux)) << ',' << exact(millimetres(r.uy)) << ',' << exact(r.rx) << ','
                << exact(r.ry) << '\n';
        }
        out << "\nmember,force_kN,stress_MPa\n";
        for (int m = 1; m <= t.noMembers; ++m) {
            const MemberResult& r = s.members[static_cast<std::size_t>(m)];
            out << m << ',' << exact(r.force) << ',' << exact(r.stress) << '\n';
        }
    }

private:
    QString shownDisplacement(double metres) const { return number(millimetres(metres), millimetres(largest.displacement)); }
    QString shownReaction(double kilonewtons) const { return number(kilonewtons, largest.reaction); }

    void largestDeflection()
    {
        int at = 1;
        const auto size = [&](int n) { return std::hypot(s.nodes[std::size_t(n)].ux, s.nodes[std::size_t(n)].uy); };
        for (int n = 2; n <= t.noNodes; ++n)
            if (size(n) > size(at))
                at = n;
        const NodeResult& r = s.nodes[static_cast<std::size_t>(at)];
        out << "largest deflection: " << number(millimetres(size(at))) << " mm at node " << at << " (ux "
            << shownDisplacement(r.ux) << " mm, uy " << shownDisplacement(r.uy) << " mm)\n";
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

    // The member whose force, times sign, is the largest positive one.
    void extremeMember(int sign, const char* title)
    {
        int at = 0;
        for (int m = 1; m <= t.noMembers; ++m)
            if (sign * s.members[std::size_t(m)].force > (at == 0 ? 0.0 : sign * s.members[std::size_t(at)].force))
                at = m;
        out << title << ": ";
        if (at == 0) {
            out << "none\n";
            return;
        }
        const MemberResult& r = s.members[static_cast<std::size_t>(at)];
        out << "member " << at << ", " << number(r.force) << " kN, " << number(r.stress) << " N/mm2\n";
    }

    const TrussFileContent& t;
    const TrussSolution& s;
    QTextStream& out;
    const Magnitudes largest;
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
        } else {
            report.summary();
            report.tables();
        }
        return kvrExit::ok;
    });
}
