#include "analysis/Deflection.h"

#include <cmath>

#include "kvrfile/TrussVocabulary.h"

Deflection deflectionOf(const TrussFileContent& t, const TrussSolution& s)
{
    Deflection d;
    for (int n = 1; n <= t.noNodes; ++n) {
        const NodeResult& r = s.nodes[static_cast<std::size_t>(n)];
        if (const double size = std::hypot(r.ux, r.uy); size > d.largest) {
            d.largest = size;
            d.largestAt = n;
        }
        if (std::fabs(r.uy) > std::fabs(d.vertical)) {
            d.vertical = r.uy;
            d.verticalAt = n;
        }
    }
    // A solved truss has passed the check: one pin, one roller, every node in place.
    const Supports supports = supportsOf(t);
    const auto xOf = [&](int n) { return n == 0 ? 0.0 : double(t.node(n, NodeColumn::X)); };
    d.span = std::fabs(xOf(supports.roller()) - xOf(supports.pin()));
    d.size = extentOf(t).size();
    return d;
}
