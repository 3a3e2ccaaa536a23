#pragma once

#include "loads/EnvelopeDesign.h"
#include "report/CalculationPages.h"
#include "report/PageFlow.h"

// The design on the calculation pages: the input (geometry, groups with
// their sections and properties, material, loads), the method, the
// assumptions and the sign convention, the checks of the governing member of
// each group step by step with their clauses, the utilisation of every
// member (the columns of kvrtool design --csv, the same numbers), the
// verdict, and the largest vertical deflection against the limit asked for.
// A design that cannot be made says why.
void designPages(PageFlow& flow, const TrussStudy& study, const DesignRequest& request);

// The same for the envelope of a design file's strength combinations (its
// name source): each member's governing combination in the table, and with
// the step-by-step check of the governing member of each group. The
// deflection is the serviceability combinations' (report/LoadCasePages.h).
void envelopePages(PageFlow& flow, const TrussStudy& study, const EnvelopeDesign& envelope, const QString& source);
