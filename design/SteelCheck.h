#pragma once

#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

#include "analysis/TrussSolver.h"

// What a member check finds, whatever the code: the check that governs, its
// resistance and the utilisation |N_Ed| / resistance. Forces are design
// values, tension positive.
enum class CheckKind { Tension, Compression, BucklingInPlane, BucklingOutOfPlane, NotChecked };

// As the design table and its CSV write it: "tension", "buckling in plane", "not checked".
const char* checkKindName(CheckKind kind);

struct Verdict {
    CheckKind governing = CheckKind::NotChecked;
    double resistance = 0.0;   // kN, of the governing check; 0 when not checked
    double utilisation = 0.0;  // |N_Ed| / resistance; NaN when not checked
    std::string clause;        // of the governing check: "EN 1993-1-1 6.3.1.1 (6.47)"
    std::string notChecked;    // why the member is not checked, when it is not

    // A member holds only when it is checked: a member not checked is never passed.
    bool holds() const { return governing != CheckKind::NotChecked && utilisation <= 1.0; }
};

// The kN of a force of so many kips (newtonsPerKilonewton: the analysis's).
inline constexpr double kilonewtonsPerKip = 4.4482216152605;
inline constexpr double millimetresPerInch = 25.4;

// The verdict of the least of the resistances, in the order given (so a tie
// goes to the earlier check: the cross-section before buckling).
struct Resistance {
    CheckKind kind;
    double kN;
    std::string clause;
};
inline Verdict governingOf(double force, std::initializer_list<Resistance> resistances)
{
    Verdict verdict;
    for (const Resistance& c : resistances)
        if (verdict.governing == CheckKind::NotChecked || c.kN < verdict.resistance) {
            verdict.governing = c.kind;
            verdict.resistance = c.kN;
            verdict.clause = c.clause;
        }
    verdict.utilisation = std::fabs(force) / verdict.resistance;
    return verdict;
}

inline Verdict notCheckedBecause(std::string why)
{
    return {CheckKind::NotChecked, 0.0, std::nan(""), {}, std::move(why)};
}

// A grade's name as the tables key it: capitals, without blanks, dots and
// "GR" ("A500 Gr. C" gives "A500C", "s355" gives "S355").
std::string gradeKey(std::string_view grade);
