// Any bytes at all, read and checked as a truss file: no crash, no read past
// the end, no undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <span>

#include "kvrfile/TrussCheck.h"
#include "kvrfile/TrussFileReader.h"
#include "kvrfile/TrussStructure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TrussFileRead read = readTrussFile(std::span<const std::uint8_t>(data, size));
    if (!read.content)
        return 0;
    const TrussFileContent& truss = *read.content;
    checkTruss(truss);
    if (truss.hasTables)
        for (int m = 1; m <= truss.noMembers; ++m)
            groupOf(truss, m);
    return 0;
}
