#pragma once

#include <vector>

#include <QString>

#include "report/TrussStudy.h"

// The truss and its results in a few lines, each a label and its value:
// span, height, panels, loads, and, when it is solved, the largest
// deflection with its span/deflection ratio, the reactions, the most tension
// and compression and every warning of the solution. Where a line is one
// kvrtool solve prints, label and value read as solve's "label: value".
struct SummaryLine {
    QString label;
    QString value;
};

std::vector<SummaryLine> summaryOf(const TrussStudy& study);

// The lines of a solution alone: deflections, reactions, extremes, the
// residual, the accuracy and the warning, if any.
std::vector<SummaryLine> resultLinesOf(const TrussFileContent& truss, const TrussSolution& solution);

// Extremes of a solution: member number (0 for none) of the largest force,
// times sign, beyond the forces' accuracy.
int extremeMember(const TrussSolution& solution, int sign);
