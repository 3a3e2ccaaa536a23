#include "analysis/StiffnessPattern.h"

#include <algorithm>
#include <cassert>

#include <Eigen/OrderingMethods>
#include <Eigen/SparseCore>

namespace {

std::size_t u(int i) { return static_cast<std::size_t>(i); }

// Nodes in the order of a minimum-degree ordering of the graph the members
// make: which node is eliminated first, second, ...
std::vector<int> nodeOrder(const TrussFileContent& t)
{
    // Eigen's AMD reads a graph without its diagonal as one without edges.
    std::vector<Eigen::Triplet<double>> joined;
    joined.reserve(2 * t.memberRows() + t.nodeRows());
    for (int n = 0; n < t.noNodes; ++n)
        joined.emplace_back(n, n, 1.0);
    for (int m = 1; m <= t.noMembers; ++m) {
        const int a = nodeNumber(t, m, MemberColumn::First) - 1, b = nodeNumber(t, m, MemberColumn::Second) - 1;
        joined.emplace_back(a, b, 1.0);
        joined.emplace_back(b, a, 1.0);
    }
    Eigen::SparseMatrix<double> graph(t.noNodes, t.noNodes);
    graph.setFromTriplets(joined.begin(), joined.end());
    Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int> order;
    Eigen::AMDOrdering<int>()(graph, order);
    std::vector<int> nodes(u(t.noNodes));
    for (int k = 0; k < t.noNodes; ++k)
        nodes[u(k)] = order.indices()[k] + 1;
    return nodes;
}

}  // namespace

StiffnessPattern::StiffnessPattern(const TrussFileContent& t, const Freedoms& freedoms, const std::vector<MemberFreedoms>& at)
    : position_(u(freedoms.count()), -1), unknown_(u(freedoms.count()), -1), slots_(t.memberRows())
{
    int next = 0;
    for (const int node : nodeOrder(t))
        for (int d = 0; d < directions; ++d)
            if (const int unknown = freedoms.index(node, d); unknown >= 0) {
                position_[u(unknown)] = next;
                unknown_[u(next++)] = unknown;
            }
    buildUpper(freedoms.count(), at);
    findSlots(at);
}

void StiffnessPattern::positionsOf(const MemberFreedoms& member, int q[4]) const
{
    for (int i = 0; i < 4; ++i)
        q[i] = member.at[i] < 0 ? -1 : position_[u(member.at[i])];
}

// Each member's pairs of free displacements, by column; then sorted and made
// unique, the diagonal of every column included.
void StiffnessPattern::buildUpper(int n, const std::vector<MemberFreedoms>& at)
{
    // Every pair of free displacements a member joins: take(row, column), row < column.
    const auto forEachPair = [&](const auto& take) {
        for (std::size_t m = 1; m < at.size(); ++m) {
            int q[4];
            positionsOf(at[m], q);
            for (int i = 0; i < 4; ++i)
                for (int j = i + 1; j < 4; ++j)
                    if (q[i] >= 0 && q[j] >= 0)
                        take(std::min(q[i], q[j]), std::max(q[i], q[j]));
        }
    };
    std::vector<int> count(u(n) + 1, 1);
    forEachPair([&](int, int column) { ++count[u(column)]; });
    std::vector<int> start(u(n) + 1, 0);
    for (int j = 0; j < n; ++j)
        start[u(j) + 1] = start[u(j)] + count[u(j)];
    std::vector<int> rows(u(start[u(n)])), fill(start.begin(), start.end() - 1);
    for (int j = 0; j < n; ++j)
        rows[u(fill[u(j)]++)] = j;
    forEachPair([&](int row, int column) { rows[u(fill[u(column)]++)] = row; });
    for (int j = 0; j < n; ++j) {
        const auto first = rows.begin() + start[u(j)], last = rows.begin() + start[u(j) + 1];
        std::sort(first, last);
        const auto end = std::unique(first, last);
        for (auto r = first; r != end; ++r)
            upper_.rows.push_back(*r);
        upper_.start.push_back(static_cast<int>(upper_.rows.size()));
    }
    assert(wellFormed(upper_));
}

void StiffnessPattern::findSlots(const std::vector<MemberFreedoms>& at)
{
    const auto entry = [&](int row, int column) {
        const auto first = upper_.rows.begin() + upper_.start[u(column)], last = upper_.rows.begin() + upper_.start[u(column) + 1];
        return static_cast<int>(std::lower_bound(first, last, row) - upper_.rows.begin());
    };
    for (std::size_t m = 1; m < at.size(); ++m) {
        int q[4];
        positionsOf(at[m], q);
        for (int i = 0, pair = 0; i < 4; ++i)
            for (int j = i; j < 4; ++j, ++pair)
                slots_[m][u(pair)] = q[i] < 0 || q[j] < 0 ? -1 : entry(std::min(q[i], q[j]), std::max(q[i], q[j]));
    }
}
