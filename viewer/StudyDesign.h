#pragma once

#include <memory>

#include <QColor>

#include "drawing/DrawingKey.h"
#include "report/DesignText.h"
#include "report/TrussStudy.h"
#include "viewer/DesignChoice.h"

// The design of a solved study as the viewer shows it: every member's
// checks, and the members' colours by how much of their resistance they use.
// For the envelope of the design file's combinations, each member's
// governing combination by member number; empty otherwise.
struct StudyDesign {
    std::shared_ptr<const TrussStudy> study;
    TrussDesign design;
    MemberColours colours;
    designText::MemberCombinations combinations;
};

// The design as shown: its colours made from its verdicts.
StudyDesign shownDesign(std::shared_ptr<const TrussStudy> study, TrussDesign design,
                        designText::MemberCombinations combinations = {});

// Refused as designTruss refuses, or when the study has no solution. A
// large truss takes a while: made away from the window's thread.
Result<StudyDesign> designStudy(std::shared_ptr<const TrussStudy> study, const DesignInput& input);

// Green under 0.9, amber up to 1, red over, grey not checked.
QColor bandColour(designText::Band band);
