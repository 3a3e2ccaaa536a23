#pragma once

#include <string>
#include <vector>

#include "analysis/NodeLoads.h"
#include "analysis/Precision.h"
#include "kvrfile/TrussFileReader.h"
#include "kvrfile/TrussStructure.h"

// The plane pin-jointed truss of a consistent truss file as the analysis
// sees it: members as bars with a direction and a stiffness, the free
// displacements numbered, the loads on them.

inline constexpr int directions = 2;  // x, y

// Two displacements a node, x then y; the free ones are the unknowns,
// numbered from 0, and the ones a support holds are -1.
class Freedoms {
public:
    explicit Freedoms(const TrussFileContent& t);

    int index(int node, int direction) const { return index_[slot(node, direction)]; }
    int count() const { return static_cast<int>(node_.size()); }
    int nodeOf(int unknown) const { return node_[static_cast<std::size_t>(unknown)]; }
    int directionOf(int unknown) const { return direction_[static_cast<std::size_t>(unknown)]; }
    std::string nameOf(int unknown) const;  // "node 12 in y"
    static std::size_t slot(int node, int direction) { return static_cast<std::size_t>(node * directions + direction); }

private:
    std::vector<int> index_;
    std::vector<int> node_, direction_;
};

// One member as the stiffness method sees it, its numbers in T.
template <class T>
struct Bar {
    int first, second;
    T c, s;       // direction cosines from the first node to the second
    T stiffness;  // E x A / L, kN/m
};

// Computed from the file's Single values in T itself, so that a wider T
// sees the truss more exactly.
template <class T>
std::vector<Bar<T>> barsOf(const TrussFileContent& t)
{
    std::vector<Bar<T>> bars(t.memberRows());
    for (int m = 1; m <= t.noMembers; ++m) {
        const int a = nodeNumber(t, m, MemberColumn::First), b = nodeNumber(t, m, MemberColumn::Second);
        const T dx = T(t.node(b, NodeColumn::X)) - T(t.node(a, NodeColumn::X));
        const T dy = T(t.node(b, NodeColumn::Y)) - T(t.node(a, NodeColumn::Y));
        const T length = squareRoot(dx * dx + dy * dy);
        const T ea = T(t.member(m, MemberColumn::E)) * T(t.member(m, MemberColumn::A));  // kN/mm2 x mm2 = kN
        bars[static_cast<std::size_t>(m)] = {a, b, dx / length, dy / length, ea / length};
    }
    return bars;
}

// The free displacements each member moves: x and y of its first node, then
// of its second; -1 where a support holds them.
struct MemberFreedoms {
    int at[4];
};
std::vector<MemberFreedoms> memberFreedomsOf(const TrussFileContent& t, const Freedoms& freedoms);

// The node loads on the free displacements, kN; a load where a support
// holds its node in its direction goes into the reaction.
template <class T>
std::vector<T> loadsOf(const NodeForces& loads, const Freedoms& freedoms)
{
    std::vector<T> f(static_cast<std::size_t>(freedoms.count()), T(0));
    for (std::size_t n = 1; n < loads.size(); ++n) {
        if (const int x = freedoms.index(int(n), 0); x >= 0)
            f[static_cast<std::size_t>(x)] = T(loads[n].fx);
        if (const int y = freedoms.index(int(n), 1); y >= 0)
            f[static_cast<std::size_t>(y)] = T(loads[n].fy);
    }
    return f;
}
