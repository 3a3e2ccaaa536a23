#include "report/MemberResultText.h"

#include <algorithm>
#include <cmath>

#include "report/MirrorImage.h"
#include "report/ResultText.h"

MemberResultText::MemberResultText(const TrussFileContent& truss, const TrussSolution& solution)
    : truss(truss),
      solution(solution),
      mirror(mirrorMembers(truss, solution.loads))
{
}

QString MemberResultText::force(int m) const { return shown(m, &MemberResult::force, solution.accuracy.force); }

// A member's stress is known as well as its force, over its own area.
QString MemberResultText::stress(int m) const
{
    return shown(m, &MemberResult::stress, stressAccuracy(solution, m, truss.member(m, MemberColumn::A)));
}

QString MemberResultText::shown(int m, double MemberResult::*result, double error) const
{
    const double value = solution.members[std::size_t(m)].*result;
    if (mirror.empty())
        return resultText::vouched(value, error);
    const double image = solution.members[std::size_t(mirror[std::size_t(m)])].*result;
    // Addition commutes in floating point too: the mean is the same number
    // whichever of the two is asked for. Its digits stop above the place of
    // the two's difference, where each of them reads as their mean does.
    return resultText::vouched((value + image) / 2, std::max(error, 10 * std::fabs(value - image)));
}
