#pragma once

#include <QString>

#include "analysis/TrussSolver.h"

// The words of a solution as kvrtool solve gives them: its summary, its node
// and member tables, and its CSV. Every number to the digits its accuracy
// vouches for (report/ResultText.h); the summary's lines are the viewer's.

// "solved: …" and the lines of the solution, each "label: value".
QString solutionSummaryText(const TrussFileContent& truss, const TrussSolution& solution);
// The node table (displacements, reactions) and the member table (forces, stresses).
QString solutionTablesText(const TrussFileContent& truss, const TrussSolution& solution);
// node,ux_mm,uy_mm,rx_kN,ry_kN and member,force_kN,stress_MPa, all the digits a double holds that are vouched for.
QString solutionCsv(const TrussFileContent& truss, const TrussSolution& solution);
// The large-displacement warning as the summary's line says it ("warning: …"); empty when none.
QString largeDisplacementWarning(const TrussFileContent& truss, const TrussSolution& solution);
