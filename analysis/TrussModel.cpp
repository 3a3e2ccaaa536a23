#include "analysis/TrussModel.h"

namespace {
const char* const directionName[directions] = {"x", "y"};
}

Freedoms::Freedoms(const TrussFileContent& t) : index_(t.nodeRows() * directions, -1)
{
    for (int n = 1; n <= t.noNodes; ++n) {
        const float code = t.node(n, NodeColumn::Support);
        const bool held[directions] = {code == SupportCode::Pin, code == SupportCode::Pin || code == SupportCode::Roller};
        for (int d = 0; d < directions; ++d)
            if (!held[d]) {
                index_[slot(n, d)] = static_cast<int>(node_.size());
                node_.push_back(n);
                direction_.push_back(d);
            }
    }
}

std::string Freedoms::nameOf(int unknown) const
{
    return "node " + std::to_string(nodeOf(unknown)) + " in " + directionName[directionOf(unknown)];
}

std::vector<MemberFreedoms> memberFreedomsOf(const TrussFileContent& t, const Freedoms& freedoms)
{
    std::vector<MemberFreedoms> at(t.memberRows(), MemberFreedoms{{-1, -1, -1, -1}});
    for (int m = 1; m <= t.noMembers; ++m) {
        const int a = nodeNumber(t, m, MemberColumn::First), b = nodeNumber(t, m, MemberColumn::Second);
        at[static_cast<std::size_t>(m)] = {{freedoms.index(a, 0), freedoms.index(a, 1), freedoms.index(b, 0), freedoms.index(b, 1)}};
    }
    return at;
}
