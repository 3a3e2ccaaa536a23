#pragma once

#include <optional>
#include <vector>

#include "kvrfile/Result.h"
#include "loads/CaseLoads.h"
#include "loads/DesignFileUse.h"
#include "loads/ServiceabilityDeflection.h"
#include "report/PageFlow.h"
#include "report/TrussStudy.h"

// A truss with the design file beside it, as the calculation pages show
// it: each case's loads and solution, every combination, the members
// designed for the strength combinations, the deflection of the
// serviceability ones.
struct DesignFileStudy {
    DesignFile file;
    std::vector<CaseLoads> loads;           // each case's, in the file's order
    std::vector<Combination> combinations;  // generated, then the file's own
    EnvelopeStudy envelope;
    std::optional<ServiceabilityDeflection> deflection;  // none without a serviceability combination
};

// Refused as kvrtool design --design refuses: a case that does not fit the
// truss, a truss that cannot be solved, a design that cannot be made.
Result<DesignFileStudy> studyDesignFile(DesignFile file, const TrussFileContent& truss);

// The pages of the design file: each load case with its sources and a
// drawing of its loads, the combinations with their factors and clauses,
// the design of the members for the strength combinations, the deflection
// of the serviceability ones against the file's limit.
void loadCasePages(PageFlow& flow, const TrussStudy& study, const DesignFileStudy& design);
