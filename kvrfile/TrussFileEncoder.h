#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "kvrfile/TrussFileContent.h"

// The bytes of the truss file that holds the content: its three counts as
// they stand, then both tables whole. The one place that encodes a truss
// file.
std::vector<std::uint8_t> encodeTrussFile(const TrussFileContent& content);

// The same into bytes the caller keeps, which must be exactly
// encodedSize(content) of them: false, with nothing written, when they are not.
bool encodeTrussFile(const TrussFileContent& content, std::span<std::uint8_t> bytes);
std::size_t encodedSize(const TrussFileContent& content);
