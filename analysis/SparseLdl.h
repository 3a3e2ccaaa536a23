#pragma once

#include <cassert>
#include <cstdint>
#include <span>
#include <vector>

// A symmetric matrix's factorisation L D L^T in a fixed order, without
// pivoting, after T. A. Davis's up-looking LDL. The symbolic pass walks the
// elimination tree and counts the entries of every column of L before a
// single number is computed, so that the size and the cost of the
// factorisation are known, and can be refused, in advance. The numeric pass
// is one template for every arithmetic the analysis uses: double, the wider
// floating types, and exact arithmetic modulo a prime.

// The upper triangle of an n x n symmetric matrix, column by column,
// already in elimination order (compressed columns):
//   start  size n + 1: start[0] = 0, non-decreasing, start[n] = rows.size();
//          column j's entries are rows[start[j] .. start[j + 1]).
//   rows   size start[n]: the row i <= j of each entry of column j, strictly
//          increasing within the column, the diagonal j last (every column
//          holds its diagonal, even where its value is 0).
// The values of a matrix of this pattern are a separate array of size
// start[n], entry by entry in the order of rows.
struct SymmetricPattern {
    std::vector<int> start{0};
    std::vector<int> rows;
    int size() const { return static_cast<int>(start.size()) - 1; }
};

// Whether pattern is as SymmetricPattern describes; for the debug builds'
// assertions, as it reads every entry.
inline bool wellFormed(const SymmetricPattern& pattern)
{
    const int n = pattern.size();
    if (n < 0 || pattern.start[0] != 0 || static_cast<std::size_t>(pattern.start.back()) != pattern.rows.size())
        return false;
    for (int j = 0; j < n; ++j) {
        const int first = pattern.start[static_cast<std::size_t>(j)], end = pattern.start[static_cast<std::size_t>(j) + 1];
        if (end <= first || pattern.rows[static_cast<std::size_t>(end - 1)] != j)
            return false;
        for (int p = first + 1; p < end; ++p)
            if (pattern.rows[static_cast<std::size_t>(p - 1)] >= pattern.rows[static_cast<std::size_t>(p)]
                || pattern.rows[static_cast<std::size_t>(p - 1)] < 0)
                return false;
    }
    return true;
}

// The symbolic factorisation of a pattern of n columns:
//   parent    size n: the elimination tree, parent[j] the first row below j
//             in column j of L; -1 at a root.
//   below     size n: how many entries column j of L holds below its
//             diagonal; their sum is entries.
//   entries   of L below the diagonal, all columns; LdlFactor holds this many.
//   operations  multiply-adds of the numeric pass, about.
//   counted   false: the count stopped at its limit, and parent and below
//             are partial; such a shape is not for factorising.
struct FactorShape {
    std::vector<int> parent;
    std::vector<int> below;
    std::int64_t entries = 0;
    double operations = 0;
    bool counted = false;
};

// Stops counting, and leaves counted false, once L would hold more than
// entryLimit entries: its cost is then bounded by the limit too.
// pattern: wellFormed.
FactorShape factorShape(const SymmetricPattern& pattern, std::int64_t entryLimit);

// What a pivot must be for the factorisation to go on: positive for the
// floating types (the matrix is positive definite), not zero for a residue.
template <class T>
bool usablePivot(const T& d)
{
    return d > T(0);
}

template <class T>
T inverseOf(const T& d)
{
    return T(1) / d;
}

template <class T>
class LdlFactor {
public:
    // Factorises the matrix whose upper triangle holds values, in the order
    // of pattern.rows. Returns the first column whose pivot is not usable,
    // or -1 when every pivot is; the factor is then complete, and solve may
    // be called. Expects, and asserts in debug builds:
    //   pattern  wellFormed, of n columns;
    //   shape    factorShape(pattern, ...) with counted true: parent and
    //            below of size n (the factor's storage is laid out from
    //            below, and an entry beyond it would write out of bounds);
    //   values   size pattern.rows.size().
    // The factor: for each column j of L, its rows below the diagonal (in
    // increasing order) and their values, below[j] of them; the pivots D,
    // size n.
    int factorise(const SymmetricPattern& pattern, const FactorShape& shape, std::span<const T> values)
    {
        const int n = pattern.size();
        assert(wellFormed(pattern));
        assert(shape.counted && shape.parent.size() == u(n) && shape.below.size() == u(n));
        assert(values.size() == pattern.rows.size());
        layOut(shape, n);
        std::vector<T> inverse(u(n), T(0)), y(u(n), T(0));
        std::vector<int> filled(u(n), 0), flag(u(n), -1), path(u(n), 0);
        for (int k = 0; k < n; ++k) {
            int top = scatterColumn(k, pattern, shape, values, y, flag, path);
            T d = y[u(k)];
            y[u(k)] = T(0);
            for (; top < n; ++top) {
                const int i = path[u(top)];
                const T yi = y[u(i)];
                y[u(i)] = T(0);
                const int end = start_[u(i)] + filled[u(i)];
                for (int p = start_[u(i)]; p < end; ++p)
                    y[u(rows_[u(p)])] -= factor_[u(p)] * yi;
                const T l = yi * inverse[u(i)];
                d -= l * yi;
                rows_[u(end)] = k;
                factor_[u(end)] = l;
                ++filled[u(i)];
            }
            pivot_[u(k)] = d;
            if (!usablePivot(d))
                return k;
            inverse[u(k)] = inverseOf(d);
        }
        return -1;
    }

    // Solves L D L^T x = b in place, b and x of size n in elimination
    // order, after a factorise that returned -1.
    void solve(std::vector<T>& x) const
    {
        const int n = static_cast<int>(pivot_.size());
        assert(x.size() == pivot_.size());
        for (int j = 0; j < n; ++j)
            for (int p = start_[u(j)]; p < start_[u(j) + 1]; ++p)
                x[u(rows_[u(p)])] -= factor_[u(p)] * x[u(j)];
        for (int j = 0; j < n; ++j)
            x[u(j)] /= pivot_[u(j)];
        for (int j = n - 1; j >= 0; --j)
            for (int p = start_[u(j)]; p < start_[u(j) + 1]; ++p)
                x[u(j)] -= factor_[u(p)] * x[u(rows_[u(p)])];
    }

private:
    static std::size_t u(int i) { return static_cast<std::size_t>(i); }

    // Room for L, column j holding below[j] entries, and for D.
    void layOut(const FactorShape& shape, int n)
    {
        start_.assign(static_cast<std::size_t>(n) + 1, 0);
        for (int j = 0; j < n; ++j)
            start_[u(j) + 1] = start_[u(j)] + shape.below[u(j)];
        rows_.assign(static_cast<std::size_t>(start_[u(n)]), 0);
        factor_.assign(rows_.size(), T(0));
        pivot_.assign(u(n), T(0));
    }

    // Adds column k's values into y, and leaves the pattern of row k of L
    // in path[top .. n): the paths up the elimination tree from the rows of
    // column k, in topological order. Returns top.
    static int scatterColumn(int k, const SymmetricPattern& pattern, const FactorShape& shape, std::span<const T> values,
                             std::vector<T>& y, std::vector<int>& flag, std::vector<int>& path)
    {
        const int n = pattern.size();
        int top = n;
        flag[u(k)] = k;
        for (int p = pattern.start[u(k)]; p < pattern.start[u(k) + 1]; ++p) {
            int i = pattern.rows[u(p)];
            y[u(i)] += values[u(p)];
            int length = 0;
            for (; flag[u(i)] != k; i = shape.parent[u(i)]) {
                path[u(length++)] = i;
                flag[u(i)] = k;
            }
            while (length > 0)
                path[u(--top)] = path[u(--length)];
        }
        return top;
    }

    // L column by column, below the diagonal; D.
    std::vector<int> start_, rows_;
    std::vector<T> factor_, pivot_;
};
