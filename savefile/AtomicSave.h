#pragma once

#include <variant>

#include <QByteArrayView>
#include <QString>

// Every file the programs write goes through here: the truss file, and
// kvrtool's pictures.
namespace atomicSave {

// How the target came to hold the new content.
enum class Saved {
    Created,         // there was no file by that name
    Replaced,        // a new file took the earlier one's name
    WrittenInPlace,  // the earlier file itself holds the new content (InPlaceWrite.h)
};

// What the save was doing when it failed, and so which file `file` is.
enum class Step {
    CheckTarget,    // the target: refused (not a regular file, another user's in a shared folder,
                    // not writable, no name given), or its links or status unreadable
    ReadTarget,     // the target: its content or attributes, to keep them
    CreateNewFile,  // the folder: no new file could be made in it
    WriteNewFile,   // the folder: the new file in it (removed again) could not be written,
                    // flushed or given what the earlier file was
    PlaceNewFile,   // the target: the new file could not take its name
    KeepCopy,       // the kept copy NAME~ of the earlier content, before a write in place
    WriteInPlace,   // the target: its new content could not be written into it
};

// A save that did not happen; until a write in place fails, the target is as
// it was. Paths are as fileName::fromBytes has them (native separators on
// Windows).
struct Failure {
    Step step = Step::CheckTarget;
    QString file;      // the file the step failed on (see Step); empty when no name was given
    QString reason;    // the operating system's words, or why the target was refused
    QString target;    // the file to be saved, its links followed
    QString keptCopy;  // after a failed write in place: where the earlier content is
                       // kept; empty: the target holds it again
};

// The failure in words, for a message that has already named the path saved
// to: the reason alone where the step is the target itself, else the step and
// its file first, and where the earlier content is.
QString describe(const Failure& failure);

using Result = std::variant<Saved, Failure>;

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
Result save(const QString& path, QByteArrayView bytes);

// A file-size limit would otherwise end the process with SIGXFSZ in the
// middle of a write; ignored, the write fails with "File too large" and is
// reported like any other failure. For main() of each program.
void reportFileSizeLimitAsFailure();

}  // namespace atomicSave
