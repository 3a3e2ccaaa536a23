#pragma once

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "design/Section.h"

// Sections as the tests enter them by hand, from published tables.

// A rolled I-section by its dimensions (mm), area (mm2) and radii of gyration (mm).
inline Section rolledI(const char* name, double h, double b, double tw, double tf, double r, double A, double iy, double iz,
                       DesignCode code = DesignCode::En1993)
{
    Section s{name, SectionFamily::HEB, "", code, SectionShape::I, Manufacture::Rolled, h, b, tf, tw, tf, r, tf, A, 0, 0, iy, iz, 0};
    s.Iy = A * iy * iy;
    s.Iz = A * iz * iz;
    return s;
}

// A hollow section: h x b x t (mm), design wall tDesign, area, radii, mass (kg/m).
inline Section hollow(const char* name, SectionShape shape, Manufacture made, double h, double b, double t, double tDesign,
                      double A, double iy, double iz, double mass, DesignCode code = DesignCode::En1993)
{
    return {name, SectionFamily::SHS, "", code, shape, made, h, b, t, 0, 0, 1.5 * t, tDesign, A, A * iy * iy, A * iz * iz, iy, iz, mass};
}

// A published figure, as printed: "0.655". Empty: the source gives none.
// It stands for any value within half a unit of its last digit, and 1e-4 more
// for the rounding of the figures it was worked from.
inline ::testing::AssertionResult matchesPublished(double actual, const char* published)
{
    const std::string text(published);
    if (text.empty())
        return ::testing::AssertionSuccess();
    const std::size_t point = text.find('.');
    const int decimals = point == std::string::npos ? 0 : int(text.size() - point - 1);
    const double value = std::stod(text);
    if (std::fabs(actual - value) <= 0.5 * std::pow(10.0, -decimals) + 1e-4 * std::fabs(value))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not " << text;
}
