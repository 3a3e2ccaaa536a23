// The one wording of a failed save; the programs put it after their own
// words that name the path saved to.
#include "savefile/AtomicSave.h"

namespace atomicSave {

QString describe(const Failure& failure)
{
    const QString& file = failure.file;
    const QString& reason = failure.reason;
    switch (failure.step) {
    case Step::CheckTarget:
        break;
    case Step::ReadTarget:
        return QStringLiteral("cannot read %1: %2").arg(file, reason);
    case Step::CreateNewFile:
        return QStringLiteral("cannot create a new file in the folder %1: %2").arg(file, reason);
    case Step::WriteNewFile:
        return QStringLiteral("cannot write the new file in the folder %1: %2").arg(file, reason);
    case Step::PlaceNewFile:
        return QStringLiteral("cannot give the new file the name %1: %2").arg(file, reason);
    case Step::KeepCopy:
        return QStringLiteral("cannot write the kept copy %1: %2; %3 holds its earlier content")
            .arg(file, reason, failure.target);
    case Step::WriteInPlace:
        if (failure.keptCopy.isEmpty())
            return reason + QStringLiteral("; the file holds its earlier content again");
        return reason + QStringLiteral("; its earlier content is kept in ") + failure.keptCopy;
    }
    return reason;
}

}  // namespace atomicSave
