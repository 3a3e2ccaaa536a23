#include "kvrfile/NodeLoads.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// Singles that stand for the same value after the builder's rounding.
bool near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance * std::max(std::fabs(a), std::fabs(b)); }

// Loads sorted along x: equally spaced, equal inside, half of that at both ends.
bool spreadEvenly(const std::vector<std::pair<double, double>>& row, double each, double pitch)
{
    if (row.size() < 2 || !(pitch > 0))
        return false;
    // x is a Single: its rounding grows with the distance from 0.
    const double rounding = 1e-6 * std::max(std::fabs(row.front().first), std::fabs(row.back().first));
    for (std::size_t i = 1; i < row.size(); ++i)
        if (std::fabs(row[i].first - row[i - 1].first - pitch) > 1e-4 * pitch + rounding)
            return false;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const bool end = i == 0 || i + 1 == row.size();
        if (!near(row[i].second, end ? each / 2 : each, 1e-6))
            return false;
    }
    return true;
}

}  // namespace

NodeLoads nodeLoadsOf(const TrussFileContent& t)
{
    NodeLoads loads;
    std::vector<std::pair<double, double>> row;  // x, load
    for (int n = 1; n <= t.noNodes; ++n) {
        const double load = t.node(n, NodeColumn::Load), x = t.node(n, NodeColumn::X);
        if (load == 0.0 || !std::isfinite(load) || !std::isfinite(x))
            continue;
        loads.total += load;
        ++loads.loaded;
        row.emplace_back(x, load);
    }
    if (row.size() < 2)
        return loads;
    std::sort(row.begin(), row.end());
    loads.length = row.back().first - row.front().first;
    loads.pitch = loads.length / static_cast<double>(row.size() - 1);
    loads.each = loads.total / static_cast<double>(row.size() - 1);
    loads.even = spreadEvenly(row, loads.each, loads.pitch);
    return loads;
}
