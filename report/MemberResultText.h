#pragma once

#include <vector>

#include <QString>

#include "analysis/TrussSolver.h"

// The force and the stress of each member as the tables and the summary show
// them: each to the digits its accuracy vouches for. In a truss symmetric at
// the precision of its Singles (mirrorMembers) a member and its mirror image
// read alike, both as their mean to the digits above their difference: the
// two differ by the rounding of the file's Singles alone (a node at 16.65 m
// is not quite the mirror image of one at 1.35 m), by up to 1e-4 of a small
// web force near the apex of a roof, and a last digit that differs reads as
// a fault.
class MemberResultText {
public:
    MemberResultText(const TrussFileContent& truss, const TrussSolution& solution);

    QString force(int m) const;
    QString stress(int m) const;

private:
    const TrussFileContent& truss;
    const TrussSolution& solution;
    std::vector<int> mirror;  // by member number; empty when the truss is not symmetric

    QString shown(int m, double MemberResult::*result, double error) const;
};
