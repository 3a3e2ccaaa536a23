#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

// The layout of the truss file, the one thing that binds this program to the
// analysis program that reads it. Flat, little-endian, no signature: three
// 16-bit counts, then the node table and the member table as Single values,
// each table column by column with the row index running fastest. Row 0 and
// column 0 of both tables are present and hold 0.0.
namespace trussFile {

inline constexpr std::size_t integerSize = 2;
inline constexpr std::size_t singleSize = 4;

// noMax, noNodes, noMembers.
inline constexpr std::size_t noMaxOffset = 0;
inline constexpr std::size_t noNodesOffset = noMaxOffset + integerSize;
inline constexpr std::size_t noMembersOffset = noNodesOffset + integerSize;
inline constexpr std::size_t headerSize = noMembersOffset + integerSize;

inline constexpr std::size_t nodeColumns = 6;    // columns 0..5
inline constexpr std::size_t memberColumns = 9;  // columns 0..8
inline constexpr std::size_t nodeRowSize = nodeColumns * singleSize;
inline constexpr std::size_t memberRowSize = memberColumns * singleSize;

// Bytes that a file with the given counts holds (rows 0..count in each table).
constexpr std::uint64_t fileSize(std::uint64_t noNodes, std::uint64_t noMembers)
{
    return headerSize + nodeRowSize * (noNodes + 1) + memberRowSize * (noMembers + 1);
}

// Where the member table starts.
constexpr std::uint64_t memberTableOffset(std::uint64_t noNodes) { return headerSize + nodeRowSize * (noNodes + 1); }

// Where cell (row, column) of each table lies.
constexpr std::uint64_t nodeCellOffset(std::uint64_t noNodes, std::uint64_t row, std::uint64_t column)
{
    return headerSize + singleSize * (column * (noNodes + 1) + row);
}
constexpr std::uint64_t memberCellOffset(std::uint64_t noNodes, std::uint64_t noMembers, std::uint64_t row,
                                         std::uint64_t column)
{
    return memberTableOffset(noNodes) + singleSize * (column * (noMembers + 1) + row);
}

// The largest file that 16-bit counts can call for.
inline constexpr std::uint64_t largestFileSize =
    fileSize(std::numeric_limits<std::int16_t>::max(), std::numeric_limits<std::int16_t>::max());

static_assert(headerSize == 6 && nodeRowSize == 24 && memberRowSize == 36);

}  // namespace trussFile

// What the columns of the node table hold. Columns 0 and 3 stay 0.0.
namespace NodeColumn {
inline constexpr int X = 1;        // m, along the span from the left end
inline constexpr int Y = 2;        // m, 0 on the bottom chord
inline constexpr int Load = 4;     // kN, vertical, downwards negative
inline constexpr int Support = 5;  // a SupportCode, 0.0 for a free node
inline constexpr int unused[] = {0, 3};
}  // namespace NodeColumn

// What the columns of the member table hold. Columns 0 and 5..8 stay 0.0.
namespace MemberColumn {
inline constexpr int First = 1;   // node number, as a Single
inline constexpr int Second = 2;  // node number, as a Single
inline constexpr int E = 3;       // kN/mm2
inline constexpr int A = 4;       // mm2
inline constexpr int unused[] = {0, 5, 6, 7, 8};
}  // namespace MemberColumn

// The support codes of node column Support, and the supports' names.
namespace SupportCode {
inline constexpr float Pin = 1.0f;     // held in x and y
inline constexpr float Roller = 2.0f;  // held in y

// "pin" or "roller"; nullptr for any other code.
constexpr const char* nameOf(float code) { return code == Pin ? "pin" : code == Roller ? "roller" : nullptr; }
}  // namespace SupportCode
