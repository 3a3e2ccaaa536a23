#pragma once

#include <string>
#include <vector>

#include "kvrfile/TrussFileReader.h"

struct Finding {
    std::string where;  // "file", "node 3", "member 12"
    std::string what;
};

struct TrussCheckReport {
    std::vector<Finding> findings;  // empty: the file is consistent
    std::vector<std::string> statics;  // the last one counts members and reactions against the joints
};

// The file's own consistency, and a statics summary of the truss it holds.
TrussCheckReport checkTruss(const TrussFileContent& truss);
