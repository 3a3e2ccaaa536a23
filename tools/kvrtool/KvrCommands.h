#pragma once

#include <optional>
#include <utility>
#include <variant>

#include <QStringList>
#include <QTextStream>

#include "analysis/TrussSolver.h"
#include "kvrfile/TrussFileReader.h"
#include "tools/kvrtool/CommandLine.h"

// The commands of kvrtool. arguments[0] is the program's name, the command
// itself removed.
int showCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int checkCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int solveCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int drawCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int generateCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int reportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int designCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
int sectionsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// What each command takes, for its parser and its help.
const CommandForm& showForm();
const CommandForm& checkForm();
const CommandForm& solveForm();
const CommandForm& drawForm();
const CommandForm& generateForm();
const CommandForm& reportForm();
const CommandForm& designForm();
const CommandForm& sectionsForm();

// Parses the arguments of show, check, solve or draw and reads their one
// FILE. Without a file, the exit status to return: the help shown, or a
// mistake or a file that cannot be read reported to err.
std::variant<TrussFileContent, int> parseAndRead(const CommandForm& form, QCommandLineParser& parser,
                                                 const QStringList& arguments, QTextStream& out, QTextStream& err);

// Runs a command that reads one FILE: body(parser, truss) once the file is
// read, and returns its exit status.
template <class Body>
int runOnFile(const CommandForm& form, const QStringList& arguments, QTextStream& out, QTextStream& err, Body body)
{
    QCommandLineParser parser;
    const std::variant<TrussFileContent, int> read = parseAndRead(form, parser, arguments, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    return body(std::as_const(parser), std::get<TrussFileContent>(read));
}

// Says on err why the command failed, in one line ("kvrtool: WHY"), and
// returns the exit status of a failure.
int failedBecause(QTextStream& err, const QString& why);
int failedBecause(QTextStream& err, const std::string& why);

// The file's tables, for the commands that need them; reports to err when
// the file does not hold them.
bool hasTables(const TrussFileContent& truss, QTextStream& err);

// Writes what a command made through the save routine; false, with the
// failure reported to err in one line ("kvrtool: cannot write PATH: …"),
// when nothing was made (bytes empty: what says what could not be made) or
// it was not written.
bool writeOrReport(const QString& path, const QByteArray& bytes, QTextStream& err, const char* what = "the file");

// The truss of the file solved, or why it cannot be reported to err in one line.
std::optional<TrussSolution> solvedOrRefused(const TrussFileContent& truss, QTextStream& err);
