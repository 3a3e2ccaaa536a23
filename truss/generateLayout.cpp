// The types beside Pratt: their layout given its sizes, as the truss file
// holds it.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "kvrfile/TrussFile.h"
#include "truss/TrussBuildError.h"
#include "truss/TrussLayout.h"
#include "truss/clsTruss.h"

namespace {

using Cause = TrussBuildError::Cause;
using Kind = TrussBuildError::Kind;

Share half(Share a) { return reduced(a.num, 2 * a.den); }
bool isZero(Share a) { return a.num == 0; }
bool isWhole(Share a) { return a.num == a.den; }

// The Single of length x share, worked in double: every node placed at the
// same share gets the same Single.
float single(float length, Share share)
{
    return static_cast<float>(static_cast<double>(length) * static_cast<double>(share.num) / static_cast<double>(share.den));
}

// A span, height, E or A: finite and greater than 0, or the truss cannot stand.
void requirePositive(float value, Cause cause, const char* what)
{
    if (!std::isfinite(value))
        throw TrussBuildError(Kind::Overflow, cause, std::string(what) + " is beyond the range of Single");
    if (!(value > 0.0f))
        throw TrussBuildError(Kind::NotPositive, cause, std::string(what) + " must be greater than 0");
}

// Of the span, the length on plan whose load each loaded node carries: half
// way to its neighbours on the top chord, and to the span's end beyond the
// outermost ones. Indexed by node number; 0 for the others.
std::vector<Share> tributaries(const TrussLayout& layout)
{
    const auto x = [&](int n) { return layout.nodes[std::size_t(n) - 1].x; };
    std::vector<int> loaded;  // node numbers, left to right
    for (int n = 1; n <= static_cast<int>(layout.nodes.size()); ++n)
        if (layout.nodes[std::size_t(n) - 1].loaded)
            loaded.push_back(n);
    std::sort(loaded.begin(), loaded.end(), [&](int a, int b) { return x(a) < x(b); });
    std::vector<Share> shares(layout.nodes.size() + 1);
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        const Share from = i == 0 ? Share{0, 1} : half(x(loaded[i - 1]) + x(loaded[i]));
        const Share to = i + 1 == loaded.size() ? Share{1, 1} : half(x(loaded[i]) + x(loaded[i + 1]));
        shares[std::size_t(loaded[i])] = to - from;
    }
    return shares;
}

void placeNodes(TrussFileContent& file, const TrussLayout& layout, const TrussParameters& p)
{
    const std::vector<Share> tributary = tributaries(layout);
    for (int n = 1; n <= file.noNodes; ++n) {
        const TrussLayout::Node& node = layout.nodes[std::size_t(n) - 1];
        file.nodes(std::size_t(n), NodeColumn::X) = single(p.L, node.x);
        file.nodes(std::size_t(n), NodeColumn::Y) = single(p.h, node.y);
        if (!node.loaded)
            continue;
        // w on plan over the node's tributary length; P at every top chord
        // node, half at one over a support, at an end of the span.
        const bool end = isZero(node.x) || isWhole(node.x);
        const double load = p.loadType == clsTruss::uniformLoad
                                ? static_cast<double>(p.loadValue) * p.L * double(tributary[std::size_t(n)].num)
                                      / double(tributary[std::size_t(n)].den)
                                : end ? p.loadValue / 2.0f : p.loadValue;
        if (!(std::fabs(load) <= std::numeric_limits<float>::max()))
            throw TrussBuildError(Kind::Overflow, Cause::Load, "node load is beyond the range of Single");
        file.nodes(std::size_t(n), NodeColumn::Load) = -static_cast<float>(load);
    }
    file.nodes(1, NodeColumn::Support) = SupportCode::Pin;
    file.nodes(std::size_t(layout.roller), NodeColumn::Support) = SupportCode::Roller;
}

void joinMembers(TrussFileContent& file, const TrussLayout& layout, const TrussParameters& p)
{
    for (int m = 1; m <= file.noMembers; ++m) {
        const TrussLayout::Member& member = layout.members[std::size_t(m) - 1];
        const auto node = [&](int n, int column) { return file.node(n, column); };
        if (node(member.first, NodeColumn::X) == node(member.second, NodeColumn::X)
            && node(member.first, NodeColumn::Y) == node(member.second, NodeColumn::Y)) {
            const Share a = layout.nodes[std::size_t(member.first) - 1].x, b = layout.nodes[std::size_t(member.second) - 1].x;
            const bool apartOnPlan = a < b || b < a;
            throw TrussBuildError(Kind::ZeroLength, apartOnPlan ? Cause::Span : Cause::Height,
                                  "member " + std::to_string(m) + " would have no length: its two nodes fall on one spot as Singles");
        }
        const bool top = member.group == MemberGroup::TopChord, bottom = member.group == MemberGroup::BottomChord;
        file.members(std::size_t(m), MemberColumn::First) = static_cast<float>(member.first);
        file.members(std::size_t(m), MemberColumn::Second) = static_cast<float>(member.second);
        file.members(std::size_t(m), MemberColumn::E) = top ? p.topE : bottom ? p.btmE : p.webE;
        file.members(std::size_t(m), MemberColumn::A) = top ? p.topA : bottom ? p.btmA : p.webA;
    }
}

}  // namespace

TrussFileContent buildTrussFile(const TrussTypeInfo& type, const TrussParameters& p)
{
    if (!type.panels.takes(p.np))
        throw TrussBuildError(Kind::PanelsNotTaken, Cause::PanelCount,
                              std::string("the ") + type.title + " is built for " + type.panels.text());
    requirePositive(p.L, Cause::Span, "span");
    requirePositive(p.h, Cause::Height, "height");
    for (const float property : {p.btmE, p.btmA, p.topE, p.topA, p.webE, p.webA})
        requirePositive(property, Cause::MemberProperty, "a member's E or A");
    if (!std::isfinite(p.loadValue))
        throw TrussBuildError(Kind::Overflow, Cause::Load, "load is beyond the range of Single");

    const TrussLayout layout = type.pitched ? roofLayout(type.type, p.np) : parallelLayout(type.type, p.np);
    TrussFileContent file;
    file.noNodes = static_cast<std::int16_t>(layout.nodes.size());
    file.noMembers = static_cast<std::int16_t>(layout.members.size());
    file.noMax = std::max(file.noNodes, file.noMembers);
    file.nodes = SingleTable(file.nodeRows(), trussFile::nodeColumns);
    file.members = SingleTable(file.memberRows(), trussFile::memberColumns);
    placeNodes(file, layout, p);
    joinMembers(file, layout, p);
    return file;
}
