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

struct Sides {
    Extremes larger, other;  // each member's larger force and the other extreme
};

// Each member's extremes over the combinations; the accuracy the largest of
// any combination's; no node results, as no one combination's are the
// envelope's. Refused where a combination's sum overflows double.
Result<Sides> extremesOf(std::span<const CaseSolution> cases, std::span<const Combination> combinations)
{
    const TrussSolution& first = cases.front().solution;
    Extremes tension{TrussSolution{}, std::vector<int>(first.members.size(), 0)};
    tension.solution.nodes.assign(first.nodes.size(), NodeResult{});
    tension.solution.members.assign(first.members.size(), MemberResult{});
    tension.solution.unknowns = first.unknowns;
    tension.solution.arithmetic = 0;
    Extremes compression = tension;
    CombinedMembers sum;
    for (std::size_t c = 0; c < combinations.size(); ++c) {
        combineMembers(combinations[c].terms, cases, sum);
        const bool finite = std::isfinite(sum.accuracy.force)
                            && std::all_of(sum.members.begin(), sum.members.end(), [](const MemberResult& m) { return std::isfinite(m.force); });
        if (!finite)
            return {std::nullopt, "combination " + combinations[c].name + ": its forces are too large for double precision"};
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
    for (std::size_t m = 1; m < tension.from.size(); ++m)
        if (std::fabs(compression.solution.members[m].force) > std::fabs(tension.solution.members[m].force)) {
            std::swap(tension.solution.members[m], compression.solution.members[m]);
            std::swap(tension.from[m], compression.from[m]);
        }
    return {Sides{std::move(tension), std::move(compression)}, {}};
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

// The other extreme can govern a member only where it is of the other sign
// (tension against buckling): checked there alone, and taken where it governs.
void checkOtherSign(TrussDesign& design, Sides& sides, const DesignSettings& settings)
{
    for (MemberDesign& member : design.members) {
        const std::size_t m = std::size_t(member.member);
        const double force = forceOf(sides.other.solution, member.member);
        if (!(force * member.force < 0))
            continue;
        MemberDesign candidate = member;
        candidate.force = force;
        candidate.checks =
            checkMember(*member.section, design.materials.at(member.group), force, member.length, member.outOfPlane, settings);
        if (governs(candidate, member)) {
            member = std::move(candidate);
            sides.larger.solution.members[m] = sides.other.solution.members[m];
            sides.larger.from[m] = sides.other.from[m];
        }
    }
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
    Result<Sides> sides = extremesOf(cases, envelope.combinations);
    if (!sides.value)
        return {std::nullopt, sides.error};
    // Each member designed for its larger force, then for the other where it may govern.
    Result<TrussDesign> designed = designTruss(truss, sides.value->larger.solution, sections, settings);
    if (!designed.value)
        return {std::nullopt, designed.error};
    envelope.design = std::move(*designed.value);
    checkOtherSign(envelope.design, *sides.value, settings);
    envelope.solution = std::move(sides.value->larger.solution);
    envelope.governing = std::move(sides.value->larger.from);
    return {std::move(envelope), {}};
}
