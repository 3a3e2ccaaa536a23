#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "design/Section.h"

// What a load case stands for, which sets its factors in the combinations.
// Each code names its own kinds: EN 1990 permanent, imposed, snow, wind;
// ASCE 7 dead (Permanent), live (Imposed), roof-live, snow, wind.
enum class LoadKind { Permanent, Imposed, RoofLive, Snow, Wind };

// The kinds of a code in the order the combinations take them.
std::span<const LoadKind> kindsOf(DesignCode code);
std::string_view kindName(DesignCode code, LoadKind kind);  // "permanent", "dead", "roof-live"
std::optional<LoadKind> kindNamed(DesignCode code, std::string_view name);

// A load on one node, kN: fx to the right, fy upwards (downwards negative,
// as the truss file's loads). line: where the design file gives it.
struct PointLoad {
    int node = 0;
    double fx = 0.0, fy = 0.0;
    int line = 0;
    bool operator==(const PointLoad&) const = default;
};

// One load case of the design file. Its loads are the sum of every source
// it names: the members' own weight, a uniform load on the top chord, point
// loads, the truss file's own loads.
struct LoadCase {
    std::string name;  // as combinations name it: "G", "Q", "W_left"
    LoadKind kind = LoadKind::Permanent;
    char category = 0;           // EN 1990 Table A1.1, 'A'..'H': an imposed load's, en1993 only
    std::optional<double> psi0;  // the engineer's own psi0, in place of Table A1.1's (en1993 only)
    bool selfWeight = false;
    std::optional<double> udlTop;  // kN/m on plan, vertical, downwards negative
    std::vector<PointLoad> loads;
    bool fromFile = false;
    int line = 0;  // of its [[case]]
    bool operator==(const LoadCase&) const = default;
};

// psi0 of a variable action to EN 1990 Table A1.1 (or the case's own):
// imposed loads by category (A to D, F, G 0.7; E 1.0; H, roofs, 0), snow
// 0.5 (sites at altitudes up to 1000 m outside Finland, Iceland, Norway and
// Sweden), wind 0.6. 0 for a permanent action, which has none.
double psi0Of(const LoadCase& loadCase);
