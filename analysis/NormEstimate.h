#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// The 1-norm (the largest column sum of magnitudes) of a matrix B known
// only by its products B v and B^T w, estimated in a few of each: Hager's
// method as Higham refined it (ACM TOMS 14, 1988; LAPACK's dlacn2). Every
// estimate is the 1-norm of B times a vector of 1-norm 1, so never above
// ||B||_1 but for rounding; Higham found it exact, or within a factor of 3,
// almost always. B is rows x columns; times(v, y) sets y = B v,
// transposeTimes(w, z) sets z = B^T w, both into vectors already of their
// size (the products run on long vectors, and these are kept).
template <class Times, class TransposeTimes>
double oneNormEstimate(std::size_t rows, std::size_t columns, Times times, TransposeTimes transposeTimes)
{
    using Vector = std::vector<double>;
    if (rows == 0 || columns == 0)
        return 0;
    const auto sizeOf = [](const Vector& v) {
        double sum = 0;
        for (const double e : v)
            sum += std::fabs(e);
        return sum;
    };
    const auto signsOf = [](const Vector& v, Vector& s) {
        for (std::size_t i = 0; i < v.size(); ++i)
            s[i] = v[i] < 0 ? -1.0 : 1.0;
    };
    const auto largestAt = [](const Vector& v) {
        return static_cast<std::size_t>(std::max_element(v.begin(), v.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); })
                                        - v.begin());
    };

    Vector x(columns, 1.0 / double(columns)), y(rows), signs(rows), next(rows), z(columns);
    times(x, y);
    double estimate = sizeOf(y);
    if (columns == 1)
        return estimate;
    signsOf(y, signs);
    transposeTimes(signs, z);
    std::size_t j = largestAt(z);
    // Up to four columns of B, each the one that the last gradient z says
    // grows the sum most, while the sum grows and the signs change.
    for (int iteration = 2; iteration <= 5; ++iteration) {
        std::fill(x.begin(), x.end(), 0.0);
        x[j] = 1;
        times(x, y);
        const double size = sizeOf(y);
        signsOf(y, next);
        const bool converged = next == signs || size <= estimate;
        estimate = std::max(estimate, size);
        if (converged)
            break;
        signs.swap(next);
        transposeTimes(signs, z);
        const std::size_t last = j;
        j = largestAt(z);
        if (z[last] == std::fabs(z[j]))
            break;
    }
    // Against the matrices that lead the iteration astray: alternating
    // signs of growing size, 1-norm 3n/2.
    for (std::size_t i = 0; i < columns; ++i)
        x[i] = (i % 2 == 0 ? 1.0 : -1.0) * (1.0 + double(i) / double(columns - 1));
    times(x, y);
    return std::max(estimate, 2.0 * sizeOf(y) / (3.0 * double(columns)));
}
