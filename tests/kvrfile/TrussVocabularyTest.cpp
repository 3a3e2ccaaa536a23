// The truss's extent and supports, as every program reads them: a node out
// of place (an x or a y not finite) is left out of the extent, whichever
// node it is; supports are found by their exact codes.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "kvrfile/TrussVocabulary.h"

namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();

struct Node {
    float x, y, code;
};

TrussFileContent trussOf(const std::vector<Node>& nodes)
{
    TrussFileContent t;
    t.noNodes = static_cast<std::int16_t>(nodes.size());
    t.nodes = SingleTable(t.nodeRows(), trussFile::nodeColumns);
    t.members = SingleTable(t.memberRows(), trussFile::memberColumns);
    for (int n = 1; n <= t.noNodes; ++n) {
        const Node& node = nodes[static_cast<std::size_t>(n - 1)];
        const auto row = static_cast<std::size_t>(n);
        t.nodes(row, NodeColumn::X) = node.x;
        t.nodes(row, NodeColumn::Y) = node.y;
        t.nodes(row, NodeColumn::Support) = node.code;
    }
    return t;
}

template <class Row> std::string nameOf(const testing::TestParamInfo<Row>& info) { return info.param.name; }

struct ExtentCase {
    const char* name;
    std::vector<Node> nodes;
    bool empty;
    double xMin, xMax, yMin, yMax, size;
};

const ExtentCase extentCases[] = {
    {"NoNodes", {}, true, 0, 0, 0, 0, 0},
    {"OneNode", {{2, -3, 0}}, false, 2, 2, -3, -3, 0},
    {"FirstOutOfPlaceAddsNoOrigin", {{nan, 0, 1}, {-2, 1, 0}, {4, 3, 0}}, false, -2, 4, 1, 3, 6},
    {"InfinitiesLeftOut", {{1, 1, 0}, {inf, 9, 0}, {2, -inf, 0}, {3, 5, 0}}, false, 1, 3, 1, 5, 4},
    {"NoneInPlace", {{nan, 1, 0}, {1, nan, 0}, {-inf, inf, 0}}, true, 0, 0, 0, 0, 0},
};

class ExtentRow : public testing::TestWithParam<ExtentCase> {};

TEST_P(ExtentRow, BoxesTheNodesInPlace)
{
    const ExtentCase& c = GetParam();
    const Extent e = extentOf(trussOf(c.nodes));
    EXPECT_EQ(e.empty, c.empty);
    EXPECT_EQ((std::vector<double>{e.xMin, e.xMax, e.yMin, e.yMax, e.size()}),
              (std::vector<double>{c.xMin, c.xMax, c.yMin, c.yMax, c.size}));
}

INSTANTIATE_TEST_SUITE_P(Vocabulary, ExtentRow, testing::ValuesIn(extentCases), nameOf<ExtentCase>);

struct SupportsCase {
    const char* name;
    std::vector<float> codes;  // node 1 on
    std::vector<int> pins, rollers, held;
    int pin, roller;
};

const SupportsCase supportsCases[] = {
    {"None", {0, 0, 0}, {}, {}, {}, 0, 0},
    {"OnePin", {0, 1, 0}, {2}, {}, {2}, 2, 0},
    {"RollerBeforePin", {2, 0, 0, 1}, {4}, {1}, {1, 4}, 4, 1},
    {"TwoRollers", {1, 2, 2}, {1}, {2, 3}, {1, 2, 3}, 1, 0},
    {"OtherCodesHoldNothing", {nan, 3, 1.5f, -1, 1, inf, 2}, {5}, {7}, {5, 7}, 5, 7},
};

class SupportsRow : public testing::TestWithParam<SupportsCase> {};

TEST_P(SupportsRow, FindsPinsAndRollersByNode)
{
    const SupportsCase& c = GetParam();
    std::vector<Node> nodes;
    for (const float code : c.codes)
        nodes.push_back({0, 0, code});
    const Supports s = supportsOf(trussOf(nodes));
    EXPECT_EQ(s.pins, c.pins);
    EXPECT_EQ(s.rollers, c.rollers);
    EXPECT_EQ(s.nodes(), c.held);
    EXPECT_EQ(s.pin(), c.pin);
    EXPECT_EQ(s.roller(), c.roller);
}

INSTANTIATE_TEST_SUITE_P(Vocabulary, SupportsRow, testing::ValuesIn(supportsCases), nameOf<SupportsCase>);

}  // namespace
