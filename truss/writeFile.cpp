#include <cstdint>
#include <vector>

#include "kvrfile/TrussFileEncoder.h"
#include "truss/clsTruss.h"

// The file is encoded whole, then saved whole: a failure leaves what the
// user had on disk as it was and no half-written file behind.
std::optional<atomicSave::Failure> clsTruss::writeFile() const
{
    const std::vector<std::uint8_t> bytes = encodeTrussFile(file_);
    return atomicSave::save(openfile_, bytes);
}
