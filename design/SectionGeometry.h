#pragma once

// The area and second moments of the three shapes of the section tables,
// from their dimensions, as the dimension standards compute them. Any one
// unit of length; y-y is the axis parallel to the width b (bending with the
// depth h), z-z the one parallel to h.

struct AreaAndInertia {
    double A = 0.0;
    double Iy = 0.0;
    double Iz = 0.0;
};

// A rectangular hollow section with rounded corners, outside radius ro and
// inside radius ri (EN 10210-2 and EN 10219-2, Annex B formulas).
AreaAndInertia rectangularHollow(double h, double b, double t, double ro, double ri);

// A circular hollow section: the annulus, exactly.
AreaAndInertia circularHollow(double d, double t);

// A rolled I with four root fillets of radius r between web and flanges.
AreaAndInertia rolledI(double h, double b, double tw, double tf, double r);

// Corner radii of a hollow section of wall t.
struct CornerRadii {
    double outside = 0.0;
    double inside = 0.0;
};
CornerRadii hotFinishedCorners(double t);  // EN 10210-2: 1.5 t and t
CornerRadii coldFormedCorners(double t);   // EN 10219-2: by t in mm, up to 3 t and 2 t
