#pragma once

#include <string>

#include "kvrfile/TrussFileReader.h"

// Whether a truss stands: the first-order rigidity of the truss exactly as
// the file gives it, decided in exact arithmetic, never by a rounding
// threshold. Counting members and reactions against twice the joints is
// necessary, not sufficient.
struct Rigidity {
    enum class Verdict { Stands, Mechanism, NotDecided };
    Verdict verdict = Verdict::NotDecided;
    int members = 0, reactions = 0, joints = 0;
    std::string where;       // a mechanism's: "node 12 in y"; empty when the count alone tells
    std::string freeMotion;  // and what it allows: "node 12 can move in y"
    std::string why;         // not decided: the line that says why
    double work = 0;         // what its exact factorisations cost, in multiply-adds of double (analysisLimits)
};

struct TrussSystem;

// For a file that check finds consistent.
Rigidity rigidityOf(const TrussFileContent& truss);
// The same, from the system solve builds anyway.
Rigidity rigidityOf(const TrussSystem& system);
