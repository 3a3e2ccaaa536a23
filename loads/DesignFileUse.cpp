#include "loads/DesignFileUse.h"

#include <algorithm>
#include <cctype>

#include "loads/GeneratedCombinations.h"

namespace {

std::string caseList(const DesignFile& design)
{
    std::string list;
    for (const std::string& name : design.caseNames())
        list += (list.empty() ? "" : ", ") + name;
    return list.empty() ? "none" : list;
}

}  // namespace

DesignSettings designSettingsOf(const DesignFile& design)
{
    DesignSettings settings;
    settings.code = design.code;
    settings.grade = design.steel.value_or(std::string());
    settings.outOfPlane = design.outOfPlane;
    return settings;
}

Result<NodeForces> caseLoadsNamed(const DesignFile& design, const TrussFileContent& truss, std::string_view name)
{
    if (!design.caseNamed(std::string(name)))
        return {std::nullopt, "no case '" + std::string(name) + "' in " + design.source + "; its cases: " + caseList(design)};
    return combinationLoads(design, truss, name);
}

Result<NodeForces> combinationLoads(const DesignFile& design, const TrussFileContent& truss, std::string_view notation)
{
    const std::vector<std::string> names = design.caseNames();
    Result<std::vector<CombinationTerm>> terms = parseCombination(notation, names);
    // Or a combination by its name, as design names the governing one: "ULS 3".
    if (!terms.value) {
        const std::vector<Combination> all = combinationsOf(design);
        const auto named = std::find_if(all.begin(), all.end(), [&](const Combination& c) { return c.name == notation; });
        if (named != all.end())
            terms = {named->terms, {}};
        else if (!notation.empty() && std::isalpha(static_cast<unsigned char>(notation.front()))
                 && notation.find_first_of("+-") == std::string_view::npos && !isCaseName(notation))
            return {std::nullopt, "no case or combination named '" + std::string(notation) + "' in " + design.source
                                      + " (design --list-combinations lists them)"};
    }
    if (!terms.value)
        return {std::nullopt, terms.error};
    return combinationLoads(design, truss, *terms.value);
}

Result<NodeForces> combinationLoads(const DesignFile& design, const TrussFileContent& truss,
                                    std::span<const CombinationTerm> terms)
{
    if (terms.empty())
        return {NodeForces(truss.nodeRows()), {}};
    // Only the cases named are made: a self-weight another case needs
    // sections for stays out of the way.
    DesignFile asked = design;
    std::erase_if(asked.cases, [&](const LoadCase& c) {
        return std::none_of(terms.begin(), terms.end(), [&](const CombinationTerm& t) { return t.caseName == c.name; });
    });
    Result<std::vector<CaseLoads>> cases = caseLoadsOf(asked, truss);
    if (!cases.value)
        return {std::nullopt, cases.error};
    NodeForces sum = superposed(terms, *cases.value);
    if (const int n = unfiniteNodeOf(sum); n > 0)
        return {std::nullopt, "combination '" + notationOf(terms) + "': its loads on node " + std::to_string(n)
                                  + " are too large for double precision"};
    return {std::move(sum), {}};
}

Result<EnvelopeStudy> designForEnvelope(const DesignFile& design, const TrussFileContent& truss)
{
    if (design.cases.empty())
        return {std::nullopt, design.source + ": no load case ([[case]]) to design for"};
    Result<std::vector<CaseLoads>> loads = caseLoadsOf(design, truss);
    if (!loads.value)
        return {std::nullopt, loads.error};
    Result<std::vector<CaseSolution>> cases = solveCases(truss, *loads.value);
    if (!cases.value)
        return {std::nullopt, cases.error};
    Result<EnvelopeDesign> envelope =
        designEnvelope(truss, *cases.value, combinationsOf(design), design.sections, designSettingsOf(design));
    if (!envelope.value)
        return {std::nullopt, design.source + ": " + envelope.error};
    return {EnvelopeStudy{std::move(*cases.value), std::move(*envelope.value)}, {}};
}
