#pragma once

#include <vector>

#include <QCommandLineParser>

#include "loads/DesignFile.h"
#include "report/DesignWords.h"
#include "tools/kvrtool/CommandLine.h"

// The options of a design that design and report share: --code, --steel,
// --section, --out-of-plane, --gamma-m0, --gamma-m1. report/DesignWords
// reads them, and words their mistakes.
std::vector<OptionForm> designOptionForms();

// The words of the design options given, of those the command has.
DesignWords designWordsOf(const QCommandLineParser& parser);

// --design FILE: the design file (TOML) beside the truss file, for solve
// and design.
OptionForm designFileOption(const QString& description);

// The design file of --design, or none: it was not given, or it could not
// be read or another design option was given beside it (then reported to
// err, with its line and key where it is wrong; refused true).
std::optional<DesignFile> designFileOf(const QCommandLineParser& parser, QTextStream& err, bool& refused);
