#include "design/Sizing.h"

#include <algorithm>

namespace {

// The lightest first; sections of the same mass by area, then as listed.
std::vector<const Section*> byMass(std::vector<const Section*> sections)
{
    std::stable_sort(sections.begin(), sections.end(), [](const Section* a, const Section* b) {
        return a->massPerMetre != b->massPerMetre ? a->massPerMetre < b->massPerMetre : a->A < b->A;
    });
    return sections;
}

struct Member {
    int number;
    double length;
    double outOfPlane;
};

// Whether every member of the group holds in the section under the forces.
bool holdsAll(const Section& section, const Material& material, const std::vector<Member>& members, const TrussSolution& solution,
              const DesignSettings& settings)
{
    return std::all_of(members.begin(), members.end(), [&](const Member& m) {
        const double force = forceOf(solution, m.number);
        return verdictOf(checkMember(section, material, force, m.length, m.outOfPlane, settings)).holds();
    });
}

}  // namespace

TrussFileContent withSectionAreas(TrussFileContent truss, const std::vector<MemberGroup>& groupOfMember, const GroupSections& sections)
{
    for (int m = 1; m <= truss.noMembers; ++m)
        if (const auto section = sections.find(groupOfMember[std::size_t(m)]); section != sections.end())
            truss.members(std::size_t(m), MemberColumn::A) = static_cast<float>(section->second->A);
    return truss;
}

Result<Sizing> sizeTruss(const TrussFileContent& truss, const SizingRequest& request)
{
    Result<MemberLayout> layout = layoutOf(truss);
    if (!layout.value)
        return {std::nullopt, layout.error};
    const DesignSettings& settings = request.settings;
    for (const MemberGroup group : designGroups) {
        const auto fixed = request.fixed.find(group);
        const bool sized = request.candidates.contains(group);
        if (fixed == request.fixed.end() && !sized)
            return {std::nullopt, "the " + std::string(groupName(group)) + " group has no section and is not sized"};
        if (fixed != request.fixed.end() && sized)
            return {std::nullopt, "the " + std::string(groupName(group)) + " group is both given a section and sized"};
        if (fixed != request.fixed.end() && fixed->second->code != settings.code)
            return {std::nullopt, fixed->second->designation + " is not a section of the " + codeName(settings.code) + " tables"};
    }

    // Each candidate's material, once; a grade that fits no candidate is the
    // user's to hear about, one that fits some leaves the others out.
    struct Candidate {
        const Section* section;
        Material material;
    };
    std::map<MemberGroup, std::vector<Candidate>> candidates;
    std::map<MemberGroup, std::vector<Member>> members;
    for (const auto& [group, sections] : request.candidates) {
        std::string refusal = "no section to size the " + std::string(groupName(group)) + " group from";
        for (const Section* section : byMass(sections)) {
            if (section->code != settings.code)
                return {std::nullopt, section->designation + " is not a section of the " + codeName(settings.code) + " tables"};
            Result<Material> material = materialOf(*section, settings);
            if (material.value)
                candidates[group].push_back({section, *material.value});
            else
                refusal = material.error;
        }
        if (candidates[group].empty())
            return {std::nullopt, refusal};
    }
    for (int m = 1; m <= truss.noMembers; ++m) {
        const MemberGroup group = layout.value->group[std::size_t(m)];
        const double length = layout.value->length[std::size_t(m)];
        const auto restraint = settings.outOfPlane.find(group);
        members[group].push_back({m, length, restraint == settings.outOfPlane.end() ? length : restraint->second});
    }

    Sizing sizing;
    sizing.chosen = request.fixed;
    sizing.truss = withSectionAreas(truss, layout.value->group, request.fixed);
    while (true) {
        TrussAnalysis analysis = solveTruss(sizing.truss);
        if (!analysis.value)
            return {std::nullopt, "the truss on the sections chosen cannot be solved: " + analysis.error};
        ++sizing.rounds;
        sizing.solution = std::move(analysis.value);

        GroupSections choice = request.fixed;
        for (const auto& [group, list] : candidates) {
            const auto held = std::find_if(list.begin(), list.end(), [&](const Candidate& c) {
                return holdsAll(*c.section, c.material, members[group], *sizing.solution, settings);
            });
            if (held == list.end())
                sizing.unheld.push_back(group);
            else
                choice[group] = held->section;
        }
        sizing.chosen = choice;
        if (!sizing.unheld.empty()) {
            sizing.outcome = Sizing::Outcome::NoSectionHolds;
            return {std::move(sizing), {}};
        }
        // Settled when the areas just solved are the ones chosen from their forces.
        TrussFileContent next = withSectionAreas(sizing.truss, layout.value->group, choice);
        if (next.members.cells() == sizing.truss.members.cells())
            break;
        if (sizing.rounds >= request.maxRounds) {
            sizing.outcome = Sizing::Outcome::NotSettled;
            return {std::move(sizing), {}};
        }
        sizing.truss = std::move(next);
    }
    Result<TrussDesign> design = designTruss(sizing.truss, *sizing.solution, sizing.chosen, settings);
    if (!design.value)
        return {std::nullopt, design.error};
    sizing.design = std::move(design.value);
    return {std::move(sizing), {}};
}
