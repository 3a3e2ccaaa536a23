#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "analysis/Deflection.h"
#include "loads/CaseSolutions.h"
#include "loads/Combination.h"

// The deflection of a truss under the serviceability combinations of its
// load cases, judged against span / limit.

struct CombinationDeflection {
    std::size_t combination = 0;  // its index among the combinations given
    Deflection deflection;
    double accuracy = 0.0;  // m, of its displacements
};

struct ServiceabilityDeflection {
    std::vector<CombinationDeflection> each;  // every serviceability combination, in order
    std::size_t largest = 0;                  // into each: the largest vertical deflection, the first of equals
    double limit = 300.0;                     // span / limit allowed

    const CombinationDeflection& governing() const { return each[largest]; }
    double allowed() const { return governing().deflection.span / limit; }  // m
    // Judged only where the truss has a span between its supports.
    bool judged() const { return governing().deflection.span > 0; }
    bool holds() const
    {
        const double v = governing().deflection.vertical;
        return judged() && (v < 0 ? -v : v) <= allowed();
    }
};

// None where no combination is for serviceability.
std::optional<ServiceabilityDeflection> serviceabilityDeflection(const TrussFileContent& truss,
                                                                 std::span<const CaseSolution> cases,
                                                                 std::span<const Combination> combinations, double limit);
