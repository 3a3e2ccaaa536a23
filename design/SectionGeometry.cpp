#include "design/SectionGeometry.h"

#include <numbers>

namespace {

using std::numbers::pi;

// The spandrel a corner of radius r leaves in the square r by r around it:
// its area, the distance of its centroid from the square's two straight
// sides, and its own second moment about an axis through that centroid
// parallel to a side.
struct Spandrel {
    double area;
    double offset;
    double ownI;
};

Spandrel spandrel(double r)
{
    return {(1.0 - pi / 4.0) * r * r, (10.0 - 3.0 * pi) / (12.0 - 3.0 * pi) * r,
            (1.0 / 3.0 - pi / 16.0 - 1.0 / (3.0 * (12.0 - 3.0 * pi))) * r * r * r * r};
}

// About the axis parallel to width: the full outer rectangle less the inner
// one, less the four outer spandrels, plus the four inner ones (which the
// inner rectangle took away twice).
double hollowI(double depth, double width, double t, double ro, double ri)
{
    const double innerDepth = depth - 2.0 * t;
    const Spandrel outer = spandrel(ro);
    const Spandrel inner = spandrel(ri);
    const double outerArm = depth / 2.0 - outer.offset;
    const double innerArm = innerDepth / 2.0 - inner.offset;
    return (width * depth * depth * depth - (width - 2.0 * t) * innerDepth * innerDepth * innerDepth) / 12.0
           - 4.0 * (outer.ownI + outer.area * outerArm * outerArm) + 4.0 * (inner.ownI + inner.area * innerArm * innerArm);
}

}  // namespace

AreaAndInertia rectangularHollow(double h, double b, double t, double ro, double ri)
{
    return {2.0 * t * (b + h - 2.0 * t) - (4.0 - pi) * (ro * ro - ri * ri), hollowI(h, b, t, ro, ri), hollowI(b, h, t, ro, ri)};
}

AreaAndInertia circularHollow(double d, double t)
{
    const double inner = d - 2.0 * t;
    const double d2 = d * d, inner2 = inner * inner;
    const double I = pi / 64.0 * (d2 * d2 - inner2 * inner2);
    return {pi / 4.0 * (d2 - inner2), I, I};
}

AreaAndInertia rolledI(double h, double b, double tw, double tf, double r)
{
    const Spandrel fillet = spandrel(r);
    const double web = h - 2.0 * tf;
    const double yArm = web / 2.0 - fillet.offset;
    const double zArm = tw / 2.0 + fillet.offset;
    return {2.0 * b * tf + web * tw + 4.0 * fillet.area,
            (b * h * h * h - (b - tw) * web * web * web) / 12.0 + 4.0 * (fillet.ownI + fillet.area * yArm * yArm),
            (2.0 * tf * b * b * b + web * tw * tw * tw) / 12.0 + 4.0 * (fillet.ownI + fillet.area * zArm * zArm)};
}

CornerRadii hotFinishedCorners(double t) { return {1.5 * t, t}; }

CornerRadii coldFormedCorners(double t)
{
    if (t <= 6.0)
        return {2.0 * t, t};
    if (t <= 10.0)
        return {2.5 * t, 1.5 * t};
    return {3.0 * t, 2.0 * t};
}
