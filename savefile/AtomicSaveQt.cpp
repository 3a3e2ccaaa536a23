// Platforms without POSIX files: QSaveFile writes beside the target and
// renames; special files and shared folders are the platform's own affair.
#include "savefile/AtomicSave.h"

#include <QFileInfo>
#include <QSaveFile>

namespace atomicSave {

Result save(const QString& path, QByteArrayView bytes)
{
    const bool existed = QFileInfo::exists(path);
    const QString folder = QFileInfo(path).absolutePath();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{Step::CreateNewFile, folder, file.errorString(), path, {}};
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        return Failure{Step::WriteNewFile, folder, file.errorString(), path, {}};
    if (!file.commit())
        return Failure{Step::PlaceNewFile, path, file.errorString(), path, {}};
    return existed ? Saved::Replaced : Saved::Created;
}

void reportFileSizeLimitAsFailure() {}

}  // namespace atomicSave
