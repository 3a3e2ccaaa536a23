#include <cmath>
#include <string>

#include "kvrfile/TrussFile.h"
#include "truss/Integer16.h"
#include "truss/clsTruss.h"

namespace {

using Cause = TrussBuildError::Cause;
using Kind = TrussBuildError::Kind;

// Every real value the builder stores must be finite: the analysis program
// can do nothing with an infinity or a NaN.
inline float finite(float value, Cause cause, const char* what)
{
    if (!std::isfinite(value)) [[unlikely]]
        throw TrussBuildError(Kind::Overflow, cause, std::string(what) + " is beyond the range of Single");
    return value;
}

// np / 2 as a real quotient, rounded to the nearest integer with an exact
// half going to the even neighbour (1 -> 0, 3 -> 2, 5 -> 2, 7 -> 4).
std::int16_t halfRoundedToEven(std::int16_t np)
{
    const std::int16_t down = static_cast<std::int16_t>(np / 2);
    if (np % 2 == 0)
        return down;
    const std::int16_t up = static_cast<std::int16_t>(down + (np > 0 ? 1 : -1));
    return down % 2 == 0 ? down : up;
}

std::int16_t nodeCount(std::int16_t np)
{
    return integer16::add(integer16::multiply(2, np, Cause::PanelCount), 2, Cause::PanelCount);
}

// An odd count has one crossed panel, with one diagonal more.
std::int16_t memberCount(std::int16_t np)
{
    const std::int16_t count = integer16::add(integer16::multiply(4, np, Cause::PanelCount), 1, Cause::PanelCount);
    return np % 2 != 0 ? integer16::add(count, 1, Cause::PanelCount) : count;
}

SingleTable createTable(std::int16_t lastRow, std::size_t columns, const char* what)
{
    if (lastRow < 0)
        throw TrussBuildError(Kind::TableCreation, Cause::PanelCount,
                              std::string(what) + " table cannot be created: last row " + std::to_string(lastRow));
    return SingleTable(static_cast<std::size_t>(lastRow) + 1, columns);
}

// Bottom chord nodes 1..np + 1, left to right: x is the Single product
// (i - 1) x panelLength, not L x (i - 1) / np.
void placeBottomChord(SingleTable& nodes, int np, float panelLength)
{
    for (int i = 1; i <= np + 1; ++i) {
        nodes(i, NodeColumn::X) = finite(static_cast<float>(i - 1) * panelLength, Cause::Span, "x coordinate");
        nodes(i, NodeColumn::Y) = 0.0f;
    }
}

// Top chord nodes np + 2..2 np + 2, each directly above its bottom node,
// loaded downwards; the two end nodes carry half a load.
void placeTopChord(SingleTable& nodes, int np, int noNodes, float h, float nodeLoad)
{
    const float height = finite(h, Cause::Height, "height");
    for (int j = np + 2; j <= noNodes; ++j) {
        nodes(j, NodeColumn::X) = nodes(j - (np + 1), NodeColumn::X);
        nodes(j, NodeColumn::Y) = height;
        nodes(j, NodeColumn::Load) = -nodeLoad;
    }
    nodes(np + 2, NodeColumn::Load) = -nodeLoad / 2.0f;
    nodes(noNodes, NodeColumn::Load) = -nodeLoad / 2.0f;
}

struct Section {
    float E, A;
};

// Member rows in the builder's numbering, written one after the other.
class MemberRows {
public:
    explicit MemberRows(SingleTable& members) : members_(members) {}

    int last() const { return last_; }

    void join(int first, int second)
    {
        ++last_;
        members_(last_, MemberColumn::First) = static_cast<float>(first);
        members_(last_, MemberColumn::Second) = static_cast<float>(second);
    }

    void join(int first, int second, Section section)
    {
        join(first, second);
        give(last_, section);
    }

    void give(int member, Section section)
    {
        members_(member, MemberColumn::E) = section.E;
        members_(member, MemberColumn::A) = section.A;
    }

private:
    SingleTable& members_;
    int last_ = 0;
};

// Chord members, left node first: the bottom chord, then the top chord.
void connectChords(MemberRows& rows, int np, Section bottom, Section top)
{
    for (int k = 1; k <= np; ++k)
        rows.join(k, k + 1, bottom);
    for (int j = np + 3; j <= 2 * np + 2; ++j)
        rows.join(j - 1, j, top);
}

// The web: its section on every remaining row, then the verticals (bottom
// node first) and the diagonals (top node first), which descend to the right
// in the left part of the span and to the left in the right part.
void connectWeb(MemberRows& rows, std::int16_t np, int noMembers, Section web)
{
    for (int r = rows.last() + 1; r <= noMembers; ++r)
        rows.give(r, web);

    for (int v = 1; v <= np + 1; ++v)
        rows.join(v, np + 1 + v);

    // A single panel has no left-hand run by that rounding; it takes one
    // diagonal of each hand, the two crossing like those of the crossed
    // panel of any odd count.
    const std::int16_t a = np == 1 ? std::int16_t{1} : halfRoundedToEven(np);
    const int b = np % 2 != 0 ? a : a + 1;
    for (int d = 1; d <= a; ++d)
        rows.join(np + 1 + d, d + 1);
    for (int e = b; e <= np; ++e)
        rows.join(np + 2 + e, e);
}

}  // namespace

// Each step leaves what it set when a later one fails; noMax is set last, so
// that it tells of a build that succeeded.
void clsTruss::generatePratt()
{
    // Panel length first, so that np = 0 fails before any count is set.
    if (np_ == 0)
        throw TrussBuildError(Kind::DivisionByZero, Cause::PanelCount, "panel length: division by zero");
    panelLength_ = finite(L_ / static_cast<float>(np_), Cause::Span, "panel length");

    file_.noNodes = nodeCount(np_);
    file_.noMembers = memberCount(np_);
    file_.nodes = createTable(file_.noNodes, trussFile::nodeColumns, "node");
    file_.members = createTable(file_.noMembers, trussFile::memberColumns, "member");

    file_.nodes(1, NodeColumn::Support) = SupportCode::Pin;
    file_.nodes(np_ + 1, NodeColumn::Support) = SupportCode::Roller;

    // A UDL is spread over one panel.
    nodeLoad_ = loadType_ == uniformLoad ? loadValue_ * panelLength_ : loadValue_;
    finite(nodeLoad_, Cause::Load, "node load");

    placeBottomChord(file_.nodes, np_, panelLength_);
    placeTopChord(file_.nodes, np_, file_.noNodes, h_, nodeLoad_);

    for (const float property : {btmE_, btmA_, topE_, topA_, webE_, webA_})
        finite(property, Cause::MemberProperty, "a member's E or A");
    MemberRows rows(file_.members);
    connectChords(rows, np_, {btmE_, btmA_}, {topE_, topA_});
    connectWeb(rows, np_, file_.noMembers, {webE_, webA_});

    file_.noMax = file_.noNodes;
    if (file_.noMembers > file_.noNodes)
        file_.noMax = file_.noMembers;
}
