#pragma once

#include <optional>

#include <QByteArrayView>
#include <QString>

// Every file the programs write goes through here: the truss file, and
// kvrtool's pictures.
namespace atomicSave {

struct Failure {
    QString description;  // the operating system's words, or why the target was refused
};

// Replaces the file at path with exactly bytes, or leaves the disk as it was.
// The bytes go to a new file beside the target, every write and the final
// flush to the disk are checked, and only then does the new file take the
// target's name, with the earlier file's permissions. Refused, with nothing
// changed: a target that exists and is not a regular file (a device, a FIFO,
// a socket, a folder), and a symbolic link in a sticky world-writable folder
// that belongs neither to the writer nor to the folder's owner (the rule the
// kernel applies to ordinary writes there). One's own links are followed:
// the file they point at is replaced and the link stays.
std::optional<Failure> save(const QString& path, QByteArrayView bytes);

// A file-size limit would otherwise end the process with SIGXFSZ in the
// middle of a write; ignored, the write fails with "File too large" and is
// reported like any other failure. For main() of each program.
void reportFileSizeLimitAsFailure();

}  // namespace atomicSave
