#pragma once

#include <optional>
#include <vector>

#include <QCommandLineParser>
#include <QMap>
#include <QStringList>
#include <QTextStream>

// What one command of kvrtool takes: its help and its parser are made from it.
struct OptionForm {
    QStringList names;    // a one-letter name beside a long one is its short form: {"o", "output"}; {"e"} is --e
    QString valueName;    // empty for a switch
    QString description;  // with the unit of the value
    bool repeatable = false;  // given once a value: --section top=... --section web=...
};

struct CommandForm {
    QString name;
    QString summary;  // one line
    QString usage;    // what follows "kvrtool NAME"
    std::vector<OptionForm> options;
};

// The command's help: its summary, usage and every option.
QString helpOf(const CommandForm& form);

// Parses a command's arguments (arguments[0] the program's name) into
// parser. Returns the exit status when the command is done already: its help
// printed to out, or a mistake (an unknown option, an option given twice)
// reported to err.
std::optional<int> parseCommand(const CommandForm& form, QCommandLineParser& parser, const QStringList& arguments,
                                QTextStream& out, QTextStream& err);

// The value of every option of the form that takes one and was given, under its long name.
QMap<QString, QString> givenValues(const CommandForm& form, const QCommandLineParser& parser);
