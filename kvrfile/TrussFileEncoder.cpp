#include "kvrfile/TrussFileEncoder.h"

#include <bit>
#include <cstring>

namespace {

void appendInteger(std::vector<std::uint8_t>& bytes, std::int16_t value)
{
    const auto bits = static_cast<std::uint16_t>(value);
    bytes.push_back(static_cast<std::uint8_t>(bits & 0xff));
    bytes.push_back(static_cast<std::uint8_t>(bits >> 8));
}

void appendSingles(std::vector<std::uint8_t>& bytes, const std::vector<float>& values)
{
    const std::size_t start = bytes.size();
    bytes.resize(start + values.size() * trussFile::singleSize);
    if constexpr (std::endian::native == std::endian::little) {
        if (!values.empty())
            std::memcpy(bytes.data() + start, values.data(), values.size() * trussFile::singleSize);
    } else {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const auto bits = std::bit_cast<std::uint32_t>(values[i]);
            for (std::size_t b = 0; b < trussFile::singleSize; ++b)
                bytes[start + trussFile::singleSize * i + b] = static_cast<std::uint8_t>(bits >> (8 * b));
        }
    }
}

// A table that was never built (a configuration the builder does not know,
// on a new object) goes into the file as the row 0 that its count of 0 calls
// for, so the file always matches its own header.
void appendTable(std::vector<std::uint8_t>& bytes, const SingleTable& table, std::size_t columns)
{
    if (table.isEmpty())
        appendSingles(bytes, std::vector<float>(columns, 0.0f));
    else
        appendSingles(bytes, table.cells());
}

}  // namespace

std::vector<std::uint8_t> encodeTrussFile(const TrussFileContent& content)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(trussFile::headerSize + trussFile::singleSize * (content.nodes.cells().size() + content.members.cells().size()));
    appendInteger(bytes, content.noMax);
    appendInteger(bytes, content.noNodes);
    appendInteger(bytes, content.noMembers);
    appendTable(bytes, content.nodes, trussFile::nodeColumns);
    appendTable(bytes, content.members, trussFile::memberColumns);
    return bytes;
}
