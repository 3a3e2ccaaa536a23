#pragma once

#include <memory>
#include <vector>

#include "loads/DesignFile.h"
#include "report/TrussSummary.h"
#include "viewer/LoadsShown.h"
#include "viewer/StudyDesign.h"

// The truss of a file under loads of its design file, as the viewer shows
// it: the drawing, the tables and the summary take study as they take the
// file's own; for the envelope, envelope is its design.
struct LoadsStudy {
    std::shared_ptr<const TrussStudy> study;
    std::shared_ptr<const StudyDesign> envelope;
};

// A case or a combination solved as kvrtool solve --design --case or
// --combination solves it, the truss carrying the vertical loads it was
// solved for (the drawing's arrows, the node table's loads). The envelope:
// every member designed for the strength combination that governs it,
// forces and stresses those of that combination, nodes without results
// (no one combination's are the envelope's) and without loads. The check
// stays the file's. A large truss takes a while: made away from the
// window's thread. Refused, the study says why it is not solved.
LoadsStudy studyUnder(const TrussStudy& file, const DesignFile& design, const LoadsShown& loads);

// While it is being made: the truss without loads or results.
std::shared_ptr<const TrussStudy> studyAwaiting(const TrussStudy& file);

// The summary under the loads shown: what they are first ("loads: case W of
// roof.toml"), the node loads the study was solved for, vertical and
// horizontal; for the envelope only the geometry and the members' extremes.
std::vector<SummaryLine> loadsSummary(const TrussStudy& shown, const LoadsShown& loads, const DesignFile& design);
