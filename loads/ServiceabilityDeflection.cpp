#include "loads/ServiceabilityDeflection.h"

#include <cmath>

std::optional<ServiceabilityDeflection> serviceabilityDeflection(const TrussFileContent& truss,
                                                                 std::span<const CaseSolution> cases,
                                                                 std::span<const Combination> combinations, double limit)
{
    ServiceabilityDeflection result;
    result.limit = limit;
    for (std::size_t c = 0; c < combinations.size(); ++c) {
        if (combinations[c].limitState != LimitState::Serviceability)
            continue;
        const TrussSolution s = combinedSolution(combinations[c].terms, cases);
        result.each.push_back({c, deflectionOf(truss, s), s.accuracy.displacement});
        if (std::fabs(result.each.back().deflection.vertical) > std::fabs(result.governing().deflection.vertical))
            result.largest = result.each.size() - 1;
    }
    if (result.each.empty())
        return std::nullopt;
    return result;
}
