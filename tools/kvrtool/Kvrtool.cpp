#include "tools/kvrtool/Kvrtool.h"

#include "tools/kvrtool/KvrCommands.h"
#include "version/Version.h"

namespace {

struct Command {
    const CommandForm& (*form)();
    int (*run)(const QStringList& arguments, QTextStream& out, QTextStream& err);
};

const Command commands[] = {
    {showForm, showCommand}, {checkForm, checkCommand}, {solveForm, solveCommand},
    {drawForm, drawCommand}, {designForm, designCommand}, {generateForm, generateCommand}, {reportForm, reportCommand},
    {sectionsForm, sectionsCommand},
};

QString usage()
{
    QString text = QStringLiteral(
        "kvrtool: read, check, solve, draw, design, generate and report the truss files of Ambrell; list the steel sections.\n"
        "usage: kvrtool COMMAND ARGUMENTS\n"
        "       kvrtool COMMAND --help   the command's arguments and options, with their units\n"
        "       kvrtool --help | --version\n\ncommands:\n");
    for (const Command& command : commands)
        text += QStringLiteral("  %1  %2\n").arg(command.form().name.leftJustified(9), command.form().summary);
    return text;
}

}  // namespace

int runKvrtool(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString name = arguments.value(1);
    QStringList rest = arguments;
    if (rest.size() > 1)
        rest.removeAt(1);

    for (const Command& command : commands)
        if (name == command.form().name)
            return command.run(rest, out, err);
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        out << usage();
        return kvrExit::ok;
    }
    if (name == QLatin1String("--version")) {
        out << "kvrtool " << ambrellVersion::text << '\n';
        return kvrExit::ok;
    }
    err << (name.isEmpty() ? QStringLiteral("kvrtool: no command given\n")
                           : QStringLiteral("kvrtool: unknown command '%1'\n").arg(name))
        << usage();
    return kvrExit::failed;
}
