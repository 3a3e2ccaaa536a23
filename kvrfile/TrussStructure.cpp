#include "kvrfile/TrussStructure.h"

#include <cmath>
#include <cstdlib>

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
    return truss.noNodes >= 4 && truss.noNodes % 2 == 0 ? truss.noNodes / 2 - 1 : 0;
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
    const int panels = panelsOf(truss);
    const int first = nodeNumber(truss, m, MemberColumn::First), second = nodeNumber(truss, m, MemberColumn::Second);
    if (panels == 0 || first == 0 || second == 0 || first == second)
        return MemberGroup::Unknown;
    const bool firstBottom = first <= panels + 1, secondBottom = second <= panels + 1;
    if (firstBottom && secondBottom)
        return MemberGroup::BottomChord;
    if (!firstBottom && !secondBottom)
        return MemberGroup::TopChord;
    return std::abs(first - second) == panels + 1 ? MemberGroup::Vertical : MemberGroup::Diagonal;
}
