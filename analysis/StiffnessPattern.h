#pragma once

#include <array>
#include <vector>

#include "analysis/SparseLdl.h"
#include "analysis/TrussModel.h"

// Where the stiffness matrix of the free displacements has entries, in the
// order in which its factorisation eliminates them: a minimum-degree order
// of the nodes (Eigen's AMD), each node's x before its y, which keeps the
// factor of a long truss banded.
class StiffnessPattern {
public:
    StiffnessPattern(const TrussFileContent& t, const Freedoms& freedoms, const std::vector<MemberFreedoms>& at);

    const SymmetricPattern& upper() const { return upper_; }
    int positionOf(int unknown) const { return position_[static_cast<std::size_t>(unknown)]; }
    int unknownAt(int position) const { return unknown_[static_cast<std::size_t>(position)]; }

    // The upper triangle's values, the sum over the members of
    // E A / L g g^T, g the member's lengthening per unit displacement;
    // weight(member, bar) gives each member's E A / L.
    template <class T, class Weight>
    std::vector<T> values(const std::vector<Bar<T>>& bars, Weight weight) const
    {
        std::vector<T> v(upper_.rows.size(), T(0));
        for (std::size_t m = 1; m < bars.size(); ++m) {
            const Bar<T>& bar = bars[m];
            const T g[4] = {-bar.c, -bar.s, bar.c, bar.s};
            const T k = weight(m, bar);
            const std::array<int, pairs>& slot = slots_[m];
            for (int i = 0, pair = 0; i < 4; ++i)
                for (int j = i; j < 4; ++j, ++pair)
                    if (slot[static_cast<std::size_t>(pair)] >= 0)
                        v[static_cast<std::size_t>(slot[static_cast<std::size_t>(pair)])] += k * g[i] * g[j];
        }
        return v;
    }

private:
    void positionsOf(const MemberFreedoms& member, int q[4]) const;  // each freedom's position, -1 where it is held
    void buildUpper(int n, const std::vector<MemberFreedoms>& at);
    void findSlots(const std::vector<MemberFreedoms>& at);

    static constexpr int pairs = 10;  // of a member's 4 freedoms, each with itself and the later ones

    std::vector<int> position_, unknown_;
    SymmetricPattern upper_;
    std::vector<std::array<int, pairs>> slots_;  // per member: the entry of each pair, -1 where one is held
};
