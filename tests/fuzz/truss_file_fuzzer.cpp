// Any bytes at all, read as a stream and checked as a truss file: no crash,
// no read past the end, no undefined behaviour, and no input read beyond the
// largest truss file. A whole file encodes back to the very bytes it was
// read from.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "kvrfile/TrussCheck.h"
#include "kvrfile/TrussFileEncoder.h"
#include "kvrfile/TrussFileReader.h"
#include "kvrfile/TrussStructure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* stream = size == 0 ? std::fopen("/dev/null", "rb") : fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (stream == nullptr)
        return 0;
    const TrussFileRead read = readTrussFile(stream, "input");
    std::fclose(stream);
    if (!read.value)
        return 0;
    const TrussFileContent& truss = *read.value;
    checkTruss(truss);
    if (truss.hasTables())
        for (int m = 1; m <= truss.noMembers; ++m)
            groupOf(truss, m);
    if (truss.hasTables() && truss.size == truss.expectedSize) {
        const std::vector<std::uint8_t> encoded = encodeTrussFile(truss);
        if (encoded.size() != size || !std::equal(encoded.begin(), encoded.end(), data))
            std::abort();
    }
    return 0;
}
