#include <cstdint>
#include <vector>

#include "kvrfile/TrussFileEncoder.h"
#include "savefile/AtomicSave.h"
#include "truss/clsTruss.h"

// The file is encoded whole, then saved whole: a failure leaves what the
// user had on disk as it was and no half-written file behind.
bool clsTruss::writeFile()
{
    const std::vector<std::uint8_t> bytes = encodeTrussFile(file_);
    const std::optional<atomicSave::Failure> failure = atomicSave::save(openfile_, bytes);
    if (!failure)
        return true;
    const QString message = QStringLiteral("Error while saving file ") + openfile_ + QStringLiteral("\r\n");
    messages_.showMessage(message + failure->description, MessageIcon::Critical);
    return false;
}
