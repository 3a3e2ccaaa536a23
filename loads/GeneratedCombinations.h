#pragma once

#include <span>
#include <vector>

#include "loads/Combination.h"
#include "loads/DesignFile.h"
#include "loads/LoadCase.h"

// The combinations a code asks for, generated from the load cases' kinds.
//
// Common to both codes: every permanent (dead) case acts in every
// combination; the cases of one variable kind are alternatives (wind from
// the left or from the right), so a combination takes at most one of them;
// a variable load is also left out where it would relieve (EN 1990 Table
// A1.2(B): 0 where favourable; ASCE 7-16 2.3.1: effects of loads not
// acting), so every choice of the variable loads is generated. A
// combination that is another one scaled by a factor up to 1 (1.2 D beside
// 1.4 D, or the same twice) cannot govern and is left out. Named "ULS 1",
// "ULS 2", ... then "SLS 1", ...

// EN 1990 Annex A1 with the recommended values of Table A1.2(B):
//  ULS 6.10:  gammaG G + 1.5 Q1 + 1.5 psi0 Qi, each variable action leading in turn;
//  ULS 6.10a: gammaG G + 1.5 psi0 Qi;  6.10b: xi gammaG G + 1.5 Q1 + 1.5 psi0 Qi (xi = 0.85);
//  gammaG 1.35 where unfavourable and 1.0 where favourable, for each
//  permanent case on its own (2^n ways);
//  SLS characteristic 6.14b: G + Q1 + psi0 Qi, for deflection.
// psi0 by Table A1.1 (psi0Of).
std::vector<Combination> en1990Combinations(std::span<const LoadCase> cases, En1990Equation equation);

// ASCE 7-16 2.3.1, strength:
//  (1) 1.4D; (2) 1.2D + 1.6L + 0.5(Lr or S); (3) 1.2D + 1.6(Lr or S) + (L or 0.5W);
//  (4) 1.2D + 1.0W + L + 0.5(Lr or S); (5) 0.9D + 1.0W;
// serviceability (Appendix C), for deflection: D + L.
std::vector<Combination> asce7Combinations(std::span<const LoadCase> cases);

// How many combinations the cases may give, at most, before any is made:
// 2^permanent (EN 1990's favourable and unfavourable), times each choice of
// one case or none of each variable kind, times the leading actions, for
// both ULS expressions and SLS. Large sets are refused before this count of
// them is made (each choice pairs with every other).
double generatedCombinationBound(std::span<const LoadCase> cases, DesignCode code);

// The design file's code's combinations, then the engineer's own.
std::vector<Combination> combinationsOf(const DesignFile& design);
