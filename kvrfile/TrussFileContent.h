#pragma once

#include <cstddef>
#include <cstdint>

#include "kvrfile/SingleTable.h"
#include "kvrfile/TrussFile.h"

// The truss file in memory: its three counts and its two tables. The builder
// fills it, the encoder turns it into the file's bytes, and the reader gives
// it back from them, trusting nothing in the file and never reading past its
// end.
struct TrussFileContent {
    std::int16_t noMax = 0;
    std::int16_t noNodes = 0;
    std::int16_t noMembers = 0;
    std::uint64_t size = 0;          // bytes in the file read; 0 for a truss built in memory
    std::uint64_t expectedSize = 0;  // bytes that the counts call for; 0 when a count is negative

    // Both tables, column by column as in the file: nodeRows() x
    // trussFile::nodeColumns and memberRows() x trussFile::memberColumns.
    // A file read holds them only when the counts are not negative and the
    // file holds every byte they call for; a truss holds them once built.
    SingleTable nodes;
    SingleTable members;

    bool hasTables() const { return !nodes.isEmpty() && !members.isEmpty(); }
    float node(int row, int column) const { return nodes(static_cast<std::size_t>(row), static_cast<std::size_t>(column)); }
    float member(int row, int column) const { return members(static_cast<std::size_t>(row), static_cast<std::size_t>(column)); }
    std::size_t nodeRows() const { return static_cast<std::size_t>(noNodes) + 1; }
    std::size_t memberRows() const { return static_cast<std::size_t>(noMembers) + 1; }
};
