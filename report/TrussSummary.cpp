#include "report/TrussSummary.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QStringList>

#include "kvrfile/TrussStructure.h"
#include "report/ResultText.h"

namespace {

using resultText::number;

double millimetres(double metres) { return metres * millimetresPerMetre; }

QString metres(double value) { return number(value) + QStringLiteral(" m"); }

// The largest magnitude of each kind of result.
struct Magnitudes {
    double displacement = 0, reaction = 0;

    explicit Magnitudes(const TrussSolution& s)
    {
        for (const NodeResult& n : s.nodes) {
            displacement = std::max({displacement, std::fabs(n.ux), std::fabs(n.uy)});
            reaction = std::max({reaction, std::fabs(n.rx), std::fabs(n.ry)});
        }
    }
};

struct Extent {
    double xMin = std::numeric_limits<double>::infinity(), xMax = -xMin, yMin = xMin, yMax = -xMin;
    double span() const { return xMax > xMin ? xMax - xMin : 0.0; }
    double height() const { return yMax > yMin ? yMax - yMin : 0.0; }
};

Extent extentOf(const TrussFileContent& t)
{
    Extent e;
    for (int n = 1; n <= t.noNodes; ++n) {
        const double x = t.node(n, NodeColumn::X), y = t.node(n, NodeColumn::Y);
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        e.xMin = std::min(e.xMin, x);
        e.xMax = std::max(e.xMax, x);
        e.yMin = std::min(e.yMin, y);
        e.yMax = std::max(e.yMax, y);
    }
    return e;
}

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
    Summariser(const TrussStudy& study, std::vector<SummaryLine>& lines) : t(study.truss), check(study.check), lines(lines) {}

    void geometry()
    {
        const Extent e = extentOf(t);
        add(QStringLiteral("span"), metres(e.span()));
        add(QStringLiteral("height"), metres(e.height()));
        add(QStringLiteral("panels"), QString::number(panelsOf(t)));
        if (const QString loads = staticsLine(check, "node loads: "); !loads.isEmpty())
            add(QStringLiteral("node loads"), loads);
    }

    void results(const TrussSolution& s)
    {
        const Magnitudes largest(s);
        const auto shownDisplacement = [&](double m) { return number(millimetres(m), millimetres(largest.displacement)); };
        const auto shownReaction = [&](double kN) { return number(kN, largest.reaction); };
        const auto node = [&](int n) -> const NodeResult& { return s.nodes[static_cast<std::size_t>(n)]; };

        int at = 1;
        const auto size = [&](int n) { return std::hypot(node(n).ux, node(n).uy); };
        for (int n = 2; n <= t.noNodes; ++n)
            if (size(n) > size(at))
                at = n;
        add(QStringLiteral("largest deflection"), QStringLiteral("%1 mm at node %2 (ux %3 mm, uy %4 mm)")
                                                      .arg(number(millimetres(size(at))))
                                                      .arg(at)
                                                      .arg(shownDisplacement(node(at).ux), shownDisplacement(node(at).uy)));
        verticalDeflection(s, largest.displacement);

        QStringList held;
        for (int n = 1; n <= t.noNodes; ++n) {
            const float code = t.node(n, NodeColumn::Support);
            const QLatin1String name(SupportCode::nameOf(code));
            if (code == SupportCode::Pin)
                held << QStringLiteral("node %1 (%2) rx %3 kN, ry %4 kN").arg(n).arg(name, shownReaction(node(n).rx), shownReaction(node(n).ry));
            else if (code == SupportCode::Roller)
                held << QStringLiteral("node %1 (%2) ry %3 kN").arg(n).arg(name, shownReaction(node(n).ry));
        }
        add(QStringLiteral("reactions"), held.join(QStringLiteral("; ")));
        extreme(s, +1, QStringLiteral("most tension"));
        extreme(s, -1, QStringLiteral("most compression"));
        add(QStringLiteral("equilibrium residual"),
            number(s.residual) + QStringLiteral(" kN, the largest out-of-balance force at a free node"));
    }

    void add(const QString& label, const QString& value) { lines.push_back({label, value}); }

private:
    // The largest vertical deflection against the span between the supports,
    // as L/n.
    void verticalDeflection(const TrussSolution& s, double largestDisplacement)
    {
        int at = 1, pin = 0, roller = 0;
        for (int n = 1; n <= t.noNodes; ++n) {
            if (std::fabs(s.nodes[std::size_t(n)].uy) > std::fabs(s.nodes[std::size_t(at)].uy))
                at = n;
            const float code = t.node(n, NodeColumn::Support);
            if (code == SupportCode::Pin)
                pin = n;
            else if (code == SupportCode::Roller)
                roller = n;
        }
        const double uy = s.nodes[std::size_t(at)].uy;
        QString value = number(millimetres(std::fabs(uy)), millimetres(largestDisplacement)) + QStringLiteral(" mm ")
                        + (uy < 0 ? QStringLiteral("downwards") : QStringLiteral("upwards")) + QStringLiteral(" at node ")
                        + QString::number(at);
        const double span = pin && roller ? std::fabs(double(t.node(roller, NodeColumn::X)) - t.node(pin, NodeColumn::X)) : 0.0;
        if (span > 0 && std::fabs(uy) > 1e-9 * largestDisplacement && uy != 0) {
            const double ratio = span / std::fabs(uy);
            value += QStringLiteral(", L/") + (ratio >= 10 ? number(std::floor(ratio), 17) : number(ratio, 2))
                     + QStringLiteral(" of the span L = ") + number(span) + QStringLiteral(" m between the supports");
        }
        add(QStringLiteral("largest vertical deflection"), value);
    }

    void extreme(const TrussSolution& s, int sign, const QString& title)
    {
        const int at = extremeMember(s, sign);
        if (at == 0) {
            add(title, QStringLiteral("none"));
            return;
        }
        const MemberResult& r = s.members[static_cast<std::size_t>(at)];
        add(title, QStringLiteral("member %1, %2 kN, %3 N/mm2").arg(at).arg(number(r.force), number(r.stress)));
    }

    const TrussFileContent& t;
    const TrussCheckReport& check;
    std::vector<SummaryLine>& lines;
};

}  // namespace

int extremeMember(const TrussSolution& s, int sign)
{
    int at = 0;
    for (std::size_t m = 1; m < s.members.size(); ++m)
        if (sign * s.members[m].force > (at == 0 ? 0.0 : sign * s.members[std::size_t(at)].force))
            at = static_cast<int>(m);
    return at;
}

std::vector<SummaryLine> summaryOf(const TrussStudy& study)
{
    std::vector<SummaryLine> lines;
    Summariser summary(study, lines);
    if (!study.drawable()) {
        summary.add(QStringLiteral("not solved"), QString::fromStdString(study.refusal));
        return lines;
    }
    summary.geometry();
    if (study.solution)
        summary.results(*study.solution);
    else if (study.toStudy())
        summary.add(QStringLiteral("results"), QStringLiteral("being checked and solved…"));
    else
        summary.add(QStringLiteral("not solved"), QString::fromStdString(study.refusal));
    return lines;
}
