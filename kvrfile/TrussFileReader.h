#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "truss/TrussFile.h"

// A truss file as read back from its bytes, for checking and showing. Plain
// C++: it trusts nothing in the file and never reads past its end.
struct TrussFileContent {
    std::int16_t noMax = 0;
    std::int16_t noNodes = 0;
    std::int16_t noMembers = 0;
    std::uint64_t size = 0;          // bytes in the file
    std::uint64_t expectedSize = 0;  // bytes that the counts call for; 0 when a count is negative

    // Both tables, column by column as in the file. Present only when the
    // counts are not negative and the file holds every byte they call for.
    bool hasTables = false;
    std::vector<float> nodes;    // nodeRows() x trussFile::nodeColumns
    std::vector<float> members;  // memberRows() x trussFile::memberColumns

    float node(int row, int column) const { return nodes[static_cast<std::size_t>(column) * nodeRows() + static_cast<std::size_t>(row)]; }
    float member(int row, int column) const
    {
        return members[static_cast<std::size_t>(column) * memberRows() + static_cast<std::size_t>(row)];
    }
    std::size_t nodeRows() const { return static_cast<std::size_t>(noNodes) + 1; }
    std::size_t memberRows() const { return static_cast<std::size_t>(noMembers) + 1; }
};

struct TrussFileRead {
    std::optional<TrussFileContent> content;
    std::string error;  // why there is no content
};

TrussFileRead readTrussFile(std::span<const std::uint8_t> bytes);

// The whole input of an open stream, named name in an error; an error when it
// cannot be read, or when it holds more than the largest truss file (read no
// further).
TrussFileRead readTrussFile(std::FILE* file, const std::string& name);

// The same for the file at path, and an error when it cannot be opened. The
// path is UTF-8, also on Windows, whose narrow file names would be in the
// ANSI code page and cannot name every file.
TrussFileRead readTrussFile(const std::string& path);
