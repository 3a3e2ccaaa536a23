#include "truss/TrussTypes.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

// The largest panel count from smallest in steps of step whose counts still
// fit the file's 16-bit integers.
constexpr std::int16_t largestPanels(std::int32_t (*nodes)(std::int32_t), std::int32_t (*members)(std::int32_t),
                                     std::int32_t smallest, std::int32_t step)
{
    constexpr std::int32_t largestCount = std::numeric_limits<std::int16_t>::max();
    std::int32_t np = smallest;
    while (nodes(np + step) <= largestCount && members(np + step) <= largestCount)
        np += step;
    return static_cast<std::int16_t>(np);
}

// Node and member counts of n panels, as the README draws each layout.
constexpr std::int32_t prattNodes(std::int32_t n) { return 2 * n + 2; }
constexpr std::int32_t prattMembers(std::int32_t n) { return 4 * n + 1 + n % 2; }  // an odd count has one crossed panel
constexpr std::int32_t warrenNodes(std::int32_t n) { return 2 * n + 1; }
constexpr std::int32_t warrenMembers(std::int32_t n) { return 4 * n - 1; }
constexpr std::int32_t verticalsMembers(std::int32_t n) { return 4 * n + 1; }
constexpr std::int32_t kNodes(std::int32_t n) { return 3 * n + 2; }
constexpr std::int32_t kMembers(std::int32_t n) { return 6 * n + 1; }
constexpr std::int32_t roofNodes(std::int32_t n) { return 2 * n; }
constexpr std::int32_t roofMembers(std::int32_t n) { return 4 * n - 3; }
constexpr std::int32_t finkNodes(std::int32_t n) { return 2 * n - 1; }
constexpr std::int32_t finkMembers(std::int32_t n) { return 4 * n - 5; }
constexpr std::int32_t kingPostNodes(std::int32_t) { return 6; }
constexpr std::int32_t kingPostMembers(std::int32_t) { return 9; }
constexpr std::int32_t queenPostNodes(std::int32_t) { return 7; }
constexpr std::int32_t queenPostMembers(std::int32_t) { return 11; }
constexpr std::int32_t fanNodes(std::int32_t) { return 9; }
constexpr std::int32_t fanMembers(std::int32_t) { return 15; }

constexpr PanelRule rule(std::int32_t (*nodes)(std::int32_t), std::int32_t (*members)(std::int32_t), std::int16_t smallest,
                         std::int16_t step)
{
    return {smallest, largestPanels(nodes, members, smallest, step), step};
}

constexpr PanelRule only(std::int16_t np) { return {np, np, 1}; }

constexpr std::array<TrussTypeInfo, 11> types{{
    {TrussType::Pratt, "pratt", "Pratt truss", false, rule(prattNodes, prattMembers, 1, 1), prattNodes, prattMembers},
    {TrussType::Howe, "howe", "Howe truss", false, rule(prattNodes, prattMembers, 1, 1), prattNodes, prattMembers},
    {TrussType::Warren, "warren", "Warren truss", false, rule(warrenNodes, warrenMembers, 2, 1), warrenNodes, warrenMembers},
    {TrussType::WarrenVerticals, "warren-verticals", "Warren truss with verticals", false,
     rule(prattNodes, verticalsMembers, 2, 2), prattNodes, verticalsMembers},
    {TrussType::K, "k", "K truss", false, rule(kNodes, kMembers, 2, 2), kNodes, kMembers},
    {TrussType::PrattRoof, "pratt-roof", "Pratt roof truss", true, rule(roofNodes, roofMembers, 2, 2), roofNodes, roofMembers},
    {TrussType::HoweRoof, "howe-roof", "Howe roof truss", true, rule(roofNodes, roofMembers, 2, 2), roofNodes, roofMembers},
    {TrussType::Fink, "fink", "Fink truss", true, rule(finkNodes, finkMembers, 4, 2), finkNodes, finkMembers},
    {TrussType::KingPost, "king-post", "king post truss", true, only(4), kingPostNodes, kingPostMembers},
    {TrussType::QueenPost, "queen-post", "queen post truss", true, only(4), queenPostNodes, queenPostMembers},
    {TrussType::Fan, "fan", "fan truss", true, only(6), fanNodes, fanMembers},
}};

// The largest counts, as the README and kvrtool(1) give them.
static_assert(types[0].panels.largest == 8191 && types[1].panels.largest == 8191);
static_assert(types[2].panels.largest == 8192 && types[3].panels.largest == 8190 && types[4].panels.largest == 5460);
static_assert(types[5].panels.largest == 8192 && types[6].panels.largest == 8192 && types[7].panels.largest == 8192);

}  // namespace

std::string PanelRule::text() const
{
    if (fixed())
        return std::to_string(smallest) + " panels only";
    const std::string range = std::to_string(smallest) + " to " + std::to_string(largest);
    return step == 2 ? "an even number of panels, " + range : range + " panels";
}

std::span<const TrussTypeInfo> trussTypes() { return types; }

const TrussTypeInfo* trussTypeNamed(std::string_view name)
{
    const auto found = std::find_if(types.begin(), types.end(), [&](const TrussTypeInfo& t) { return name == t.name; });
    return found == types.end() ? nullptr : &*found;
}

const TrussTypeInfo* trussTypeOf(std::int32_t config)
{
    const auto found = std::find_if(types.begin(), types.end(), [&](const TrussTypeInfo& t) { return config == static_cast<std::int32_t>(t.type); });
    return found == types.end() ? nullptr : &*found;
}
