#include <cmath>
#include <string>

#include "truss/Integer16.h"
#include "truss/clsTruss.h"

namespace {

using Cause = TrussBuildError::Cause;
using Kind = TrussBuildError::Kind;

[[noreturn]] void beyondSingle(Cause cause, const char* what)
{
    throw TrussBuildError(Kind::Overflow, cause, std::string(what) + " is beyond the range of Single");
}

// Every real value the builder stores must be finite: the analysis program
// can do nothing with an infinity or a NaN.
inline float finite(float value, Cause cause, const char* what)
{
    if (!std::isfinite(value)) [[unlikely]]
        beyondSingle(cause, what);
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

SingleTable createTable(std::int16_t lastRow, std::size_t columns, const char* what)
{
    if (lastRow < 0)
        throw TrussBuildError(Kind::TableCreation, Cause::PanelCount,
                              std::string(what) + " table cannot be created: last row " + std::to_string(lastRow));
    return SingleTable(static_cast<std::size_t>(lastRow) + 1, columns);
}

}  // namespace

void clsTruss::generatePratt()
{
    // 1. Panel length first, so that np = 0 fails before any count is set.
    if (np_ == 0)
        throw TrussBuildError(Kind::DivisionByZero, Cause::PanelCount, "panel length: division by zero");
    panelLength_ = finite(L_ / static_cast<float>(np_), Cause::Span, "panel length");

    // 2., 3. Counts.
    noNodes_ = integer16::add(integer16::multiply(2, np_, Cause::PanelCount), 2, Cause::PanelCount);
    noMembers_ = integer16::add(integer16::multiply(4, np_, Cause::PanelCount), 1, Cause::PanelCount);
    const bool odd = np_ % 2 != 0;
    if (odd)
        noMembers_ = integer16::add(noMembers_, 1, Cause::PanelCount);

    // 4. Both tables anew, every cell 0.0.
    nodes_ = createTable(noNodes_, 6, "node");
    members_ = createTable(noMembers_, 9, "member");

    // 5. Support codes.
    nodes_(1, 5) = 1.0f;
    nodes_(np_ + 1, 5) = 2.0f;

    // 6. Load per loaded top-chord node: a UDL is spread over one panel.
    nodeLoad_ = loadType_ == uniformLoad ? loadValue_ * panelLength_ : loadValue_;
    finite(nodeLoad_, Cause::Load, "node load");

    // 7. Bottom chord nodes: x is the Single product (i - 1) * panelLength.
    for (int i = 1; i <= np_ + 1; ++i) {
        nodes_(i, 1) = finite(static_cast<float>(i - 1) * panelLength_, Cause::Span, "x coordinate");
        nodes_(i, 2) = 0.0f;
    }

    // 8. Top chord nodes, each directly above its bottom node.
    const float height = finite(h_, Cause::Height, "height");
    for (int j = np_ + 2; j <= noNodes_; ++j) {
        nodes_(j, 1) = nodes_(j - (np_ + 1), 1);
        nodes_(j, 2) = height;
        nodes_(j, 4) = -nodeLoad_;
    }

    // 9. The end nodes of the top chord carry half a load.
    nodes_(np_ + 2, 4) = -nodeLoad_ / 2.0f;
    nodes_(noNodes_, 4) = -nodeLoad_ / 2.0f;

    const auto setNodes = [this](int member, int first, int second) {
        members_(member, 1) = static_cast<float>(first);
        members_(member, 2) = static_cast<float>(second);
    };
    for (const float property : {btmE_, btmA_, topE_, topA_, webE_, webA_})
        finite(property, Cause::MemberProperty, "a member's E or A");
    const auto setProperties = [this](int member, float e, float a) {
        members_(member, 3) = e;
        members_(member, 4) = a;
    };

    // 10. Bottom chord members, left node first.
    for (int k = 1; k <= np_; ++k) {
        setNodes(k, k, k + 1);
        setProperties(k, btmE_, btmA_);
    }
    int m = np_;  // the member written last

    // 11. Top chord members.
    for (int j = np_ + 3; j <= 2 * np_ + 2; ++j) {
        ++m;
        setNodes(m, j - 1, j);
        setProperties(m, topE_, topA_);
    }

    // 12. E and A of every web member, before their nodes are written.
    for (int r = m + 1; r <= noMembers_; ++r)
        setProperties(r, webE_, webA_);

    // 13. Verticals, bottom node first.
    for (int v = 1; v <= np_ + 1; ++v)
        setNodes(++m, v, np_ + 1 + v);

    // 14. Where the diagonals change direction. A single panel has no
    // left-hand run by that rounding; it takes one diagonal of each hand, the
    // two crossing like those of the crossed panel of any odd count.
    std::int16_t a = halfRoundedToEven(np_);
    if (np_ == 1)
        a = 1;
    const int b = odd ? a : a + 1;

    // 15. Left-hand diagonals, descending to the right, top node first.
    for (int d = 1; d <= a; ++d)
        setNodes(++m, np_ + 1 + d, d + 1);

    // 16. Right-hand diagonals, descending to the left, top node first.
    for (int e = b; e <= np_; ++e)
        setNodes(++m, np_ + 2 + e, e);

    // 17. The larger count, set last.
    noMax_ = noNodes_;
    if (noMembers_ > noNodes_)
        noMax_ = noMembers_;
}
