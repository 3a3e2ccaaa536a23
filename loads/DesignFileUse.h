#pragma once

#include <span>
#include <string_view>

#include "loads/DesignFile.h"
#include "loads/EnvelopeDesign.h"

// What solve, design and the viewer ask of a design file and its truss.

// The design settings the file gives: its code, grade and restraints.
DesignSettings designSettingsOf(const DesignFile& design);

// The loads of one case by its name, or of a linear combination of the
// cases in the notation ("1.35 G + 1.5 Q") or by a combination's name
// ("ULS 3", or one of the file's own). Refused in one line: a name
// the file has no case of, a case that does not fit the truss.
Result<NodeForces> caseLoadsNamed(const DesignFile& design, const TrussFileContent& truss, std::string_view name);
Result<NodeForces> combinationLoads(const DesignFile& design, const TrussFileContent& truss, std::string_view notation);
// The loads of these terms, each factor exactly as given (the notation
// writes nine digits), each case among the file's.
Result<NodeForces> combinationLoads(const DesignFile& design, const TrussFileContent& truss,
                                    std::span<const CombinationTerm> terms);

// Every case solved, and every member designed for the envelope of the
// file's strength combinations (generated, then its own).
struct EnvelopeStudy {
    std::vector<CaseSolution> cases;
    EnvelopeDesign envelope;
};
Result<EnvelopeStudy> designForEnvelope(const DesignFile& design, const TrussFileContent& truss);
