#include "analysis/SparseLdl.h"

FactorShape factorShape(const SymmetricPattern& pattern, std::int64_t entryLimit)
{
    assert(wellFormed(pattern));
    const int n = pattern.size();
    const auto u = [](int i) { return static_cast<std::size_t>(i); };
    FactorShape shape;
    shape.parent.assign(u(n), -1);
    shape.below.assign(u(n), 0);
    std::vector<int> flag(u(n), -1);
    // Row k of L reaches every column on the tree paths from the rows of
    // column k up to k: each step of the walk is one entry of L.
    for (int k = 0; k < n; ++k) {
        flag[u(k)] = k;
        for (int p = pattern.start[u(k)]; p < pattern.start[u(k) + 1]; ++p)
            for (int i = pattern.rows[u(p)]; flag[u(i)] != k; i = shape.parent[u(i)]) {
                if (shape.parent[u(i)] == -1)
                    shape.parent[u(i)] = k;
                ++shape.below[u(i)];
                flag[u(i)] = k;
                if (++shape.entries > entryLimit)
                    return shape;
            }
    }
    for (const int count : shape.below)
        shape.operations += double(count) * (double(count) + 3.0) / 2.0 + double(count);
    shape.counted = true;
    return shape;
}
