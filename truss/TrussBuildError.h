#pragma once

#include <stdexcept>
#include <string>

// A failure of the truss builder. Nothing has been written when it is thrown.
class TrussBuildError : public std::runtime_error {
public:
    enum class Kind {
        Overflow,        // a 16-bit count out of range, or a real value beyond the range of Single
        DivisionByZero,  // panel length with no panels
        TableCreation,   // a table whose last row number lies below 0
        PanelsNotTaken,  // a panel count the type's layout cannot take; what() names those it takes
        NotPositive,     // a span, height, E or A not above 0: the types beside Pratt refuse what cannot stand
        ZeroLength,      // a member whose two nodes fall on one spot as Singles
    };

    // The input that the user would have to change to cure the failure.
    enum class Cause { PanelCount, Span, Height, Load, MemberProperty };

    TrussBuildError(Kind kind, Cause cause, const std::string& what)
        : std::runtime_error(what), kind_(kind), cause_(cause) {}

    Kind kind() const noexcept { return kind_; }
    Cause cause() const noexcept { return cause_; }

private:
    Kind kind_;
    Cause cause_;
};
