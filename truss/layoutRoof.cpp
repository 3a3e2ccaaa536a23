// The roof types: a level bottom chord, two straight rafters from the eaves
// (the supports) to the apex at mid-span, h above the bottom chord; n panels
// are those of the top chord. Each is numbered as the README draws it: the
// bottom chord's nodes left to right, then the top chord's left to right but
// for the apex, which comes last; members by group (bottom chord, top chord,
// verticals, diagonals), each group left to right, a vertical from its lower
// end, any other member from its left end.
#include <algorithm>

#include "truss/TrussLayout.h"

namespace {

using Group = MemberGroup;

// A roof's bottom chord at the given fractions of the span; both eaves carry the top chord's load.
std::vector<int> eavesAndBottomChord(TrussLayout& layout, const std::vector<Share>& at)
{
    std::vector<int> nodes;
    for (std::size_t i = 0; i < at.size(); ++i)
        nodes.push_back(layout.node(at[i], {0, 1}, i == 0 || i + 1 == at.size()));
    layout.roller = nodes.back();
    return nodes;
}

// The top chord at i / n of the span, i = 0 .. n (n even), the eaves being
// the bottom chord's ends; the apex is numbered last.
std::vector<int> rafters(TrussLayout& layout, int n, int leftEave, int rightEave)
{
    std::vector<int> nodes(std::size_t(n) + 1, 0);
    nodes.front() = leftEave;
    nodes.back() = rightEave;
    const auto place = [&](int i) { return layout.node(reduced(i, n), reduced(2 * std::min(i, n - i), n), true); };
    for (int i = 1; i < n; ++i)
        if (2 * i != n)
            nodes[std::size_t(i)] = place(i);
    nodes[std::size_t(n / 2)] = place(n / 2);
    return nodes;
}

void joinChords(TrussLayout& layout, const std::vector<int>& bottom, const std::vector<int>& top)
{
    for (std::size_t i = 1; i < bottom.size(); ++i)
        layout.join(bottom[i - 1], bottom[i], Group::BottomChord);
    for (std::size_t i = 1; i < top.size(); ++i)
        layout.join(top[i - 1], top[i], Group::TopChord);
}

std::vector<Share> panelPoints(int count)
{
    std::vector<Share> at;
    for (int i = 0; i <= count; ++i)
        at.push_back(reduced(i, count));
    return at;
}

// Pratt and Howe roof trusses: a vertical at every panel point, the king
// post among them. Pratt's diagonals rise towards the apex (in tension under
// gravity loads), Howe's fall towards mid-span (in compression); the end
// panels need none.
TrussLayout verticalRoof(int n, bool pratt)
{
    TrussLayout layout;
    const std::vector<int> bottom = eavesAndBottomChord(layout, panelPoints(n));
    const std::vector<int> top = rafters(layout, n, bottom.front(), bottom.back());
    joinChords(layout, bottom, top);
    for (std::size_t i = 1; i < std::size_t(n); ++i)
        layout.join(bottom[i], top[i], Group::Vertical);
    for (std::size_t k = 2; k < std::size_t(n); ++k) {
        const bool left = 2 * k <= std::size_t(n);
        if (pratt == left)
            layout.join(bottom[k - 1], top[k], Group::Diagonal);
        else
            layout.join(top[k - 1], bottom[k], Group::Diagonal);
    }
    return layout;
}

// Fink: the web a zig-zag of W's between the rafters' inner nodes and bottom
// chord nodes midway between them (four panels: the W, six: the double W).
TrussLayout fink(int n)
{
    TrussLayout layout;
    std::vector<Share> bottomAt{{0, 1}};
    for (int j = 1; j + 1 < n; ++j)
        bottomAt.push_back(reduced(2 * j + 1, 2 * n));
    bottomAt.push_back({1, 1});
    const std::vector<int> bottom = eavesAndBottomChord(layout, bottomAt);
    const std::vector<int> top = rafters(layout, n, bottom.front(), bottom.back());
    joinChords(layout, bottom, top);
    for (std::size_t j = 1; j + 1 < std::size_t(n); ++j) {
        layout.join(top[j], bottom[j], Group::Diagonal);
        layout.join(bottom[j], top[j + 1], Group::Diagonal);
    }
    return layout;
}

// The fixed layouts: the bottom chord's inner nodes at the given fractions,
// the top chord in n panels, and web members as pairs of (bottom index, top
// index), bottom chord node first.
struct Web {
    std::size_t bottom, top;
};

TrussLayout fixedRoof(int n, const std::vector<Share>& bottomAt, const std::vector<Web>& verticals,
                      const std::vector<Web>& diagonals)
{
    TrussLayout layout;
    const std::vector<int> bottom = eavesAndBottomChord(layout, bottomAt);
    const std::vector<int> top = rafters(layout, n, bottom.front(), bottom.back());
    joinChords(layout, bottom, top);
    for (const Web& v : verticals)
        layout.join(bottom[v.bottom], top[v.top], Group::Vertical);
    for (const Web& d : diagonals) {
        const bool bottomLeft = bottomAt[d.bottom].num * n < std::int64_t(d.top) * bottomAt[d.bottom].den;
        if (bottomLeft)
            layout.join(bottom[d.bottom], top[d.top], Group::Diagonal);
        else
            layout.join(top[d.top], bottom[d.bottom], Group::Diagonal);
    }
    return layout;
}

// King post: the post from mid-span to the apex, a strut from its foot to
// the middle of each rafter.
TrussLayout kingPost() { return fixedRoof(4, {{0, 1}, {1, 2}, {1, 1}}, {{1, 2}}, {{1, 1}, {1, 3}}); }

// Queen post: posts at the third points up to the rafters, and from the
// foot of each a diagonal to the apex.
TrussLayout queenPost()
{
    TrussLayout layout;
    const std::vector<int> bottom = eavesAndBottomChord(layout, panelPoints(3));
    // The rafters' inner nodes stand over the posts, not at equal panels.
    const auto rafter = [&](int i) { return layout.node({i, 3}, {2, 3}, true); };
    const int left = rafter(1), right = rafter(2);
    const int apex = layout.node({1, 2}, {1, 1}, true);
    joinChords(layout, bottom, {bottom[0], left, apex, right, bottom[3]});
    layout.join(bottom[1], left, Group::Vertical);
    layout.join(bottom[2], right, Group::Vertical);
    layout.join(bottom[1], apex, Group::Diagonal);
    layout.join(apex, bottom[2], Group::Diagonal);
    return layout;
}

// Fan: the bottom chord in thirds, the rafters in thirds; from each third
// point of the bottom chord the web fans out to the rafter's inner nodes and
// the apex.
TrussLayout fan() { return fixedRoof(6, panelPoints(3), {{1, 2}, {2, 4}}, {{1, 1}, {1, 3}, {2, 3}, {2, 5}}); }

}  // namespace

TrussLayout roofLayout(TrussType type, int np)
{
    switch (type) {
    case TrussType::PrattRoof:
        return verticalRoof(np, true);
    case TrussType::HoweRoof:
        return verticalRoof(np, false);
    case TrussType::Fink:
        return fink(np);
    case TrussType::KingPost:
        return kingPost();
    case TrussType::QueenPost:
        return queenPost();
    case TrussType::Fan:
        return fan();
    default:
        break;
    }
    return {};
}
