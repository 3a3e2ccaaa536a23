#include "analysis/TrussSystem.h"

#include "analysis/AnalysisLimits.h"
#include "kvrfile/NumberText.h"

namespace {

// Three digits, whatever the locale: 3.34e+08.
std::string rounded(double value) { return formatSignificant(value, 3); }

std::string limitsPassed(const FactorShape& shape)
{
    using namespace analysisLimits;
    const std::string why = "file: the members are too interconnected to analyse here: ";
    if (!shape.counted)
        return why + "the factor of the stiffness matrix would hold more than " + rounded(double(largestFactor))
               + " numbers, the most this program allows";
    if (shape.operations > largestWork)
        return why + "factorising the stiffness matrix would take " + rounded(shape.operations)
               + " multiply-adds, more than the " + rounded(largestWork) + " this program allows";
    return {};
}

}  // namespace

TrussSystem::TrussSystem(const TrussFileContent& t)
    : truss(t), freedoms(t), at(memberFreedomsOf(t, freedoms)), pattern(t, freedoms, at),
      shape(factorShape(pattern.upper(), analysisLimits::largestFactor)), tooInterconnected(limitsPassed(shape))
{
}
