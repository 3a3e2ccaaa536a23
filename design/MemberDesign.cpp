#include "design/MemberDesign.h"

#include <cmath>
#include <limits>

double forceOf(const TrussSolution& solution, int member)
{
    const double force = solution.members[std::size_t(member)].force;
    return std::fabs(force) > solution.accuracy.force ? force : 0.0;
}

const char* codeName(DesignCode code) { return code == DesignCode::En1993 ? "EN 1993-1-1" : "AISC 360-16"; }

Result<Material> materialOf(const Section& section, const DesignSettings& settings)
{
    if (settings.code == DesignCode::En1993) {
        Result<en1993::YieldStrength> fy = en1993::yieldStrength(settings.grade.empty() ? "S355" : settings.grade, section);
        if (!fy.value)
            return {std::nullopt, fy.error};
        return {Material(*fy.value), {}};
    }
    Result<aisc360::Steel> steel = aisc360::astmGrade(settings.grade.empty() ? aisc360::usualGrade(section) : settings.grade, section);
    if (!steel.value)
        return {std::nullopt, steel.error};
    return {Material(*steel.value), {}};
}

const Verdict& verdictOf(const MemberChecks& checks)
{
    return std::visit([](const auto& c) -> const Verdict& { return c.verdict; }, checks);
}

MemberChecks checkMember(const Section& section, const Material& material, double force, double lengthInPlane,
                         double lengthOutOfPlane, const DesignSettings& settings)
{
    if (const auto* fy = std::get_if<en1993::YieldStrength>(&material))
        return en1993::checkMember(section, *fy, force, lengthInPlane, lengthOutOfPlane, settings.factors);
    return aisc360::checkMember(section, std::get<aisc360::Steel>(material), force, lengthInPlane, lengthOutOfPlane);
}

int TrussDesign::notHolding() const
{
    int count = 0;
    for (const MemberDesign& m : members)
        count += m.verdict().holds() ? 0 : 1;
    return count;
}

int TrussDesign::notChecked() const
{
    int count = 0;
    for (const MemberDesign& m : members)
        count += m.verdict().governing == CheckKind::NotChecked ? 1 : 0;
    return count;
}

int TrussDesign::governingMember(MemberGroup group) const
{
    const MemberDesign* governing = nullptr;
    const auto rank = [](const MemberDesign& m) {
        return m.verdict().governing == CheckKind::NotChecked ? std::numeric_limits<double>::infinity() : m.verdict().utilisation;
    };
    for (const MemberDesign& m : members)
        if (m.group == group && (governing == nullptr || rank(m) > rank(*governing)))
            governing = &m;
    return governing == nullptr ? 0 : governing->member;
}

double TrussDesign::steelMass() const
{
    double mass = 0.0;
    for (const MemberDesign& m : members)
        mass += m.section->massPerMetre * m.length;
    return mass;
}

Result<MemberLayout> layoutOf(const TrussFileContent& truss)
{
    MemberLayout layout{std::vector<MemberGroup>(truss.memberRows(), MemberGroup::Unknown), std::vector<double>(truss.memberRows(), 0.0)};
    for (int m = 1; m <= truss.noMembers; ++m) {
        const MemberGroup group = groupOf(truss, m);
        if (group == MemberGroup::Unknown)
            return {std::nullopt, "member " + std::to_string(m)
                                      + " is in none of the groups of a Pratt truss (top chord, bottom chord, vertical, diagonal), "
                                        "so it has no section"};
        const int a = nodeNumber(truss, m, MemberColumn::First), b = nodeNumber(truss, m, MemberColumn::Second);
        const double dx = double(truss.node(b, NodeColumn::X)) - double(truss.node(a, NodeColumn::X));
        const double dy = double(truss.node(b, NodeColumn::Y)) - double(truss.node(a, NodeColumn::Y));
        layout.group[std::size_t(m)] = group;
        layout.length[std::size_t(m)] = std::hypot(dx, dy);
    }
    return {std::move(layout), {}};
}

Result<TrussDesign> designTruss(const TrussFileContent& truss, const TrussSolution& solution, const GroupSections& sections,
                                const DesignSettings& settings)
{
    Result<MemberLayout> layout = layoutOf(truss);
    if (!layout.value)
        return {std::nullopt, layout.error};
    TrussDesign design{settings, sections, {}, {}};
    for (const MemberGroup group : designGroups) {
        const auto given = sections.find(group);
        if (given == sections.end() || given->second == nullptr)
            return {std::nullopt, "the " + std::string(groupName(group)) + " group has no section"};
        const Section& section = *given->second;
        if (section.code != settings.code)
            return {std::nullopt, section.designation + " is not a section of the " + codeName(settings.code) + " tables"};
        Result<Material> material = materialOf(section, settings);
        if (!material.value)
            return {std::nullopt, material.error};
        design.materials.emplace(group, *material.value);
    }
    design.members.reserve(std::size_t(truss.noMembers));
    for (int m = 1; m <= truss.noMembers; ++m) {
        const MemberGroup group = layout.value->group[std::size_t(m)];
        const double length = layout.value->length[std::size_t(m)];
        const auto restraint = settings.outOfPlane.find(group);
        const double outOfPlane = restraint == settings.outOfPlane.end() ? length : restraint->second;
        const Section& section = *sections.at(group);
        const double force = forceOf(solution, m);
        design.members.push_back({m, group, &section, length, outOfPlane, force,
                                  checkMember(section, design.materials.at(group), force, length, outOfPlane, settings)});
    }
    return {std::move(design), {}};
}
