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

// Replaces the file at path with exactly bytes, or leaves the disk as it was;
// nothing but the content changes. path is a file name as fileName::fromBytes
// has it. The bytes go to a new file beside the target that no one else can
// open (unnamed, or private to the writer), every write and the flush to the
// disk are checked, and only then does the new file get the earlier file's
// owner, group, extended attributes, ACL and permissions and take the
// target's name. A file with other names (hard links), or one whose owner,
// group or attributes the writer cannot give a new file, is written in place
// instead, its earlier content first kept in a copy beside it
// (InPlaceWrite.h). Refused, with nothing changed: a target that exists and is
// not a regular file (a device, a FIFO, a socket, a folder), and in a sticky
// world-writable folder a symbolic link or a file that belongs neither to the
// writer nor to the folder's owner (the rules the kernel applies to ordinary
// opens there). One's own links are followed: the file they point at is
// replaced and the link stays.
std::optional<Failure> save(const QString& path, QByteArrayView bytes);

// A file-size limit would otherwise end the process with SIGXFSZ in the
// middle of a write; ignored, the write fails with "File too large" and is
// reported like any other failure. For main() of each program.
void reportFileSizeLimitAsFailure();

}  // namespace atomicSave
