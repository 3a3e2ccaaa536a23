#include "kvrfile/TrussVocabulary.h"

#include <algorithm>
#include <cmath>
#include <iterator>

Extent extentOf(const TrussFileContent& truss)
{
    Extent e;
    for (int n = 1; n <= truss.noNodes; ++n) {
        const double x = truss.node(n, NodeColumn::X), y = truss.node(n, NodeColumn::Y);
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        if (e.empty)
            e = {x, x, y, y, false};
        e.xMin = std::min(e.xMin, x);
        e.xMax = std::max(e.xMax, x);
        e.yMin = std::min(e.yMin, y);
        e.yMax = std::max(e.yMax, y);
    }
    return e;
}

Supports supportsOf(const TrussFileContent& truss)
{
    Supports s;
    for (int n = 1; n <= truss.noNodes; ++n) {
        const float code = truss.node(n, NodeColumn::Support);
        if (code == SupportCode::Pin)
            s.pins.push_back(n);
        else if (code == SupportCode::Roller)
            s.rollers.push_back(n);
    }
    return s;
}

std::vector<int> Supports::nodes() const
{
    std::vector<int> all;
    std::merge(pins.begin(), pins.end(), rollers.begin(), rollers.end(), std::back_inserter(all));
    return all;
}
