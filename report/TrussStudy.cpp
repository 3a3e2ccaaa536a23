#include "report/TrussStudy.h"

#include <utility>

std::vector<double> TrussStudy::forces() const
{
    std::vector<double> forces;
    if (!solution)
        return forces;
    forces.reserve(solution->members.size());
    for (const MemberResult& member : solution->members)
        forces.push_back(member.force);
    return forces;
}

TrussStudy studyTruss(TrussFileContent truss)
{
    TrussStudy study{std::move(truss), {}, std::nullopt, {}};
    study.check = checkTruss(study.truss);
    if (!study.drawable()) {
        study.refusal = "the tables cannot be read: the file does not hold what its counts call for";
        return study;
    }
    TrussAnalysis analysis = solveTruss(study.truss);
    study.solution = std::move(analysis.value);
    study.refusal = std::move(analysis.error);
    return study;
}
