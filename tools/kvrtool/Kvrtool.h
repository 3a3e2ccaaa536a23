#pragma once

#include <QStringList>
#include <QTextStream>

// kvrtool: read, check, solve, draw, design and report on a truss file; generate one from the
// command line; list the steel section tables. arguments[0] is the program's name. Returns the exit status.
int runKvrtool(const QStringList& arguments, QTextStream& out, QTextStream& err);

// Exit statuses.
namespace kvrExit {
inline constexpr int ok = 0;
inline constexpr int failed = 1;      // inconsistent file, wrong options, a truss that cannot be built
inline constexpr int cannotRead = 2;  // check: no file to read
inline constexpr int notWritten = 2;  // a file, or the standard output, could not be written
inline constexpr int notHolding = 3;  // design: a member does not hold or is not checked; sizing did not settle
inline constexpr int noSectionHolds = 4;  // design --size: no section of a family carries its group
}  // namespace kvrExit
