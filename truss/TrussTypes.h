#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The trusses the model builds. The number of each is its web configuration
// code (TrussParameters::config); Pratt's 1 is the one the window writes.
enum class TrussType : std::int32_t {
    Pratt = 1,
    Howe,
    Warren,
    WarrenVerticals,
    K,
    PrattRoof,
    HoweRoof,
    Fink,
    KingPost,
    QueenPost,
    Fan,
};

// The panel counts a type's layout takes: smallest, smallest + step, ... up
// to largest. One count when the layout is fixed.
struct PanelRule {
    std::int16_t smallest = 1, largest = 1, step = 1;

    bool fixed() const { return smallest == largest; }
    bool takes(std::int32_t np) const { return np >= smallest && np <= largest && (np - smallest) % step == 0; }
    // "1 to 8191 panels", "an even number of panels, 2 to 5460", "6 panels only".
    std::string text() const;
};

struct TrussTypeInfo {
    TrussType type;
    const char* name;   // as kvrtool takes it: "warren-verticals"
    const char* title;  // as messages name it: "Warren truss with verticals"
    bool pitched;       // a roof truss: height is the rise at mid-span, panels those of the top chord
    PanelRule panels;
    std::int32_t (*nodes)(std::int32_t np);    // the counts the truss file gets
    std::int32_t (*members)(std::int32_t np);
};

// Every type, Pratt first.
std::span<const TrussTypeInfo> trussTypes();

// nullptr when no type has that name or code.
const TrussTypeInfo* trussTypeNamed(std::string_view name);
const TrussTypeInfo* trussTypeOf(std::int32_t config);
