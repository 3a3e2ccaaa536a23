#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "kvrfile/Result.h"
#include "kvrfile/TrussFileContent.h"

// The content, or why the input holds none.
using TrussFileRead = Result<TrussFileContent>;

// The counts of any file that holds a header; the tables too when it holds
// every byte they call for.
TrussFileRead readTrussFile(std::span<const std::uint8_t> bytes);

// The whole input of an open stream, named name in an error; an error when it
// cannot be read, or when it holds more than the largest truss file (read no
// further).
TrussFileRead readTrussFile(std::FILE* file, const std::string& name);

// The same for the file at path, and an error when it cannot be opened. The
// path is UTF-8, also on Windows, whose narrow file names would be in the
// ANSI code page and cannot name every file.
TrussFileRead readTrussFile(const std::string& path);
