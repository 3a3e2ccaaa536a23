#include "report/MirrorImage.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "kvrfile/TrussStructure.h"

namespace {

// The Singles of a truss file are made by Single arithmetic: a node at
// 37 x 0.45 m is a Single or two off 18 m - 1.35 m. A few times that is
// still far below anything built.
constexpr double slack = 0x1p-20;

bool near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

bool sameProperty(float a, float b) { return near(a, b, slack * std::max(std::fabs(a), std::fabs(b))); }

// For each node, its mirror image; empty when one has none.
std::vector<int> mirrorNodes(const TrussFileContent& t)
{
    double xMin = INFINITY, xMax = -INFINITY, largest = 0;
    for (int n = 1; n <= t.noNodes; ++n) {
        const double x = t.node(n, NodeColumn::X), y = t.node(n, NodeColumn::Y);
        if (!std::isfinite(x) || !std::isfinite(y))
            return {};
        xMin = std::min(xMin, x);
        xMax = std::max(xMax, x);
        largest = std::max({largest, std::fabs(x), std::fabs(y)});
    }
    const double tolerance = slack * largest;
    std::vector<int> byX(static_cast<std::size_t>(t.noNodes));
    for (int n = 1; n <= t.noNodes; ++n)
        byX[std::size_t(n) - 1] = n;
    const auto x = [&](int n) { return double(t.node(n, NodeColumn::X)); };
    std::sort(byX.begin(), byX.end(), [&](int a, int b) { return x(a) < x(b); });

    std::vector<int> mirror(t.nodeRows(), 0);
    for (int n = 1; n <= t.noNodes; ++n) {
        const double wanted = xMin + xMax - x(n);
        auto candidate = std::lower_bound(byX.begin(), byX.end(), wanted - tolerance, [&](int m, double v) { return x(m) < v; });
        for (; candidate != byX.end() && x(*candidate) <= wanted + tolerance; ++candidate)
            if (near(t.node(*candidate, NodeColumn::Y), t.node(n, NodeColumn::Y), tolerance)) {
                mirror[std::size_t(n)] = *candidate;
                break;
            }
        if (mirror[std::size_t(n)] == 0)
            return {};
    }
    return mirror;
}

// Loads the same; supports the same, but a lone pin may mirror a roller:
// under loads that are all vertical it takes no load across either.
bool nodesAlike(const TrussFileContent& t, const NodeForces& loads, const std::vector<int>& mirror)
{
    int pins = 0;
    for (int n = 1; n <= t.noNodes; ++n)
        pins += t.node(n, NodeColumn::Support) == SupportCode::Pin;
    for (int n = 1; n <= t.noNodes; ++n) {
        const int m = mirror[std::size_t(n)];
        const float support = t.node(n, NodeColumn::Support), other = t.node(m, NodeColumn::Support);
        const bool held = support == SupportCode::Pin || support == SupportCode::Roller;
        const bool otherHeld = other == SupportCode::Pin || other == SupportCode::Roller;
        if (mirror[std::size_t(m)] != n || !sameProperty(float(loads[std::size_t(n)].fy), float(loads[std::size_t(m)].fy))
            || (support != other && !(pins == 1 && held && otherHeld)))
            return false;
    }
    return true;
}

}  // namespace

std::vector<int> mirrorMembers(const TrussFileContent& t)
{
    return t.hasTables() ? mirrorMembers(t, fileLoadsOf(t)) : std::vector<int>{};
}

std::vector<int> mirrorMembers(const TrussFileContent& t, const NodeForces& loads)
{
    if (!t.hasTables() || t.noNodes < 1 || t.noMembers < 1 || loads.size() != t.nodeRows()
        || std::any_of(loads.begin(), loads.end(), [](const NodeForce& f) { return f.fx != 0.0; }))
        return {};
    const std::vector<int> node = mirrorNodes(t);
    if (node.empty() || !nodesAlike(t, loads, node))
        return {};
    std::map<std::pair<int, int>, int> joining;
    const auto ends = [&](int m) {
        const int a = nodeNumber(t, m, MemberColumn::First), b = nodeNumber(t, m, MemberColumn::Second);
        return std::pair{std::min(a, b), std::max(a, b)};
    };
    for (int m = 1; m <= t.noMembers; ++m)
        if (ends(m).first == 0 || !joining.emplace(ends(m), m).second)
            return {};  // a member without its nodes, or two joining the same
    std::vector<int> mirror(t.memberRows(), 0);
    for (int m = 1; m <= t.noMembers; ++m) {
        const auto [a, b] = ends(m);
        const int na = node[std::size_t(a)], nb = node[std::size_t(b)];
        const auto found = joining.find({std::min(na, nb), std::max(na, nb)});
        if (found == joining.end() || !sameProperty(t.member(m, MemberColumn::E), t.member(found->second, MemberColumn::E))
            || !sameProperty(t.member(m, MemberColumn::A), t.member(found->second, MemberColumn::A)))
            return {};
        mirror[std::size_t(m)] = found->second;
    }
    return mirror;
}
