#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kvrfile/Result.h"

// Strength (ULS) or serviceability (SLS, deflection).
enum class LimitState { Ultimate, Serviceability };

std::string_view limitStateName(LimitState state);  // "ULS", "SLS"

struct CombinationTerm {
    double factor = 1.0;
    std::string caseName;
    bool operator==(const CombinationTerm&) const = default;
};

// A linear combination of load cases, each case at most once.
struct Combination {
    std::string name;  // "ULS 3", or the engineer's own
    LimitState limitState = LimitState::Ultimate;
    std::vector<CombinationTerm> terms;
    std::string basis;  // where it comes from: "EN 1990 6.10", "ASCE 7-16 2.3.1 (4)", "design file"
    bool operator==(const Combination&) const = default;
};

// The combination as engineers write it: "1.35 G + 1.5 Q + 0.9 W", each
// factor with at least one decimal ("1.0 G"), a negative one after a minus
// ("1.0 G - 1.5 W"); "0" for none.
std::string notationOf(std::span<const CombinationTerm> terms);

// A factor as the notation writes it: "1.35", "1.0", "1.1475".
std::string factorText(double factor);

// Reads the notation back: terms joined by + or -, each a factor (digits,
// a decimal point, a leading minus on the first) and a case's name; a
// missing factor is 1 ("G + Q"). Refuses, in one line, malformed text,
// names not among caseNames, and a case named twice.
Result<std::vector<CombinationTerm>> parseCombination(std::string_view text, std::span<const std::string> caseNames);

// Whether a text is a case name the notation can carry: a letter or _ first,
// then letters, digits and _.
bool isCaseName(std::string_view text);
