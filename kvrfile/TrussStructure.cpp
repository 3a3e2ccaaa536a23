#include "kvrfile/TrussStructure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct Point {
    double x, y;
    bool finite() const { return std::isfinite(x) && std::isfinite(y); }
    bool operator==(const Point&) const = default;
};

Point at(const TrussFileContent& t, int n) { return {t.node(n, NodeColumn::X), t.node(n, NodeColumn::Y)}; }

// Nodes 1..panels + 1 along the bottom chord of a Pratt truss of 2 x panels + 2 nodes.
int prattPanels(const TrussFileContent& t) { return t.noNodes >= 4 && t.noNodes % 2 == 0 ? t.noNodes / 2 - 1 : 0; }

MemberGroup byPrattNumbering(const TrussFileContent& t, int first, int second)
{
    const int panels = prattPanels(t);
    if (panels == 0)
        return MemberGroup::Unknown;
    const bool firstBottom = first <= panels + 1, secondBottom = second <= panels + 1;
    if (firstBottom && secondBottom)
        return MemberGroup::BottomChord;
    if (!firstBottom && !secondBottom)
        return MemberGroup::TopChord;
    return std::abs(first - second) == panels + 1 ? MemberGroup::Vertical : MemberGroup::Diagonal;
}

// A rafter: the line from an eave to the apex, both placed exactly (x = 0
// and L / 2, y = 0 and h). The Singles of its other nodes lie off it by
// their rounding, at most 2^-24 of 3 x run x rise / length; a node within
// 64 times that is on it. The nearest node the programs place off a rafter,
// the first panel point of 8192, stands 20 times further still.
class Rafter {
public:
    Rafter(Point eave, Point apex) : eave_(eave), run_(apex.x - eave.x), rise_(apex.y - eave.y)
    {
        within_ = 0x1p-18 * 3 * std::fabs(run_ * rise_);  // times the length, as the cross product below
    }

    bool holds(Point p) const { return std::fabs((p.x - eave_.x) * rise_ - (p.y - eave_.y) * run_) <= within_; }

private:
    Point eave_;
    double run_, rise_, within_;
};

}  // namespace

const char* groupName(MemberGroup group)
{
    switch (group) {
    case MemberGroup::BottomChord:
        return "bottom chord";
    case MemberGroup::TopChord:
        return "top chord";
    case MemberGroup::Vertical:
        return "vertical";
    case MemberGroup::Diagonal:
        return "diagonal";
    case MemberGroup::Unknown:
        break;
    }
    return "unknown";
}

int panelsOf(const TrussFileContent& truss)
{
    if (!truss.hasTables())
        return 0;
    int top = 0, bottom = 0;
    for (int m = 1; m <= truss.noMembers; ++m) {
        const MemberGroup group = groupOf(truss, m);
        top += group == MemberGroup::TopChord;
        bottom += group == MemberGroup::BottomChord;
    }
    return std::max(top, bottom);
}

int nodeNumber(const TrussFileContent& truss, int m, int column)
{
    const float value = truss.member(m, column);
    if (!std::isfinite(value) || value != std::floor(value) || value < 1.0f || value > truss.noNodes)
        return 0;
    return static_cast<int>(value);
}

MemberGroup groupOf(const TrussFileContent& truss, int m)
{
    const int first = nodeNumber(truss, m, MemberColumn::First), second = nodeNumber(truss, m, MemberColumn::Second);
    if (first == 0 || second == 0 || first == second)
        return MemberGroup::Unknown;
    const Point a = at(truss, first), b = at(truss, second);
    const Point pin = at(truss, 1), last = at(truss, truss.noNodes), before = at(truss, truss.noNodes - 1);
    const bool told = a.finite() && b.finite() && pin.finite() && last.finite() && before.finite() && a != b
                      && last.x != pin.x && last.y != pin.y;
    if (!told)
        return byPrattNumbering(truss, first, second);

    if (a.x == b.x)
        return MemberGroup::Vertical;
    if (a.y == pin.y && b.y == pin.y)
        return MemberGroup::BottomChord;
    if (before.y == last.y)
        return a.y == last.y && b.y == last.y ? MemberGroup::TopChord : MemberGroup::Diagonal;
    const Rafter left(pin, last), right({2 * last.x - pin.x, pin.y}, last);
    return (left.holds(a) && left.holds(b)) || (right.holds(a) && right.holds(b)) ? MemberGroup::TopChord : MemberGroup::Diagonal;
}

const char* titleOf(MemberGroup group)
{
    switch (group) {
    case MemberGroup::TopChord:
        return "top chord";
    case MemberGroup::BottomChord:
        return "bottom chord";
    case MemberGroup::Vertical:
        return "verticals";
    case MemberGroup::Diagonal:
        return "diagonals";
    case MemberGroup::Unknown:
        break;
    }
    return "unknown";
}

std::vector<MemberGroup> groupsOfKey(std::string_view key)
{
    if (key == "top")
        return {MemberGroup::TopChord};
    if (key == "bottom")
        return {MemberGroup::BottomChord};
    if (key == "verticals")
        return {MemberGroup::Vertical};
    if (key == "diagonals")
        return {MemberGroup::Diagonal};
    if (key == "web")
        return {MemberGroup::Vertical, MemberGroup::Diagonal};
    return {};
}
