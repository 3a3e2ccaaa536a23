#include "loads/EnvelopeDesign.h"

#include <algorithm>
#include <cmath>

namespace {

// For each member, the combination of its largest force (most tension)
// and of its smallest (most compression), and the solution that gives
// every member the force of the one chosen.
struct Extremes {
    TrussSolution solution;
    std::vector<int> from;  // by member: the combination
};

void takeAccuracy(TrussSolution& to, const TrussSolution& from)
{
    to.accuracy.displacement = std::max(to.accuracy.displacement, from.accuracy.displacement);
    to.accuracy.reaction = std::max(to.accuracy.reaction, from.accuracy.reaction);
    to.accuracy.force = std::max(to.accuracy.force, from.accuracy.force);
    to.accuracy.stress = std::max(to.accuracy.stress, from.accuracy.stress);
    to.arithmetic = std::max(to.arithmetic, from.arithmetic);
}

// A member not checked governs a checked one; of two not checked, the
// larger force (it is what the engineer must check by other means).
bool governs(const MemberDesign& candidate, const MemberDesign& current)
{
    const bool candidateChecked = candidate.verdict().governing != CheckKind::NotChecked;
    const bool currentChecked = current.verdict().governing != CheckKind::NotChecked;
    if (!candidateChecked || !currentChecked)
        return !candidateChecked && (currentChecked || std::fabs(candidate.force) > std::fabs(current.force));
    return candidate.verdict().utilisation > current.verdict().utilisation;
}

// Where a combination's sum overflows double, its forces say nothing.
bool finite(const TrussSolution& s)
{
    return std::isfinite(s.accuracy.force) && std::isfinite(s.accuracy.displacement) && std::isfinite(s.accuracy.reaction)
           && std::all_of(s.members.begin(), s.members.end(), [](const MemberResult& m) { return std::isfinite(m.force); });
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

    Extremes tension, compression;
    for (std::size_t c = 0; c < envelope.combinations.size(); ++c) {
        const TrussSolution s = combinedSolution(envelope.combinations[c].terms, cases);
        if (!finite(s))
            return {std::nullopt, "combination " + envelope.combinations[c].name + ": its forces are too large for double precision"};
        if (c == 0) {
            tension = compression = {s, std::vector<int>(s.members.size(), 0)};
            continue;
        }
        for (Extremes* side : {&tension, &compression}) {
            takeAccuracy(side->solution, s);
            for (std::size_t m = 1; m < s.members.size(); ++m) {
                const double now = side->solution.members[m].force, candidate = s.members[m].force;
                if (side == &tension ? candidate > now : candidate < now) {
                    side->solution.members[m] = s.members[m];
                    side->from[m] = int(c);
                }
            }
        }
    }
    Result<TrussDesign> pulled = designTruss(truss, tension.solution, sections, settings);
    if (!pulled.value)
        return {std::nullopt, pulled.error};
    Result<TrussDesign> pushed = designTruss(truss, compression.solution, sections, settings);
    if (!pushed.value)
        return {std::nullopt, pushed.error};

    envelope.design = std::move(*pulled.value);
    envelope.solution = std::move(tension.solution);
    envelope.solution.loads.clear();
    envelope.governing = std::move(tension.from);
    for (std::size_t i = 0; i < envelope.design.members.size(); ++i) {
        MemberDesign& member = envelope.design.members[i];
        const std::size_t m = std::size_t(member.member);
        if (governs(pushed.value->members[i], member)) {
            member = pushed.value->members[i];
            envelope.solution.members[m] = compression.solution.members[m];
            envelope.governing[m] = compression.from[m];
        }
    }
    return {std::move(envelope), {}};
}
