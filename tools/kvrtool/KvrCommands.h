#pragma once

#include <optional>

#include <QStringList>
#include <QTextStream>

#include "kvrfile/TrussFileReader.h"
#include "tools/kvrtool/CommandLine.h"

// The commands of kvrtool. arguments[0] is the program's name, the command
// itself removed.
int showCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int checkCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int solveCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int drawCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int generateCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// What each command takes, for its parser and its help.
const CommandSpec& showSpec();
const CommandSpec& checkSpec();
const CommandSpec& solveSpec();
const CommandSpec& drawSpec();
const CommandSpec& generateSpec();

// The one FILE argument of show, check, solve and draw, read; reports to err
// when it cannot be.
std::optional<TrussFileContent> readFileArgument(const QStringList& positional, QTextStream& err);

// The file's tables, for the commands that need them; reports to err when
// the file does not hold them.
bool hasTables(const TrussFileContent& truss, QTextStream& err);

// Writes a picture, encoded whole, to path: reports to out, or to err why it
// could not be written. Returns the exit status.
int writePicture(const QString& path, const QByteArray& bytes, QTextStream& out, QTextStream& err);
