#include "loads/CaseLoads.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "kvrfile/TrussStructure.h"
#include "kvrfile/TrussVocabulary.h"

namespace {

void add(NodeForces& to, const NodeForces& from, double factor = 1.0)
{
    for (std::size_t n = 0; n < to.size() && n < from.size(); ++n) {
        to[n].fx += factor * from[n].fx;
        to[n].fy += factor * from[n].fy;
    }
}

}  // namespace

Result<NodeForces> selfWeightOf(const TrussFileContent& truss, const GroupSections& sections)
{
    NodeForces forces(truss.nodeRows());
    for (int m = 1; m <= truss.noMembers; ++m) {
        const MemberGroup group = groupOf(truss, m);
        const int first = nodeNumber(truss, m, MemberColumn::First), second = nodeNumber(truss, m, MemberColumn::Second);
        if (group == MemberGroup::Unknown || first == 0 || second == 0)
            return {std::nullopt, "member " + std::to_string(m) + " is in none of the groups the sections are given for"};
        const auto section = sections.find(group);
        if (section == sections.end() || section->second == nullptr)
            return {std::nullopt, std::string("no section for the ") + titleOf(group) + " (member " + std::to_string(m) + ")"};
        const double dx = double(truss.node(second, NodeColumn::X)) - truss.node(first, NodeColumn::X);
        const double dy = double(truss.node(second, NodeColumn::Y)) - truss.node(first, NodeColumn::Y);
        const double kN = std::hypot(dx, dy) * section->second->massPerMetre * standardGravity / 1000.0;
        if (!std::isfinite(kN))
            return {std::nullopt, "member " + std::to_string(m) + " has no finite length"};
        forces[static_cast<std::size_t>(first)].fy -= kN / 2;
        forces[static_cast<std::size_t>(second)].fy -= kN / 2;
    }
    return {std::move(forces), {}};
}

Result<NodeForces> topChordUdlOf(const TrussFileContent& truss, double w)
{
    std::vector<std::pair<double, int>> row;  // x, node
    std::vector<bool> seen(truss.nodeRows(), false);
    for (int m = 1; m <= truss.noMembers; ++m) {
        if (groupOf(truss, m) != MemberGroup::TopChord)
            continue;
        for (const int column : {MemberColumn::First, MemberColumn::Second}) {
            const int n = nodeNumber(truss, m, column);
            if (!seen[static_cast<std::size_t>(n)])
                row.emplace_back(truss.node(n, NodeColumn::X), n);
            seen[static_cast<std::size_t>(n)] = true;
        }
    }
    if (row.size() < 2)
        return {std::nullopt, "the truss has no top chord to carry a uniform load"};
    std::sort(row.begin(), row.end());
    // The roof spans the truss: where the top chord stops short of its ends
    // (a Warren truss), the end nodes of the chord carry the rest.
    const Extent extent = extentOf(truss);
    NodeForces forces(truss.nodeRows());
    for (std::size_t i = 0; i < row.size(); ++i) {
        const double left = i == 0 ? 2 * extent.xMin - row[i].first : row[i - 1].first;
        const double right = i + 1 == row.size() ? 2 * extent.xMax - row[i].first : row[i + 1].first;
        forces[static_cast<std::size_t>(row[i].second)].fy = w * (right - left) / 2;
    }
    if (!std::isfinite(row.back().first - row.front().first))
        return {std::nullopt, "the top chord's nodes lie at no finite x"};
    return {std::move(forces), {}};
}

Result<std::vector<CaseLoads>> caseLoadsOf(const DesignFile& design, const TrussFileContent& truss, const GroupSections& sections)
{
    if (!truss.hasTables())
        return {std::nullopt, "the truss file holds no tables to load"};
    std::vector<CaseLoads> all;
    for (const LoadCase& loadCase : design.cases) {
        const auto refuse = [&](int line, const std::string& key, const std::string& why) -> Result<std::vector<CaseLoads>> {
            return {std::nullopt,
                    design.source + ":" + std::to_string(line) + ": [[case]] " + key + ": case '" + loadCase.name + "': " + why};
        };
        CaseLoads loads{loadCase.name, NodeForces(truss.nodeRows())};
        if (loadCase.selfWeight) {
            const Result<NodeForces> weight = selfWeightOf(truss, sections);
            if (!weight.value)
                return refuse(loadCase.line, "self_weight", weight.error);
            add(loads.forces, *weight.value);
        }
        if (loadCase.udlTop) {
            const Result<NodeForces> udl = topChordUdlOf(truss, *loadCase.udlTop);
            if (!udl.value)
                return refuse(loadCase.line, "udl_top", udl.error);
            add(loads.forces, *udl.value);
        }
        for (const PointLoad& point : loadCase.loads) {
            if (point.node > truss.noNodes)
                return refuse(point.line, "loads node",
                              "the truss has no node " + std::to_string(point.node) + ", only 1 to "
                                  + std::to_string(truss.noNodes));
            loads.forces[static_cast<std::size_t>(point.node)].fx += point.fx;
            loads.forces[static_cast<std::size_t>(point.node)].fy += point.fy;
        }
        if (loadCase.fromFile)
            for (int n = 1; n <= truss.noNodes; ++n) {
                const float load = truss.node(n, NodeColumn::Load);
                if (!std::isfinite(load))
                    return refuse(loadCase.line, "from_file",
                                  "node " + std::to_string(n) + " of the truss file has no finite load");
                loads.forces[static_cast<std::size_t>(n)].fy += load;
            }
        if (const int n = unfiniteNodeOf(loads.forces); n > 0)
            return refuse(loadCase.line, "name", "its loads on node " + std::to_string(n) + " are too large for double precision");
        all.push_back(std::move(loads));
    }
    return {std::move(all), {}};
}

NodeForces superposed(std::span<const CombinationTerm> terms, std::span<const CaseLoads> cases)
{
    NodeForces sum(cases.empty() ? 0 : cases.front().forces.size());
    for (const CombinationTerm& term : terms) {
        const auto found = std::find_if(cases.begin(), cases.end(), [&](const CaseLoads& c) { return c.name == term.caseName; });
        if (found != cases.end())
            add(sum, found->forces, term.factor);
    }
    return sum;
}
