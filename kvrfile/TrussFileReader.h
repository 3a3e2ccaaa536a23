#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "kvrfile/TrussFileContent.h"

struct TrussFileRead {
    std::optional<TrussFileContent> content;
    std::string error;  // why there is no content
};

// The counts of any file that holds a header; the tables too when it holds
// every byte they call for.
TrussFileRead readTrussFile(std::span<const std::uint8_t> bytes);

// The whole input of an open stream, named name in an error; an error when it
// cannot be read, or when it holds more than the largest truss file (read no
// further).
TrussFileRead readTrussFile(std::FILE* file, const std::string& name);

// The same for the file at path, and an error when it cannot be opened.
TrussFileRead readTrussFile(const std::string& path);
