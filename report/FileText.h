#pragma once

#include <QString>

#include "kvrfile/TrussCheck.h"
#include "kvrfile/TrussFileContent.h"

// The words of a truss file as kvrtool show and check give them: its counts
// and size, its two tables as text and as CSV, and what check finds.

// "counts: …" and "size: …", each with its line end.
QString fileSizeText(const TrussFileContent& truss);
// The node table and the member table, each headed by its name.
QString fileTablesText(const TrussFileContent& truss);
QString fileCsv(const TrussFileContent& truss);
// Every finding, the statics lines (the last one with the verdict of the
// truss's rigidity, decided only when there are statics to say it of), and
// "consistent" or the count of findings.
QString checkText(const TrussFileContent& truss, const TrussCheckReport& report);
// The message of a file without its tables.
QString noTablesText();
