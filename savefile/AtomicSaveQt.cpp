// Platforms without POSIX files: QSaveFile writes beside the target and
// renames; special files and shared folders are the platform's own affair.
#include "savefile/AtomicSave.h"

#include <QSaveFile>

namespace atomicSave {

std::optional<Failure> save(const QString& path, QByteArrayView bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()
        || !file.commit())
        return Failure{file.errorString()};
    return std::nullopt;
}

void reportFileSizeLimitAsFailure() {}

}  // namespace atomicSave
