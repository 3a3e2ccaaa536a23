#pragma once

#include <vector>

#include <QString>

#include "design/MemberDesign.h"

// A member's check written out step by step, as a checking engineer follows
// it: each step its formula, the numbers put in, its result and its clause
// (EN 1993-1-1: fy, the class, Nc,Rd, lambda-bar, Phi, chi, Nb,Rd; AISC
// 360-16: the width-to-thickness ratios, Fe, Fcr, phi_c Pn), then what
// governs and the utilisation, with the same numbers as the design table.
struct DesignStep {
    int level = 0;  // 0 a step, 1 a part of the step above it
    QString text;
};

std::vector<DesignStep> designSteps(const TrussSolution& solution, const TrussDesign& design, const MemberDesign& member);
