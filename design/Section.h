#pragma once

#include <string>

// A steel section as the section tables give it and the member checks use
// it, in mm. An EN section's properties are computed from its dimensions by
// the dimension standard's own formulas (corner and root radii included); an
// AISC shape's are those the AISC Manual prints (the mass from its weight per
// foot).

enum class DesignCode { En1993, Aisc360 };

// The families the tables hold. An AISC HSS is square, rectangular or round
// by its shape.
enum class SectionFamily { SHS, RHS, CHS, IPE, HEA, HEB, HSS, W };

enum class SectionShape { RectangularHollow, CircularHollow, I };

// How it was made, which sets the buckling curve (EN 1993-1-1 Table 6.2)
// and, for AISC HSS (ERW, ASTM A500), the design wall thickness.
enum class Manufacture { HotFinished, ColdFormed, Rolled };

struct Section {
    std::string designation;  // as the tables write it: "SHS 100x100x5", "CHS 88.9x4", "IPE 200", "HSS6x6x3/8", "W8X31"
    SectionFamily family = SectionFamily::SHS;
    std::string standard;     // of the dimensions: "EN 10210-2", "EN 10219-2", "EN 10365", "AISC"
    DesignCode code = DesignCode::En1993;
    SectionShape shape = SectionShape::RectangularHollow;
    Manufacture manufacture = Manufacture::HotFinished;

    double h = 0.0;        // depth; a CHS's outside diameter
    double b = 0.0;        // width, an I-section's flange width; a CHS's outside diameter
    double t = 0.0;        // nominal wall thickness, or an I-section's flange thickness
    double tw = 0.0;       // I-section: web thickness
    double tf = 0.0;       // I-section: flange thickness
    double r = 0.0;        // I-section: root radius (AISC W: kdes - tf); hollow: outside corner radius
    double tDesign = 0.0;  // wall thickness of the properties and checks: 0.93 t for AISC HSS (ERW), else t

    double A = 0.0;             // mm2
    double Iy = 0.0, Iz = 0.0;  // mm4; y-y the major axis
    double iy = 0.0, iz = 0.0;  // mm
    double massPerMetre = 0.0;  // kg/m
};
