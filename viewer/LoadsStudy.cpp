#include "viewer/LoadsStudy.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QFileInfo>
#include <QStringList>

#include "analysis/TrussSolver.h"
#include "loads/DesignFileUse.h"
#include "loads/GeneratedCombinations.h"
#include "report/LoadsText.h"
#include "report/MemberResultText.h"
#include "report/ResultText.h"

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

// The truss carrying these loads' vertical parts, as its file would hold
// them; none where loads is empty.
TrussFileContent carrying(TrussFileContent truss, const NodeForces& loads)
{
    for (std::size_t n = 1; n < truss.nodeRows(); ++n)
        truss.nodes(n, NodeColumn::Load) = n < loads.size() ? static_cast<float>(loads[n].fy) : 0.0f;
    return truss;
}

LoadsStudy refused(const TrussStudy& file, const std::string& why)
{
    return {std::make_shared<const TrussStudy>(TrussStudy{carrying(file.truss, {}), file.check, std::nullopt, why}), nullptr};
}

const Combination* named(const std::vector<Combination>& combinations, const std::string& name)
{
    const auto found =
        std::find_if(combinations.begin(), combinations.end(), [&](const Combination& c) { return c.name == name; });
    return found == combinations.end() ? nullptr : &*found;
}

LoadsStudy envelopeOf(const TrussStudy& file, const DesignFile& design)
{
    Result<EnvelopeStudy> made = designForEnvelope(design, file.truss);
    if (!made.value)
        return refused(file, made.error);
    const EnvelopeDesign& envelope = made.value->envelope;
    TrussSolution solution = envelope.solution;
    // Blank in the node table, as no one combination's are the envelope's.
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    for (NodeResult& node : solution.nodes)
        node = {none, none, none, none};
    auto study = std::make_shared<const TrussStudy>(TrussStudy{carrying(file.truss, {}), file.check, std::move(solution), {}});
    auto shown = std::make_shared<const StudyDesign>(shownDesign(study, envelope.design, loadsText::governingNames(envelope)));
    return {std::move(study), std::move(shown)};
}

// "-12 kN in total on 7 nodes", and the horizontal loads where there are any.
QString nodeLoadsText(const NodeForces& loads)
{
    double vertical = 0, horizontal = 0;
    int verticals = 0, horizontals = 0;
    for (const NodeForce& load : loads) {
        vertical += load.fy;
        horizontal += load.fx;
        verticals += load.fy != 0;
        horizontals += load.fx != 0;
    }
    const auto onNodes = [](double total, int count) {
        return QStringLiteral("%1 kN in total on %2 %3")
            .arg(resultText::number(total))
            .arg(count)
            .arg(count == 1 ? QStringLiteral("node") : QStringLiteral("nodes"));
    };
    QString said = onNodes(vertical, verticals);
    if (horizontals > 0)
        said += QStringLiteral("; horizontal ") + onNodes(horizontal, horizontals);
    return said;
}

}  // namespace

LoadsStudy studyUnder(const TrussStudy& file, const DesignFile& design, const LoadsShown& loads)
{
    if (!file.drawable() || loads.kind == LoadsShown::Kind::File)
        return {std::make_shared<const TrussStudy>(file), nullptr};
    if (loads.kind == LoadsShown::Kind::Envelope)
        return envelopeOf(file, design);
    Result<NodeForces> forces;
    if (loads.kind == LoadsShown::Kind::Case) {
        forces = caseLoadsNamed(design, file.truss, loads.name);
    } else {
        const std::vector<Combination> combinations = combinationsOf(design);
        const Combination* combination = named(combinations, loads.name);
        if (!combination)
            return refused(file, "no combination '" + loads.name + "' in " + design.source);
        forces = combinationLoads(design, file.truss, combination->terms);
    }
    if (!forces.value)
        return refused(file, forces.error);
    TrussAnalysis solved = std::move(solveTruss(file.truss, std::span(&*forces.value, 1)).front());
    return {std::make_shared<const TrussStudy>(
                TrussStudy{carrying(file.truss, *forces.value), file.check, std::move(solved.value), std::move(solved.error)}),
            nullptr};
}

std::shared_ptr<const TrussStudy> studyAwaiting(const TrussStudy& file)
{
    return std::make_shared<const TrussStudy>(TrussStudy{carrying(file.truss, {}), file.check, std::nullopt, {}});
}

std::vector<SummaryLine> loadsSummary(const TrussStudy& shown, const LoadsShown& loads, const DesignFile& design)
{
    const bool envelope = loads.kind == LoadsShown::Kind::Envelope;
    if (loads.kind == LoadsShown::Kind::File)
        return summaryOf(shown);
    const QString of = QFileInfo(text(design.source)).fileName();
    QString what;
    if (loads.kind == LoadsShown::Kind::Case) {
        what = QObject::tr("case %1 of %2").arg(text(loads.name), of);
    } else if (envelope) {
        what = QObject::tr("the envelope of the strength combinations of %1: each member under the one that governs its "
                           "design (Design table)")
                   .arg(of);
    } else {
        const std::vector<Combination> combinations = combinationsOf(design);
        const Combination* combination = named(combinations, loads.name);
        what = QObject::tr("%1, %2, of %3")
                   .arg(text(loads.name), combination ? text(notationOf(combination->terms)) : QStringLiteral("?"), of);
    }
    std::vector<SummaryLine> lines{{QStringLiteral("loads"), what}};
    // The envelope's nodes have no results to sum up: its geometry, and its members' extremes below.
    const std::vector<SummaryLine> all =
        envelope ? summaryOf(TrussStudy{shown.truss, shown.check, std::nullopt, shown.refusal}) : summaryOf(shown);
    const QStringList geometry{QStringLiteral("span"), QStringLiteral("height"), QStringLiteral("panels")};
    for (const SummaryLine& line : all) {
        if (line.label == QLatin1String("node loads") || (envelope && shown.solution && !geometry.contains(line.label)))
            continue;  // the file's loads, and for the envelope the lines of no one combination
        lines.push_back(line);
        if (line.label == geometry.back() && shown.solution && !envelope)
            lines.push_back({QStringLiteral("node loads"), nodeLoadsText(shown.solution->loads)});
    }
    if (envelope && shown.solution) {
        const MemberResultText member(shown.truss, *shown.solution);
        for (const int sign : {+1, -1}) {
            const int at = extremeMember(*shown.solution, sign);
            lines.push_back(
                {sign > 0 ? QStringLiteral("most tension") : QStringLiteral("most compression"),
                 at == 0 ? QStringLiteral("none")
                         : QStringLiteral("member %1, %2 kN, %3 N/mm2").arg(at).arg(member.force(at), member.stress(at))});
        }
    }
    return lines;
}
