#pragma once

#include <vector>

#include "analysis/TrussModel.h"

// Member forces and nodal balance in an arithmetic W, as the stiffness
// method and its check both need them. Displacements and out-of-balance
// forces are indexed by unknown; a held displacement is zero.

// kN, tension positive: E A / L times the member's lengthening.
template <class W>
std::vector<W> forcesOf(const std::vector<Bar<W>>& bars, const std::vector<MemberFreedoms>& at, const std::vector<W>& x)
{
    const auto moved = [&](int unknown) { return unknown < 0 ? W(0) : x[static_cast<std::size_t>(unknown)]; };
    std::vector<W> force(bars.size(), W(0));
    for (std::size_t m = 1; m < bars.size(); ++m) {
        const int* q = at[m].at;
        force[m] = bars[m].stiffness * (bars[m].c * (moved(q[2]) - moved(q[0])) + bars[m].s * (moved(q[3]) - moved(q[1])));
    }
    return force;
}

// What each free displacement is left with: its load and the pull of the
// members on it (a member in tension pulls each of its nodes towards the
// other). Zero in equilibrium; the loads less the stiffness matrix times
// the displacements.
template <class W, class F>
std::vector<W> outOfBalance(const std::vector<Bar<W>>& bars, const std::vector<MemberFreedoms>& at, const std::vector<F>& force,
                            std::vector<W> left)
{
    const auto pull = [&](int unknown, W amount) {
        if (unknown >= 0)
            left[static_cast<std::size_t>(unknown)] += amount;
    };
    for (std::size_t m = 1; m < bars.size(); ++m) {
        const int* q = at[m].at;
        const W f = W(force[m]);
        pull(q[0], f * bars[m].c);
        pull(q[1], f * bars[m].s);
        pull(q[2], -f * bars[m].c);
        pull(q[3], -f * bars[m].s);
    }
    return left;
}
