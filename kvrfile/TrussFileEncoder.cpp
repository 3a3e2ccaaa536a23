#include "kvrfile/TrussFileEncoder.h"

#include <bit>
#include <cstring>

namespace {

// A table that was never built (a configuration the builder does not know,
// on a new object) goes into the file as the row 0 that its count of 0 calls
// for, so the file always matches its own header.
std::size_t cellsOf(const SingleTable& table, std::size_t columns) { return table.isEmpty() ? columns : table.cells().size(); }

// Writes forwards from the start of the file's bytes.
class Writer {
public:
    explicit Writer(std::span<std::uint8_t> bytes) : next_(bytes.data()) {}

    void integer(std::int16_t value)
    {
        const auto bits = static_cast<std::uint16_t>(value);
        *next_++ = static_cast<std::uint8_t>(bits & 0xff);
        *next_++ = static_cast<std::uint8_t>(bits >> 8);
    }

    void table(const SingleTable& table, std::size_t columns)
    {
        if (table.isEmpty()) {
            std::memset(next_, 0, columns * trussFile::singleSize);
            next_ += columns * trussFile::singleSize;
            return;
        }
        const std::vector<float>& cells = table.cells();
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(next_, cells.data(), cells.size() * trussFile::singleSize);
            next_ += cells.size() * trussFile::singleSize;
        } else {
            for (const float cell : cells) {
                const auto bits = std::bit_cast<std::uint32_t>(cell);
                for (std::size_t b = 0; b < trussFile::singleSize; ++b)
                    *next_++ = static_cast<std::uint8_t>(bits >> (8 * b));
            }
        }
    }

private:
    std::uint8_t* next_;
};

}  // namespace

std::size_t encodedSize(const TrussFileContent& content)
{
    return trussFile::headerSize
           + trussFile::singleSize * (cellsOf(content.nodes, trussFile::nodeColumns) + cellsOf(content.members, trussFile::memberColumns));
}

bool encodeTrussFile(const TrussFileContent& content, std::span<std::uint8_t> bytes)
{
    if (bytes.size() != encodedSize(content))
        return false;
    Writer writer(bytes);
    writer.integer(content.noMax);
    writer.integer(content.noNodes);
    writer.integer(content.noMembers);
    writer.table(content.nodes, trussFile::nodeColumns);
    writer.table(content.members, trussFile::memberColumns);
    return true;
}

std::vector<std::uint8_t> encodeTrussFile(const TrussFileContent& content)
{
    std::vector<std::uint8_t> bytes(encodedSize(content));
    encodeTrussFile(content, bytes);
    return bytes;
}
