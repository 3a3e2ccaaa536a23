#include "kvrfile/TrussFileReader.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::int16_t int16At(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return static_cast<std::int16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

float singleAt(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    const std::uint32_t bits = static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8)
                               | (static_cast<std::uint32_t>(bytes[offset + 2]) << 16)
                               | (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
    return std::bit_cast<float>(bits);
}

std::vector<float> readSingles(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t count)
{
    std::vector<float> values(count);
    for (std::size_t i = 0; i < count; ++i)
        values[i] = singleAt(bytes, offset + trussFile::singleSize * i);
    return values;
}

}  // namespace

TrussFileRead readTrussFile(std::span<const std::uint8_t> bytes)
{
    using namespace trussFile;
    if (bytes.size() < headerSize)
        return {std::nullopt, "the file holds " + std::to_string(bytes.size()) + " bytes, fewer than the "
                                  + std::to_string(headerSize) + " of its header"};

    TrussFileContent content;
    content.noMax = int16At(bytes, noMaxOffset);
    content.noNodes = int16At(bytes, noNodesOffset);
    content.noMembers = int16At(bytes, noMembersOffset);
    content.size = bytes.size();
    if (content.noNodes < 0 || content.noMembers < 0)
        return {content, {}};

    content.expectedSize = fileSize(static_cast<std::uint64_t>(content.noNodes), static_cast<std::uint64_t>(content.noMembers));
    if (content.size < content.expectedSize)
        return {content, {}};

    content.nodes = readSingles(bytes, headerSize, content.nodeRows() * nodeColumns);
    content.members = readSingles(bytes, memberTableOffset(static_cast<std::uint64_t>(content.noNodes)),
                                  content.memberRows() * memberColumns);
    content.hasTables = true;
    return {content, {}};
}

TrussFileRead readTrussFile(const std::string& path)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        return {std::nullopt, "cannot read " + path + ": it is a folder"};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {std::nullopt, "cannot open " + path + ": " + std::strerror(errno)};
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return {std::nullopt, "cannot read " + path + ": " + std::strerror(errno)};
    return readTrussFile(std::span<const std::uint8_t>(bytes));
}
