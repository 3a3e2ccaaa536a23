#pragma once

#include <vector>

#include <QCommandLineParser>

#include "report/DesignWords.h"
#include "tools/kvrtool/CommandLine.h"

// The options of a design that design and report share: --code, --steel,
// --section, --out-of-plane, --gamma-m0, --gamma-m1. report/DesignWords
// reads them, and words their mistakes.
std::vector<OptionForm> designOptionForms();

// The words of the design options given, of those the command has.
DesignWords designWordsOf(const QCommandLineParser& parser);
