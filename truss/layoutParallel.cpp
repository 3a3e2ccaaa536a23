// The parallel-chord types beside Pratt: both chords straight and level, the
// depth h apart, n panels of L / n. Each is numbered as the README draws it:
// the bottom chord's nodes left to right, then any others, then the top
// chord's left to right; members by group (bottom chord, top chord,
// verticals, diagonals), each group left to right, a vertical from its
// lower end, any other member from its left end.
#include "truss/TrussLayout.h"

namespace {

using Group = MemberGroup;

const Share bottom{0, 1}, middle{1, 2}, top{1, 1};

struct Chords {
    std::vector<int> bottom, top;  // node numbers at 0, 1, ... n panels from the left
};

// The bottom chord's n + 1 nodes at the panel points, the pin and the roller at its ends.
std::vector<int> bottomChord(TrussLayout& layout, int n)
{
    std::vector<int> nodes;
    for (int i = 0; i <= n; ++i)
        nodes.push_back(layout.node({i, n}, bottom));
    layout.roller = nodes.back();
    return nodes;
}

// Top chord nodes at (first + 2 i) / (2 n) of the span, i = 0 .. count - 1.
std::vector<int> topChord(TrussLayout& layout, int n, int first, int count)
{
    std::vector<int> nodes;
    for (int i = 0; i < count; ++i)
        nodes.push_back(layout.node({first + 2 * i, 2 * n}, top, true));
    return nodes;
}

void joinChords(TrussLayout& layout, const Chords& c)
{
    for (std::size_t i = 1; i < c.bottom.size(); ++i)
        layout.join(c.bottom[i - 1], c.bottom[i], Group::BottomChord);
    for (std::size_t i = 1; i < c.top.size(); ++i)
        layout.join(c.top[i - 1], c.top[i], Group::TopChord);
}

// Both chords with a node at every panel point, and a vertical at each.
Chords verticalFrame(TrussLayout& layout, int n)
{
    Chords c{bottomChord(layout, n), {}};
    c.top = topChord(layout, n, 0, n + 1);
    joinChords(layout, c);
    for (int i = 0; i <= n; ++i)
        layout.join(c.bottom[std::size_t(i)], c.top[std::size_t(i)], Group::Vertical);
    return c;
}

// Howe: the diagonals rise towards mid-span; an odd count's middle panel
// takes both, crossed, as Pratt's crossed panel does.
TrussLayout howe(int n)
{
    TrussLayout layout;
    const Chords c = verticalFrame(layout, n);
    for (std::size_t k = 1; k <= std::size_t(n); ++k) {
        if (2 * k <= std::size_t(n) + 1)
            layout.join(c.bottom[k - 1], c.top[k], Group::Diagonal);
        if (2 * k >= std::size_t(n) + 1)
            layout.join(c.top[k - 1], c.bottom[k], Group::Diagonal);
    }
    return layout;
}

// Warren: each panel one triangle standing on the bottom chord, its apex on
// the top chord at mid-panel; no verticals.
TrussLayout warren(int n)
{
    TrussLayout layout;
    Chords c{bottomChord(layout, n), {}};
    c.top = topChord(layout, n, 1, n);
    joinChords(layout, c);
    for (std::size_t i = 0; i < std::size_t(n); ++i) {
        layout.join(c.bottom[i], c.top[i], Group::Diagonal);
        layout.join(c.top[i], c.bottom[i + 1], Group::Diagonal);
    }
    return layout;
}

// Warren with verticals: a vertical at every panel point, the diagonals
// rising in the odd panels and falling in the even ones.
TrussLayout warrenVerticals(int n)
{
    TrussLayout layout;
    const Chords c = verticalFrame(layout, n);
    for (std::size_t k = 1; k <= std::size_t(n); ++k)
        if (k % 2 == 1)
            layout.join(c.bottom[k - 1], c.top[k], Group::Diagonal);
        else
            layout.join(c.top[k - 1], c.bottom[k], Group::Diagonal);
    return layout;
}

// K: in each panel two diagonals from the middle of one vertical to the top
// and bottom of the next, from the outer vertical towards mid-span. Every
// vertical but the middle one is halved by its middle node.
TrussLayout kTruss(int n)
{
    TrussLayout layout;
    Chords c{bottomChord(layout, n), {}};
    std::vector<int> mid(std::size_t(n) + 1, 0);
    for (int i = 0; i <= n; ++i)
        if (2 * i != n)
            mid[std::size_t(i)] = layout.node({i, n}, middle);
    c.top = topChord(layout, n, 0, n + 1);
    joinChords(layout, c);
    for (std::size_t i = 0; i <= std::size_t(n); ++i)
        if (mid[i] == 0) {
            layout.join(c.bottom[i], c.top[i], Group::Vertical);
        } else {
            layout.join(c.bottom[i], mid[i], Group::Vertical);
            layout.join(mid[i], c.top[i], Group::Vertical);
        }
    for (std::size_t k = 1; k <= std::size_t(n); ++k)
        if (2 * k <= std::size_t(n)) {
            layout.join(mid[k - 1], c.top[k], Group::Diagonal);
            layout.join(mid[k - 1], c.bottom[k], Group::Diagonal);
        } else {
            layout.join(c.top[k - 1], mid[k], Group::Diagonal);
            layout.join(c.bottom[k - 1], mid[k], Group::Diagonal);
        }
    return layout;
}

}  // namespace

TrussLayout parallelLayout(TrussType type, int np)
{
    switch (type) {
    case TrussType::Howe:
        return howe(np);
    case TrussType::Warren:
        return warren(np);
    case TrussType::WarrenVerticals:
        return warrenVerticals(np);
    case TrussType::K:
        return kTruss(np);
    default:
        break;
    }
    return {};
}
