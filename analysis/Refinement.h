#pragma once

#include <cmath>
#include <vector>

#include "analysis/Precision.h"
#include "analysis/SparseLdl.h"
#include "analysis/StiffnessPattern.h"

// Iterative refinement: the stiffness equations solved with a factor in
// arithmetic T, the residual of each solution computed in the wider W and
// solved for a correction, until the corrections are too small to matter or
// stop shrinking. The last correction is about the error left: it is the
// solution's own error estimate. Where the corrections grow, the factor is
// too coarse for the truss, and the solution is worthless.
template <class W>
struct Refined {
    std::vector<W> x;     // by unknown
    std::vector<W> step;  // the last correction
    bool diverged = false;
};

template <class W>
W largestOf(const std::vector<W>& v)
{
    W largest = W(0);
    for (const W& e : v)
        if (magnitude(e) > largest)
            largest = magnitude(e);
    return largest;
}

// Corrections below this share of the solution leave it good to far more
// digits than its check asks for.
inline constexpr double smallEnough = 1e-13;

template <class T, class W, class Residual>
Refined<W> refine(const LdlFactor<T>& factor, const StiffnessPattern& pattern, std::vector<W> residual, Residual residualOf,
                  int steps)
{
    const std::size_t n = residual.size();
    Refined<W> r{std::vector<W>(n, W(0)), std::vector<W>(n, W(0)), false};
    std::vector<T> work(n);
    const auto at = [&](std::size_t unknown) { return static_cast<std::size_t>(pattern.positionOf(static_cast<int>(unknown))); };
    W previous = W(0);
    for (int step = 1; step <= steps; ++step) {
        for (std::size_t i = 0; i < n; ++i)
            work[at(i)] = T(residual[i]);
        factor.solve(work);
        for (std::size_t i = 0; i < n; ++i) {
            r.step[i] = W(work[at(i)]);
            r.x[i] += r.step[i];
        }
        const W size = largestOf(r.step);
        if (!std::isfinite(static_cast<double>(size)) || (step > 1 && size > previous)) {
            r.diverged = true;
            return r;
        }
        if (size <= W(smallEnough) * largestOf(r.x) || (step > 1 && size > previous / W(2)))
            return r;
        previous = size;
        residual = residualOf(r.x);
    }
    return r;
}
