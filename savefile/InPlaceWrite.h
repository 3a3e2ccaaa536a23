#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>

#include "savefile/AtomicSave.h"

namespace atomicSave::posix {

// Writes bytes into the file at path itself, for a file that a new file
// taking its name would not be: one with other names (hard links), or whose
// owner, group or attributes the writer cannot give a new file. Its earlier
// content is first copied whole beside it and synced, as PATH~ (or PATH.~N~
// when that name is taken; a name too long for those is cut short first); then the new content is written into the file
// and synced, and the copy removed. When writing the new content fails, the
// earlier content is written back; the failure says whether the file holds
// it again or the copy keeps it.
std::optional<Failure> writeInPlace(const QByteArray& path, QByteArrayView bytes);

}  // namespace atomicSave::posix
