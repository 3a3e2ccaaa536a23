#include "kvrfile/TrussFileReader.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

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

SingleTable readTable(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t rows, std::size_t columns)
{
    SingleTable table(rows, columns);
    for (std::size_t c = 0; c < columns; ++c)
        for (std::size_t r = 0; r < rows; ++r)
            table(r, c) = singleAt(bytes, offset + trussFile::singleSize * (c * rows + r));
    return table;
}

#ifdef _WIN32
std::filesystem::path fileSystemPath(const std::string& utf8) { return std::u8string(utf8.begin(), utf8.end()); }
std::FILE* openToRead(const std::filesystem::path& path) { return ::_wfopen(path.c_str(), L"rb"); }
#else
std::filesystem::path fileSystemPath(const std::string& path) { return path; }
std::FILE* openToRead(const std::filesystem::path& path) { return std::fopen(path.c_str(), "rb"); }
#endif

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

    content.nodes = readTable(bytes, headerSize, content.nodeRows(), nodeColumns);
    content.members = readTable(bytes, memberTableOffset(static_cast<std::uint64_t>(content.noNodes)), content.memberRows(),
                                memberColumns);
    return {content, {}};
}

TrussFileRead readTrussFile(std::FILE* file, const std::string& name)
{
    // One byte more than the largest truss file tells an input that is none,
    // however long it goes on (a device, a pipe, a huge file).
    constexpr std::size_t bound = trussFile::largestFileSize + 1;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[64 * 1024];
    while (bytes.size() < bound) {
        const std::size_t wanted = std::min(sizeof chunk, bound - bytes.size());
        const std::size_t read = std::fread(chunk, 1, wanted, file);
        bytes.insert(bytes.end(), chunk, chunk + read);
        if (read < wanted)
            break;
    }
    if (std::ferror(file))
        return {std::nullopt, "cannot read " + name + ": " + std::strerror(errno)};
    if (bytes.size() == bound)
        return {std::nullopt, "not a truss file: " + name + " holds more than " + std::to_string(trussFile::largestFileSize)
                                  + " bytes, the most that the counts of a truss file can call for"};
    return readTrussFile(std::span<const std::uint8_t>(bytes));
}

TrussFileRead readTrussFile(const std::string& path)
{
    std::filesystem::path onDisk;
    try {
        onDisk = fileSystemPath(path);
    } catch (const std::filesystem::filesystem_error&) {
        // Windows: a name that is not UTF-8 names no file.
        return {std::nullopt, "cannot open " + path + ": the name is not UTF-8 text"};
    }
    std::error_code ignored;
    if (std::filesystem::is_directory(onDisk, ignored))
        return {std::nullopt, "cannot read " + path + ": it is a folder"};
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openToRead(onDisk), &std::fclose);
    if (!file)
        return {std::nullopt, "cannot open " + path + ": " + std::strerror(errno)};
    return readTrussFile(file.get(), path);
}
