#include "analysis/Rigidity.h"

#include <cmath>
#include <cstdint>
#include <deque>

#include "analysis/AnalysisLimits.h"
#include "analysis/DrawnPrimeResidue.h"
#include "analysis/Residue.h"
#include "analysis/TrussSystem.h"
#include "kvrfile/TrussVocabulary.h"

namespace {

std::size_t u(int i) { return static_cast<std::size_t>(i); }

struct Link {
    int node, member;
};

std::vector<std::vector<Link>> linksOf(const TrussFileContent& t)
{
    std::vector<std::vector<Link>> links(t.nodeRows());
    for (int m = 1; m <= t.noMembers; ++m) {
        const int a = nodeNumber(t, m, MemberColumn::First), b = nodeNumber(t, m, MemberColumn::Second);
        links[u(a)].push_back({b, m});
        links[u(b)].push_back({a, m});
    }
    return links;
}

// Whether the members from node n to nodes a and b lie at an angle to
// each other beyond any doubt that rounding could raise.
bool atAnAngle(const TrussFileContent& t, int n, int a, int b)
{
    const auto delta = [&](int to, int column) { return double(t.node(to, column)) - double(t.node(n, column)); };
    const double ax = delta(a, NodeColumn::X), ay = delta(a, NodeColumn::Y);
    const double bx = delta(b, NodeColumn::X), by = delta(b, NodeColumn::Y);
    return std::fabs(ax * by - ay * bx) > 1e-9 * std::hypot(ax, ay) * std::hypot(bx, by);
}

// A sufficient test, and a quick one: a truss that can be built from a
// triangle by adding node after node, each held by two members at an angle
// to each other, is rigid as a body (a simple truss, as the window's are).
// A pin and a roller that is not straight above or below it then hold it.
bool builtNodeByNode(const TrussFileContent& t, const std::vector<std::vector<Link>>& links)
{
    std::vector<char> built(t.nodeRows(), 0);
    std::vector<int> firstHold(t.nodeRows(), 0);  // the first built node a node is joined to
    std::deque<int> added;
    const auto build = [&](int n) {
        built[u(n)] = 1;
        added.push_back(n);
    };
    // A triangle to start from, looked for among the first members only.
    std::vector<int> mark(t.nodeRows(), 0);
    for (int m = 1; m <= t.noMembers && m <= 64 && added.empty(); ++m) {
        const int a = nodeNumber(t, m, MemberColumn::First), b = nodeNumber(t, m, MemberColumn::Second);
        for (const Link& l : links[u(b)])
            mark[u(l.node)] = m;
        for (const Link& l : links[u(a)])
            if (l.node != b && mark[u(l.node)] == m && atAnAngle(t, l.node, a, b)) {
                build(a);
                build(b);
                build(l.node);
                break;
            }
    }
    int count = static_cast<int>(added.size());
    while (!added.empty()) {
        const int n = added.front();
        added.pop_front();
        for (const Link& l : links[u(n)]) {
            const int next = l.node;
            if (built[u(next)])
                continue;
            if (firstHold[u(next)] == 0)
                firstHold[u(next)] = n;
            else if (atAnAngle(t, next, firstHold[u(next)], n)) {
                build(next);
                ++count;
            }
        }
    }
    return count == t.noNodes;
}

// A roller straight above or below the pin holds nothing that turning about
// the pin moves: the roller's node then moves in x only, which it allows,
// and no member changes length, however the truss is built. Exact, on the
// Singles as they are. The node that turning moves: the roller, where it
// stands off the pin's level; else any node off that level (in x); else,
// the truss lying level with the pin, any node off its vertical line (in
// y). Node 0 where the supports hold the truss as a body, and where there is
// not one pin and one roller: other supports are for the exact test.
struct Turning {
    int node = 0;
    const char* direction = "x";
};

Turning turningAboutThePin(const TrussFileContent& t, const Supports& s)
{
    const int pin = s.pin(), roller = s.roller();
    if (pin == 0 || roller == 0)
        return {};
    const float pinX = t.node(pin, NodeColumn::X), pinY = t.node(pin, NodeColumn::Y);
    if (t.node(roller, NodeColumn::X) != pinX)
        return {};
    if (t.node(roller, NodeColumn::Y) != pinY)
        return {roller, "x"};
    for (int n = 1; n <= t.noNodes; ++n)
        if (t.node(n, NodeColumn::Y) != pinY)
            return {n, "x"};
    for (int n = 1; n <= t.noNodes; ++n)
        if (t.node(n, NodeColumn::X) != pinX)
            return {n, "y"};
    return {};  // every node on the pin: members of zero length, which check refuses
}

// Weights for the members, the same every run, in no relation to any truss.
template <class Field>
Field weightOf(std::size_t member)
{
    std::uint64_t z = 0x9e3779b97f4a7c15u * (member + 1);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    z ^= z >> 31;
    return Field(int(z % 1000003) + 1) * Field(int((z >> 32) % 999983) + 1);
}

// Exact: the stiffness matrix of the truss with every member's length and
// stiffness replaced by weights, modulo a prime. It is singular exactly
// when the truss is a mechanism (all but certainly, for a prime the file
// cannot know: one chance in about 10^16 per pivot).
// The first zero pivot is a displacement that the truss allows, with the
// ones eliminated before it, without any member changing length.
template <class Field>
int firstFreeMotion(const TrussSystem& s)
{
    const TrussFileContent& t = s.truss;
    std::vector<Bar<Field>> bars(t.memberRows());
    for (int m = 1; m <= t.noMembers; ++m) {
        const int a = nodeNumber(t, m, MemberColumn::First), b = nodeNumber(t, m, MemberColumn::Second);
        const auto delta = [&](int column) { return Field::ofSingle(t.node(b, column)) - Field::ofSingle(t.node(a, column)); };
        bars[u(m)] = {a, b, delta(NodeColumn::X), delta(NodeColumn::Y), weightOf<Field>(u(m))};
    }
    const std::vector<Field> values = s.pattern.values(bars, [](std::size_t, const Bar<Field>& bar) { return bar.stiffness; });
    LdlFactor<Field> factor;
    const int column = factor.factorise(s.pattern.upper(), s.shape, values);
    return column < 0 ? -1 : s.pattern.unknownAt(column);
}

}  // namespace

Rigidity rigidityOf(const TrussSystem& s)
{
    const TrussFileContent& t = s.truss;
    Rigidity r;
    r.members = t.noMembers;
    r.joints = t.noNodes;
    r.reactions = directions * t.noNodes - s.freedoms.count();
    const bool tooFew = r.members + r.reactions < directions * r.joints;
    if (const Turning turning = turningAboutThePin(t, supportsOf(t)); turning.node != 0) {
        r.verdict = Rigidity::Verdict::Mechanism;
        r.where = "node " + std::to_string(turning.node) + " in " + turning.direction;
        r.freeMotion = "node " + std::to_string(turning.node) + " can move in " + turning.direction;
        return r;
    }
    if (!tooFew && builtNodeByNode(t, linksOf(t))) {
        r.verdict = Rigidity::Verdict::Stands;
        return r;
    }
    if (!s.tooInterconnected.empty()) {
        r.verdict = tooFew ? Rigidity::Verdict::Mechanism : Rigidity::Verdict::NotDecided;
        r.why = s.tooInterconnected;
        return r;
    }
    // Quick in the fixed prime; a mechanism found there, confirmed in a drawn
    // one. The budget has room for both (AnalysisLimits.h).
    using namespace analysisLimits;
    r.work = s.shape.operations * residueCost;
    int free = firstFreeMotion<Residue>(s);
    if (free >= 0 && !tooFew) {
        r.work += s.shape.operations * drawnPrimeCost;
        free = firstFreeMotion<DrawnPrimeResidue>(s);
    }
    r.verdict = free >= 0 || tooFew ? Rigidity::Verdict::Mechanism : Rigidity::Verdict::Stands;
    if (free >= 0) {
        r.where = s.freedoms.nameOf(free);
        r.freeMotion = "node " + std::to_string(s.freedoms.nodeOf(free)) + " can move in " + (s.freedoms.directionOf(free) == 0 ? "x" : "y");
    }
    return r;
}

Rigidity rigidityOf(const TrussFileContent& truss) { return rigidityOf(TrussSystem(truss)); }
