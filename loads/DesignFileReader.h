#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "kvrfile/Result.h"
#include "loads/DesignFile.h"

// The design file, all of it or nothing: the first mistake refuses it, in
// one line with the file, the line and the key at fault:
//   design.toml:12: [[case]] kind: expected one of permanent, imposed, snow, wind, got 'live'
// A key the file does not know is a mistake too, so that a misspelt one is
// never passed over. source names the file in the messages.
Result<DesignFile> parseDesignFile(std::string_view text, const std::string& source);

// Reads the file at path and parses it; its name as given names it.
Result<DesignFile> readDesignFile(const std::filesystem::path& path);

// The largest design file read: a design file is some kilobytes; a file of
// node loads for the largest truss some megabytes.
inline constexpr std::uintmax_t largestDesignFile = 64u << 20;
