#pragma once

#include <span>
#include <vector>

#include "design/MemberDesign.h"
#include "loads/CaseSolutions.h"
#include "loads/Combination.h"

// Every member checked for the worst of the strength combinations. The
// checks are axial: a member's utilisation grows with its tension and with
// its compression, so only the combination of its largest tension and that
// of its largest compression can govern it, and both are checked.
struct EnvelopeDesign {
    std::vector<Combination> combinations;  // the strength combinations, in order
    // Each member's force and stress those of its governing combination;
    // the accuracies of forces and stresses the largest of any
    // combination's; node results zero and no loads, as no one
    // combination's are the envelope's (a view blanks them).
    TrussSolution solution;
    TrussDesign design;            // each member checked for its governing combination
    std::vector<int> governing;    // by member number: its governing combination's index; row 0 unused
};

// Refused as designTruss refuses, or when no combination is for strength.
Result<EnvelopeDesign> designEnvelope(const TrussFileContent& truss, std::span<const CaseSolution> cases,
                                      std::span<const Combination> combinations, const GroupSections& sections,
                                      const DesignSettings& settings);
