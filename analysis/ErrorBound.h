#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>
#include <vector>

#include "analysis/Equilibrium.h"
#include "analysis/NormEstimate.h"
#include "analysis/Refinement.h"
#include "analysis/TrussSystem.h"

// What the error of a refined solution x can be at most, against the exact
// solution x* of the truss exactly as the file gives it, after LAPACK's
// forward error bound (xPORFS's FERR). The residual r of x, computed in W,
// is the exact residual b - K x but for the rounding of its computation and
// of the members' directions and stiffnesses from the file's Singles. Of
// that rounding, what a member's force takes on is the same, equal and
// opposite, at both its ends: r + G e - K x differs from b by at most h at
// each unknown, where
//     e (by member) = 16 u E A / L (|c| |dx| + |s| |dy|),
//     h (by unknown) = (terms + 16) u (|b| + sum of |f c| or |f s| at its node),
// G the members' pulls at the nodes per unit force, u W's rounding, dx, dy
// a member's ends' displacements' differences, f its force, terms the
// numbers summed at the node. (The bar's direction and stiffness in W carry
// at most 5.5 u, a force 14 u of E A / L (|c| |dx| + |s| |dy|), as a
// difference is rounded relative to itself however large the displacements
// it is taken of; a pull another 6.5 u of itself, a sum u for each term.)
// So x - x* = -K^-1 (r + G e' + h') for some |e'| <= e, |h'| <= h, and
//     |x - x*| <= |K^-1 r| + |K^-1 G| e + |K^-1| h.
// K^-1 r is computed: one more solution with the factor, d. The largest
// entry of the rest is || K^-1 [G diag(e), diag(h)] ||_inf, the 1-norm of
// its transpose; the member forces F x (F: E A / L times the lengthening)
// err by F (x - x*), at most |F d| and || F K^-1 [G diag(e), diag(h)] ||_inf.
// Both 1-norms are estimated from a few solutions with the factor
// (NormEstimate.h), about ten in all: cheap beside the factorisation
// wherever it costs. (LAPACK takes |K^-1| (|r| + gamma |K| |x|) whole: the
// refinement may stop where r is not yet noise, and a member's rounding,
// self-balanced, moves a long truss far less than loads of its size at
// its ends would; each of those alone overstates the error of a long
// shallow truss by as much as its condition, 10^7 to 10^10 on the
// generated ones.)
//
// The estimates are taken three times over, as the estimator can fall short
// of the norm (Higham found it exact or within a factor of 3 almost
// always), and everything 1 / (1 - rho) times, rho the refinement's
// contraction: the factor's solutions are K^-1's only to within it.
//
// A reaction, computed from the forces, differs from one computed from the
// exact forces F x of x by the roundings of those forces, and those from
// the exact solution's by statics alone: the member forces of any x leave
// the reactions balancing the loads and the residual b - K x, so the
// reactions err by S (b - K x), S the statics of the pin and the roller:
// at most |S r| + |S| h and the share of e at the supports, without a
// solution.
struct ErrorBounds {
    double displacement = 0;  // m: of every displacement in W
    double force = 0;         // kN: of every F x, beside the rounding of its computation (forceRoundings) and to double
    // kN: of each reaction, by Freedoms::slot, beside the roundings of the
    // forces it sums and of its sum; 0 where nothing holds the node.
    std::vector<double> reaction;
};

inline constexpr double estimateSafety = 3;
inline constexpr int nodeRoundings = 16;   // units of W's rounding at a node, and one more per term summed there
inline constexpr int forceRoundings = 16;  // units of W's rounding of E A / L lengtheningSize, in computing a force

// |c| |dx| + |s| |dy| of a member, dx and dy what its ends' displacements
// differ by: the size of the terms of its lengthening.
template <class W>
W lengtheningSize(const Bar<W>& bar, const int* q, const std::vector<W>& x)
{
    const auto moved = [&](int unknown) { return unknown < 0 ? W(0) : x[static_cast<std::size_t>(unknown)]; };
    return magnitude(bar.c) * magnitude(moved(q[2]) - moved(q[0])) + magnitude(bar.s) * magnitude(moved(q[3]) - moved(q[1]));
}

// The roundings of the numbers the check sums: e of each member's force
// (members from 0), h of the sum of forces at each unknown.
struct Roundings {
    std::vector<double> e, h;
};

template <class W>
Roundings roundingsOf(const std::vector<Bar<W>>& bars, const std::vector<MemberFreedoms>& at, const std::vector<W>& loads,
                      const Refined<W>& r, const std::vector<W>& force)
{
    const std::size_t n = loads.size(), members = bars.size() - 1;
    const auto u = [](int i) { return static_cast<std::size_t>(i); };
    const W rounding = roundingOf<W>();
    std::vector<W> sizes(n);
    std::vector<int> terms(n, 1);
    std::vector<double> e(members), h(n);
    for (std::size_t i = 0; i < n; ++i)
        sizes[i] = magnitude(loads[i]);
    for (std::size_t m = 1; m <= members; ++m) {
        const Bar<W>& bar = bars[m];
        const int* q = at[m].at;
        const W share[2] = {magnitude(bar.c), magnitude(bar.s)};
        for (int k = 0; k < 4; ++k)
            if (q[k] >= 0) {
                sizes[u(q[k])] += share[k % 2] * magnitude(force[m]);
                ++terms[u(q[k])];
            }
        e[m - 1] = static_cast<double>(W(forceRoundings) * rounding * bar.stiffness * lengtheningSize(bar, q, r.x));
    }
    for (std::size_t i = 0; i < n; ++i)
        h[i] = static_cast<double>(W(terms[i] + nodeRoundings) * rounding * sizes[i]);
    return {std::move(e), std::move(h)};
}

// The reactions by statics: S = E_held^-1 E_free, E a displacement's share
// in the sums of forces in x and y and of the moment about the pin, held
// the pin's x and y and the roller's y. left: what the forces leave
// unbalanced at each unknown; plain: the members from 0, in double.
template <class W>
void boundReactions(const TrussSystem& s, const std::vector<W>& left, const std::vector<double>& e, const std::vector<double>& h,
                    const std::vector<Bar<double>>& plain, std::vector<double>& reaction)
{
    const std::size_t n = left.size(), members = plain.size();
    const TrussFileContent& t = s.truss;
    int pin = 0, roller = 0;
    for (int node = 1; node <= t.noNodes; ++node) {
        if (t.node(node, NodeColumn::Support) == SupportCode::Pin)
            pin = node;
        else if (t.node(node, NodeColumn::Support) == SupportCode::Roller)
            roller = node;
    }
    const auto fromPin = [&](int node, int column) { return double(t.node(node, column)) - double(t.node(pin, column)); };
    const double arm = pin > 0 && roller > 0 ? fromPin(roller, NodeColumn::X) : 0.0;  // not 0: else the truss turns about the pin
    const std::size_t held[3] = {Freedoms::slot(pin, 0), Freedoms::slot(pin, 1), Freedoms::slot(roller, 1)};
    double computed[3] = {0, 0, 0}, rounded[3] = {0, 0, 0};
    for (std::size_t i = 0; i < n; ++i) {
        const int node = s.freedoms.nodeOf(int(i));
        const double across = fromPin(node, NodeColumn::X), up = fromPin(node, NodeColumn::Y);
        const bool inX = s.freedoms.directionOf(int(i)) == 0;
        const double column[3] = {inX ? 1.0 : 0.0, inX ? up / arm : 1 - across / arm, inX ? -up / arm : across / arm};
        for (int j = 0; j < 3; ++j) {
            computed[j] += column[j] * static_cast<double>(left[i]);
            rounded[j] += std::fabs(column[j]) * h[i];
        }
    }
    for (std::size_t m = 0; m < members; ++m)
        for (const int node : {plain[m].first, plain[m].second})
            for (int j = 0; j < 3; ++j)
                if (held[j] == Freedoms::slot(node, j == 0 ? 0 : 1))
                    rounded[j] += std::fabs(j == 0 ? plain[m].c : plain[m].s) * e[m];
    for (int j = 0; j < 3; ++j)
        reaction[held[j]] = arm != 0 ? std::fabs(computed[j]) + rounded[j] : HUGE_VAL;
}

// The maps the bounds are made of, in the factor's order of the unknowns,
// in double, members numbered from 0, into vectors kept: K^-1 x in place;
// x += G (scale f); f = scale G^T x; and [G diag(e), diag(h)] z and its
// transpose times x, z the members' e then the unknowns' h.
template <class T>
class BoundMaps {
public:
    template <class W>
    BoundMaps(const TrussSystem& s, const LdlFactor<T>& factor, const std::vector<Bar<W>>& bars, const std::vector<double>& e,
              const std::vector<double>& h)
        : plain(bars.size() - 1), stiffness(bars.size() - 1), s_(s), factor_(factor), e_(e), moves_(bars.size() - 1),
          hAt_(h.size()), work_(h.size())
    {
        for (std::size_t m = 1; m <= plain.size(); ++m) {
            plain[m - 1] = {bars[m].first, bars[m].second, static_cast<double>(bars[m].c), static_cast<double>(bars[m].s),
                            static_cast<double>(bars[m].stiffness)};
            stiffness[m - 1] = plain[m - 1].stiffness;
            for (int j = 0; j < 4; ++j)
                moves_[m - 1][u(j)] = position(s.at[m].at[j]);
        }
        for (std::size_t i = 0; i < h.size(); ++i)
            hAt_[u(position(int(i)))] = h[i];
    }

    int position(int unknown) const { return unknown < 0 ? -1 : s_.pattern.positionOf(unknown); }

    void solve(std::vector<double>& x)
    {
        if constexpr (std::is_same_v<T, double>)
            factor_.solve(x);
        else {
            std::copy(x.begin(), x.end(), work_.begin());
            factor_.solve(work_);
            for (std::size_t i = 0; i < work_.size(); ++i)
                x[i] = static_cast<double>(work_[i]);
        }
    }
    void pull(const double* f, const std::vector<double>& scale, std::vector<double>& x) const
    {
        for (std::size_t m = 0; m < plain.size(); ++m) {
            const double size = scale[m] * f[m], share[4] = {-plain[m].c, -plain[m].s, plain[m].c, plain[m].s};
            for (int j = 0; j < 4; ++j)
                if (const int q = moves_[m][u(j)]; q >= 0)
                    x[u(q)] += size * share[j];
        }
    }
    void lengthen(const std::vector<double>& x, const std::vector<double>& scale, double* f) const
    {
        for (std::size_t m = 0; m < plain.size(); ++m) {
            const auto moved = [&](int j) { return moves_[m][u(j)] < 0 ? 0.0 : x[u(moves_[m][u(j)])]; };
            f[m] = scale[m] * (plain[m].c * (moved(2) - moved(0)) + plain[m].s * (moved(3) - moved(1)));
        }
    }
    void spread(const std::vector<double>& z, std::vector<double>& x) const
    {
        for (std::size_t i = 0; i < hAt_.size(); ++i)
            x[i] = hAt_[i] * z[plain.size() + i];
        pull(z.data(), e_, x);
    }
    void gather(const std::vector<double>& x, std::vector<double>& z) const
    {
        lengthen(x, e_, z.data());
        for (std::size_t i = 0; i < hAt_.size(); ++i)
            z[plain.size() + i] = hAt_[i] * x[i];
    }

    std::vector<Bar<double>> plain;
    std::vector<double> stiffness;

private:
    static std::size_t u(int i) { return static_cast<std::size_t>(i); }

    const TrussSystem& s_;
    const LdlFactor<T>& factor_;
    const std::vector<double>& e_;
    std::vector<std::array<int, 4>> moves_;  // the unknowns each member moves, -1 where held
    std::vector<double> hAt_;
    std::vector<T> work_;
};

// force: the members' forces of r.x, as forcesOf gives them.
template <class T, class W>
ErrorBounds errorBoundsOf(const TrussSystem& s, const LdlFactor<T>& factor, const std::vector<Bar<W>>& bars,
                          const std::vector<W>& loads, const Refined<W>& r, const std::vector<W>& force)
{
    const std::size_t n = loads.size(), members = bars.size() - 1, slots = s.truss.nodeRows() * directions;  // bars[0] is no member
    if (n == 0 || members == 0)
        return {0, 0, std::vector<double>(slots, 0.0)};
    if (!(r.contraction < 1))
        return {HUGE_VAL, HUGE_VAL, std::vector<double>(slots, HUGE_VAL)};
    const std::vector<MemberFreedoms>& at = s.at;
    const auto u = [](int i) { return static_cast<std::size_t>(i); };

    const Roundings roundings = roundingsOf(bars, at, loads, r, force);
    const std::vector<double>&e = roundings.e, &h = roundings.h;

    BoundMaps<T> maps(s, factor, bars, e, h);
    std::vector<double> x(n);

    // d = K^-1 r, and its forces.
    const std::vector<W> left = outOfBalance(bars, at, force, loads);
    std::vector<double> d(n), dForce(members);
    for (std::size_t i = 0; i < n; ++i)
        d[u(maps.position(int(i)))] = static_cast<double>(left[i]);
    maps.solve(d);
    maps.lengthen(d, maps.stiffness, dForce.data());

    const double displacementEstimate = oneNormEstimate(
        members + n, n,
        [&](const std::vector<double>& v, std::vector<double>& z) {
            x = v;
            maps.solve(x);
            maps.gather(x, z);
        },
        [&](const std::vector<double>& z, std::vector<double>& v) {
            maps.spread(z, v);
            maps.solve(v);
        });
    const double forceEstimate = oneNormEstimate(
        members + n, members,
        [&](const std::vector<double>& f, std::vector<double>& z) {
            std::fill(x.begin(), x.end(), 0.0);
            maps.pull(f.data(), maps.stiffness, x);
            maps.solve(x);
            maps.gather(x, z);
        },
        [&](const std::vector<double>& z, std::vector<double>& f) {
            maps.spread(z, x);
            maps.solve(x);
            maps.lengthen(x, maps.stiffness, f.data());
        });

    const double inexact = 1 / (1 - r.contraction);
    ErrorBounds bounds{inexact * (largestOf(d) + estimateSafety * displacementEstimate),
                       inexact * (largestOf(dForce) + estimateSafety * forceEstimate),
                       std::vector<double>(slots, 0.0)};
    boundReactions(s, left, e, h, maps.plain, bounds.reaction);
    return bounds;
}
