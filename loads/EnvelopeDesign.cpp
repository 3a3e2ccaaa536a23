#include "loads/EnvelopeDesign.h"

#include <algorithm>
#include <cmath>

namespace {

// For each member, the combination of its largest force (most tension)
// or of its smallest (most compression), and the solution that gives
// every member the force of the one chosen.
struct Extremes {
    TrussSolution solution;
    std::vector<int> from;  // by member: the combination
};

bool governs(const MemberDesign& candidate, const MemberDesign& current)
{
    const bool candidateChecked = candidate.verdict().governing != CheckKind::NotChecked;
    const bool currentChecked = current.verdict().governing != CheckKind::NotChecked;
    if (!candidateChecked || !currentChecked)
        return !candidateChecked && (currentChecked || std::fabs(candidate.force) > std::fabs(current.force));
    return candidate.verdict().utilisation > current.verdict().utilisation;
}

}  // namespace

Result<EnvelopeDesign> designEnvelope(const TrussFileContent& truss, std::span<const CaseSolution> cases,
                                      std::span<const Combination> combinations, const GroupSections& sections,
                                      const DesignSettings& settings)
{
    EnvelopeDesign envelope;
    for (const Combination& c : combinations)
        if (c.limitState == LimitState::Ultimate)
            envelope.combinations.push_back(c);
    if (envelope.combinations.empty())
        return {std::nullopt, "no combination for strength (ULS) to design for: give the cases' kinds, or a combination of your own"};

    // The members' extremes over the combinations; the accuracy the largest
    // of any combination's. The node results are no one combination's: none.
    const TrussSolution& first = cases.front().solution;
    Extremes tension{TrussSolution{}, std::vector<int>(first.members.size(), 0)}, compression = tension;
    for (Extremes* side : {&tension, &compression}) {
        side->solution.nodes.assign(first.nodes.size(), NodeResult{});
        side->solution.members.assign(first.members.size(), MemberResult{});
        side->solution.unknowns = first.unknowns;
        side->solution.arithmetic = 0;
    }
    CombinedMembers sum;
    for (std::size_t c = 0; c < envelope.combinations.size(); ++c) {
        combineMembers(envelope.combinations[c].terms, cases, sum);
        const bool finite = std::isfinite(sum.accuracy.force)
                            && std::all_of(sum.members.begin(), sum.members.end(), [](const MemberResult& m) { return std::isfinite(m.force); });
        if (!finite)
            return {std::nullopt, "combination " + envelope.combinations[c].name + ": its forces are too large for double precision"};
        for (Extremes* side : {&tension, &compression}) {
            Accuracy& accuracy = side->solution.accuracy;
            accuracy.force = std::max(accuracy.force, sum.accuracy.force);
            accuracy.stress = std::max(accuracy.stress, sum.accuracy.stress);
            side->solution.arithmetic = std::max(side->solution.arithmetic, sum.arithmetic);
            for (std::size_t m = 1; m < sum.members.size(); ++m) {
                const double now = side->solution.members[m].force, candidate = sum.members[m].force;
                if (c == 0 || (side == &tension ? candidate > now : candidate < now)) {
                    side->solution.members[m] = sum.members[m];
                    side->from[m] = int(c);
                }
            }
        }
    }
    // Each member designed for the side of its larger force; the other side
    // can govern only where it is of the other sign (tension against
    // buckling), and is checked there alone.
    for (std::size_t m = 1; m < tension.from.size(); ++m)
        if (std::fabs(compression.solution.members[m].force) > std::fabs(tension.solution.members[m].force)) {
            std::swap(tension.solution.members[m], compression.solution.members[m]);
            std::swap(tension.from[m], compression.from[m]);
        }
    Extremes& larger = tension;
    const Extremes& other = compression;
    Result<TrussDesign> designed = designTruss(truss, larger.solution, sections, settings);
    if (!designed.value)
        return {std::nullopt, designed.error};
    envelope.design = std::move(*designed.value);
    for (MemberDesign& member : envelope.design.members) {
        const std::size_t m = std::size_t(member.member);
        const double force = forceOf(other.solution, member.member);
        if (!(force * member.force < 0))
            continue;
        MemberDesign candidate = member;
        candidate.force = force;
        candidate.checks = checkMember(*member.section, envelope.design.materials.at(member.group), force, member.length,
                                       member.outOfPlane, settings);
        if (governs(candidate, member)) {
            member = std::move(candidate);
            larger.solution.members[m] = other.solution.members[m];
            larger.from[m] = other.from[m];
        }
    }
    envelope.solution = std::move(larger.solution);
    envelope.governing = std::move(larger.from);
    return {std::move(envelope), {}};
}
