#include "report/TrussSummary.h"

#include <cmath>

#include <QStringList>

#include "analysis/Deflection.h"
#include "kvrfile/TrussVocabulary.h"
#include "report/MemberResultText.h"
#include "report/ResultText.h"

namespace {

using resultText::number;
using resultText::rounded;
using resultText::vouched;

double millimetres(double metres) { return metres * millimetresPerMetre; }

QString metres(double value) { return number(value) + QStringLiteral(" m"); }

// The statics line of check that begins with prefix, without it.
QString staticsLine(const TrussCheckReport& check, const std::string& prefix)
{
    for (const std::string& line : check.statics)
        if (line.rfind(prefix, 0) == 0)
            return QString::fromStdString(line.substr(prefix.size()));
    return {};
}

class Summariser {
public:
    Summariser(const TrussFileContent& truss, std::vector<SummaryLine>& lines) : t(truss), lines(lines) {}

    void geometry(const TrussCheckReport& check)
    {
        const Extent e = extentOf(t);
        add(QStringLiteral("span"), metres(e.span()));
        add(QStringLiteral("height"), metres(e.height()));
        add(QStringLiteral("panels"), QString::number(panelsOf(t)));
        if (const QString loads = staticsLine(check, "node loads: "); !loads.isEmpty())
            add(QStringLiteral("node loads"), loads);
    }

    // As kvrtool solve words them: each number to the digits its accuracy
    // vouches for.
    void results(const TrussSolution& s)
    {
        const Deflection deflection = deflectionOf(t, s);
        const Accuracy& a = s.accuracy;
        const auto shownDisplacement = [&](double m) { return vouched(millimetres(m), millimetres(a.displacement)); };
        const auto shownReaction = [&](double kN) { return vouched(kN, a.reaction); };
        const auto node = [&](int n) -> const NodeResult& { return s.nodes[static_cast<std::size_t>(n)]; };

        const NodeResult& moved = node(deflection.largestAt);
        add(QStringLiteral("largest deflection"), QStringLiteral("%1 mm at node %2 (ux %3 mm, uy %4 mm)")
                                                      .arg(shownDisplacement(deflection.largest))
                                                      .arg(deflection.largestAt)
                                                      .arg(shownDisplacement(moved.ux), shownDisplacement(moved.uy)));
        const bool deflects = std::fabs(deflection.vertical) > a.displacement;
        QString vertical = shownDisplacement(std::fabs(deflection.vertical)) + QStringLiteral(" mm")
                           + (!deflects ? QString() : deflection.vertical < 0 ? QStringLiteral(" downwards") : QStringLiteral(" upwards"))
                           + QStringLiteral(" at node ") + QString::number(deflection.verticalAt);
        if (const double ratio = deflection.spanRatio(); ratio > 0 && deflects)
            vertical += QStringLiteral(", L/") + (ratio >= 10 ? QString::number(std::floor(ratio), 'f', 0) : number(ratio, 2))
                        + QStringLiteral(" of the span L = ") + number(deflection.span) + QStringLiteral(" m between the supports");
        add(QStringLiteral("largest vertical deflection"), vertical);

        QStringList held;
        for (const int n : supportsOf(t).nodes()) {
            const float code = t.node(n, NodeColumn::Support);
            const QLatin1String name(SupportCode::nameOf(code));
            if (code == SupportCode::Pin)
                held << QStringLiteral("node %1 (%2) rx %3 kN, ry %4 kN").arg(n).arg(name, shownReaction(node(n).rx), shownReaction(node(n).ry));
            else
                held << QStringLiteral("node %1 (%2) ry %3 kN").arg(n).arg(name, shownReaction(node(n).ry));
        }
        add(QStringLiteral("reactions"), held.join(QStringLiteral("; ")));
        extreme(s, +1, QStringLiteral("most tension"));
        extreme(s, -1, QStringLiteral("most compression"));
        add(QStringLiteral("equilibrium residual"), resultText::equilibriumResidual(s));
        add(QStringLiteral("accuracy"),
            QStringLiteral("displacements within %1 mm, reactions within %2 kN, forces within %3 kN, stresses within %4 N/mm2 "
                           "(factorised in %5)")
                .arg(rounded(millimetres(a.displacement)), rounded(a.reaction), rounded(a.force), rounded(a.stress))
                .arg(QString::fromStdString(arithmeticName(s.arithmetic))));
        if (deflection.beyondSmallDisplacements())
            add(QStringLiteral("warning"),
                QStringLiteral("the largest displacement, %1 mm at node %2, is more than %3 % of the truss's size (%4 m): "
                               "small-displacement theory does not hold, and these are the numbers of a linear analysis")
                    .arg(shownDisplacement(deflection.largest))
                    .arg(deflection.largestAt)
                    .arg(Deflection::smallShare * 100)
                    .arg(number(deflection.size)));
    }

    void add(const QString& label, const QString& value) { lines.push_back({label, value}); }

private:
    void extreme(const TrussSolution& s, int sign, const QString& title)
    {
        const int at = extremeMember(s, sign);
        if (at == 0) {
            add(title, QStringLiteral("none"));
            return;
        }
        // As the member table reads it.
        const MemberResultText member(t, s);
        add(title, QStringLiteral("member %1, %2 kN, %3 N/mm2").arg(at).arg(member.force(at), member.stress(at)));
    }

    const TrussFileContent& t;
    std::vector<SummaryLine>& lines;
};

}  // namespace

int extremeMember(const TrussSolution& s, int sign)
{
    int at = 0;
    double most = s.accuracy.force;  // beyond the forces' accuracy
    for (std::size_t m = 1; m < s.members.size(); ++m)
        if (sign * s.members[m].force > most) {
            at = static_cast<int>(m);
            most = sign * s.members[m].force;
        }
    return at;
}

std::vector<SummaryLine> summaryOf(const TrussStudy& study)
{
    std::vector<SummaryLine> lines;
    Summariser summary(study.truss, lines);
    if (!study.drawable()) {
        summary.add(QStringLiteral("not solved"), QString::fromStdString(study.refusal));
        return lines;
    }
    summary.geometry(study.check);
    if (study.solution)
        summary.results(*study.solution);
    else if (study.toStudy())
        summary.add(QStringLiteral("results"), QStringLiteral("being checked and solved…"));
    else
        summary.add(QStringLiteral("not solved"), QString::fromStdString(study.refusal));
    return lines;
}

std::vector<SummaryLine> resultLinesOf(const TrussFileContent& truss, const TrussSolution& solution)
{
    std::vector<SummaryLine> lines;
    Summariser(truss, lines).results(solution);
    return lines;
}
