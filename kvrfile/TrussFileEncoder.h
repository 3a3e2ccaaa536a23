#pragma once

#include <cstdint>
#include <vector>

#include "kvrfile/TrussFileContent.h"

// The bytes of the truss file that holds the content: its three counts as
// they stand, then both tables whole. The one place that encodes a truss
// file.
std::vector<std::uint8_t> encodeTrussFile(const TrussFileContent& content);
