#include "kvrfile/TrussFileReader.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <sys/stat.h>
#ifdef _WIN32
#include <filesystem>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "kvrfile/NumberText.h"

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

using OpenFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Why what is at path is not read, when it is not a regular file: a FIFO
// waits for a writer, a device may go on for ever or act on being read, a
// socket and a folder hold no bytes to read.
std::string notAFile(const std::string& path, unsigned mode)
{
    const char* what = "not a regular file";
#ifdef _WIN32
    const unsigned type = mode & _S_IFMT;
    if (type == _S_IFDIR)
        what = "a folder";
    else if (type == _S_IFIFO)
        what = "a named pipe (FIFO), not a file";
    else if (type == _S_IFCHR)
        what = "a character device, not a file";
#else
    if (S_ISDIR(mode))
        what = "a folder";
    else if (S_ISFIFO(mode))
        what = "a named pipe (FIFO), not a file";
    else if (S_ISSOCK(mode))
        what = "a socket, not a file";
    else if (S_ISCHR(mode))
        what = "a character device, not a file";
    else if (S_ISBLK(mode))
        what = "a block device, not a file";
#endif
    return "cannot read " + path + ": it is " + what;
}

bool isRegular(unsigned mode)
{
#ifdef _WIN32
    return (mode & _S_IFMT) == _S_IFREG;
#else
    return S_ISREG(mode);
#endif
}

#ifdef _WIN32
// The file at path, open to read, or why not. Opening a device (NUL, CON)
// does not wait, reading it might: it is refused before a byte is read.
Result<OpenFile> openRegular(const std::string& path)
{
    std::filesystem::path onDisk;
    try {
        onDisk = std::u8string(path.begin(), path.end());
    } catch (const std::filesystem::filesystem_error&) {
        // A name that is not UTF-8 names no file.
        return {std::nullopt, "cannot open " + path + ": the name is not UTF-8 text"};
    }
    std::error_code ignored;
    if (std::filesystem::is_directory(onDisk, ignored))  // which _wfopen refuses with words that do not say so
        return {std::nullopt, "cannot read " + path + ": it is a folder"};
    OpenFile file(::_wfopen(onDisk.c_str(), L"rb"), &std::fclose);
    if (!file)
        return {std::nullopt, "cannot open " + path + ": " + std::strerror(errno)};
    struct _stat64 status {};
    if (::_fstat64(::_fileno(file.get()), &status) != 0)
        return {std::nullopt, "cannot read " + path + ": " + std::strerror(errno)};
    if (!isRegular(status.st_mode))
        return {std::nullopt, notAFile(path, status.st_mode)};
    return {std::move(file), {}};
}
#else
// The file at path, open to read, or why not; nothing here waits. What is
// not a regular file is refused by its name first, so that a device is not
// even opened (opening one may act: a tape rewinds, a watchdog starts, a
// terminal becomes the controlling one), and again by what was opened, which
// may have been swapped in meanwhile: without waiting, as a FIFO's opening
// would wait for a writer.
Result<OpenFile> openRegular(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !isRegular(status.st_mode))
        return {std::nullopt, notAFile(path, status.st_mode)};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {std::nullopt, "cannot open " + path + ": " + std::strerror(errno)};
    const auto refuse = [fd](std::string why) {
        ::close(fd);
        return Result<OpenFile>{std::nullopt, std::move(why)};
    };
    if (::fstat(fd, &status) != 0)
        return refuse("cannot read " + path + ": " + std::strerror(errno));
    if (!isRegular(status.st_mode))
        return refuse(notAFile(path, status.st_mode));
    // O_NONBLOCK stays: reading a regular file never waits on it anyway.
    OpenFile file(::fdopen(fd, "rb"), &std::fclose);
    if (!file)
        return refuse("cannot read " + path + ": " + std::strerror(errno));
    return {std::move(file), {}};
}
#endif

}  // namespace

TrussFileRead readTrussFile(std::span<const std::uint8_t> bytes)
{
    using namespace trussFile;
    if (bytes.size() < headerSize)
        return {std::nullopt, "the file holds " + counted(static_cast<std::int64_t>(bytes.size()), "byte", "bytes")
                                  + ", fewer than the " + std::to_string(headerSize) + " of its header"};

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
    Result<OpenFile> file = openRegular(path);
    if (!file.value)
        return {std::nullopt, file.error};
    return readTrussFile(file.value->get(), path);
}
