#pragma once

#include <optional>

#include <QStringList>
#include <QTextStream>

#include "kvrfile/TrussFileReader.h"

// The commands of kvrtool. arguments[0] is the program's name, the command
// itself removed.
int showCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int checkCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int drawCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int generateCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The one FILE argument of show, check and draw, read; reports to err when
// it cannot be.
std::optional<TrussFileContent> readFileArgument(const QStringList& positional, QTextStream& err);
