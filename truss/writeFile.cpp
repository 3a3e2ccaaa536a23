#include <cstdint>
#include <variant>
#include <vector>

#include "kvrfile/TrussFileEncoder.h"
#include "truss/clsTruss.h"

// The file is encoded whole, then saved whole: a failure leaves what the
// user had on disk as it was and no half-written file behind.
std::optional<atomicSave::Failure> clsTruss::writeFile() const
{
    const std::vector<std::uint8_t> bytes = encodeTrussFile(file_);
    const atomicSave::Result result = atomicSave::save(openfile_, bytes);
    if (const atomicSave::Failure* failure = std::get_if<atomicSave::Failure>(&result))
        return *failure;
    return std::nullopt;  // whether replaced or written in place, the file holds the truss
}
