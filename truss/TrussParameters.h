#pragma once

#include <cstdint>
#include <limits>

// What the engineer enters for one truss, in the units entered: lengths in m,
// E in kN/mm2, areas in mm2, P in kN, w in kN/m. A new set is all zeros, as a
// new truss object is.
struct TrussParameters {
    std::int32_t config = 0;  // web configuration: a TrussType code, 1 = Pratt truss
    float topE = 0.0f, btmE = 0.0f, webE = 0.0f;
    float topA = 0.0f, btmA = 0.0f, webA = 0.0f;
    std::int32_t loadType = 0;  // 1 = UDL w on the top chord, 2 = nodal point loads P
    float loadValue = 0.0f;
    float L = 0.0f;  // span
    float h = 0.0f;  // height
    std::int16_t np = 0;  // web panels

    // The largest panel count whose member count, 4 x np + 2 for an odd
    // count, still fits the 16-bit count of the truss file.
    static constexpr std::int16_t largestPanelCount = (std::numeric_limits<std::int16_t>::max() - 2) / 4;
};

static_assert(TrussParameters::largestPanelCount == 8191);

// The truss the window opens with, as the engineer reads its numbers; the
// model holds the nearest Single of each.
namespace startValues {
inline constexpr double span = 6.0;  // m
inline constexpr double height = 1.0;  // m
inline constexpr std::int16_t panels = 7;
inline constexpr double area = 100.0;  // mm2, every member group
inline constexpr double modulus = 205.0;  // kN/mm2, every member group
inline constexpr double udl = 10.0;  // w, kN/m
inline constexpr double pointLoad = 1.2;  // P, kN
}  // namespace startValues
