#include "analysis/Deflection.h"

#include <algorithm>
#include <cmath>

Deflection deflectionOf(const TrussFileContent& t, const TrussSolution& s)
{
    Deflection d;
    float pinX = 0, rollerX = 0;
    float low = t.node(1, NodeColumn::X), high = low, bottom = t.node(1, NodeColumn::Y), top = bottom;
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
        const float x = t.node(n, NodeColumn::X), y = t.node(n, NodeColumn::Y), code = t.node(n, NodeColumn::Support);
        if (code == SupportCode::Pin)
            pinX = x;
        else if (code == SupportCode::Roller)
            rollerX = x;
        low = std::min(low, x);
        high = std::max(high, x);
        bottom = std::min(bottom, y);
        top = std::max(top, y);
    }
    d.span = std::fabs(double(rollerX) - pinX);
    d.size = std::max(double(high) - low, double(top) - bottom);
    return d;
}
