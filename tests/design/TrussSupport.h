#pragma once

#include "RecordingSink.h"
#include "design/MemberDesign.h"
#include "truss/clsTruss.h"

// The Pratt truss the generator builds: span 8 m, height 1.5 m, panels of
// 2 m, point loads P (kN) on the top chord, half at its ends.
inline TrussFileContent pratt(std::int16_t panels, float P)
{
    RecordingSink sink;
    clsTruss truss(sink);
    truss.setParameters({.config = clsTruss::prattTruss, .topE = 210, .btmE = 210, .webE = 210, .topA = 1000, .btmA = 1000,
                         .webA = 1000, .loadType = clsTruss::pointLoads, .loadValue = P, .L = 8, .h = 1.5f, .np = panels});
    truss.generate();
    return truss.file();
}

// Hot-finished square hollow sections of EN 10210-2: A (mm2), i (mm), mass (kg/m) as its tables give them.
inline Section shs(const char* name, double b, double t, double A, double i, double mass)
{
    return {name, SectionFamily::SHS, "EN 10210-2", DesignCode::En1993, SectionShape::RectangularHollow, Manufacture::HotFinished,
            b, b, t, 0, 0, 1.5 * t, t, A, A * i * i, A * i * i, i, i, mass};
}
inline const Section shs50 = shs("SHS 50x50x3", 50, 3, 554, 18.8, 4.35);
inline const Section shs60 = shs("SHS 60x60x4", 60, 4, 879, 22.7, 6.90);
inline const Section shs100 = shs("SHS 100x100x5", 100, 5, 1870, 38.6, 14.7);
