#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/Precision.h"
#include "analysis/SparseLdl.h"

// Iterative refinement: the stiffness equations solved with a factor in
// arithmetic T, the residual of each solution computed in the wider W and
// solved for a correction, until the corrections are too small to matter or
// stop shrinking. The last correction is about the error left: taken margin
// times over, it is the solution's own error estimate. Corrections that grow
// while they still matter show the factor too coarse for the truss, and the
// solution worthless.
template <class W>
struct Refined {
    std::vector<W> x;     // by unknown
    std::vector<W> step;  // the last correction
    bool diverged = false;
    double margin = 10;   // what the last correction is taken times over
    // The second correction against the first: about how far the factor's
    // solutions fall short of the exact ones, before the rounding noise of
    // the residuals sets in. 0 where there was no second.
    double contraction = 0;
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
// digits than its check asks for; ones that grow below the larger share are
// the rounding noise of the residual, not a sign of divergence.
inline constexpr double smallEnough = 1e-13;
inline constexpr double noiseLevel = 1e-11;

// order: where each unknown stands in the factor's elimination order
// (positionOf(unknown)), a StiffnessPattern in the analysis.
template <class T, class W, class Order, class Residual>
Refined<W> refine(const LdlFactor<T>& factor, const Order& pattern, std::vector<W> residual, Residual residualOf, int steps)
{
    const std::size_t n = residual.size();
    Refined<W> r{std::vector<W>(n, W(0)), std::vector<W>(n, W(0))};
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
        const W size = largestOf(r.step), whole = largestOf(r.x);
        if (!std::isfinite(static_cast<double>(size))) {
            r.diverged = true;
            return r;
        }
        if (step == 2)
            r.contraction = static_cast<double>(size / previous);
        if (size <= W(smallEnough) * whole)
            return r;
        if (step > 1 && size > previous / W(2)) {
            // A contraction just below 1 leaves up to ratio / (1 - ratio)
            // corrections more to come.
            const double ratio = static_cast<double>(size / previous);
            r.diverged = ratio > 1 && size > W(noiseLevel) * whole;
            if (ratio < 1)
                r.margin = std::max(r.margin, ratio / (1 - ratio));
            return r;
        }
        previous = size;
        residual = residualOf(r.x);
    }
    return r;
}
