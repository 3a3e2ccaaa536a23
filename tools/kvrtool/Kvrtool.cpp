#include "tools/kvrtool/Kvrtool.h"

#include "tools/kvrtool/KvrCommands.h"

namespace {

const char* const usage =
    "usage: kvrtool show FILE [--csv]\n"
    "       kvrtool check FILE\n"
    "       kvrtool draw FILE -o PICTURE.svg|PICTURE.png\n"
    "       kvrtool generate --span L --height H --panels N --area A --e E\n"
    "                        [--top-area A --btm-area A --web-area A --top-e E --btm-e E --web-e E]\n"
    "                        (--udl W | --point-load P) -o FILE.kvr\n";

}  // namespace

int runKvrtool(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString command = arguments.value(1);
    QStringList rest = arguments;
    if (rest.size() > 1)
        rest.removeAt(1);

    if (command == QLatin1String("show"))
        return showCommand(rest, out, err);
    if (command == QLatin1String("check"))
        return checkCommand(rest, out, err);
    if (command == QLatin1String("draw"))
        return drawCommand(rest, out, err);
    if (command == QLatin1String("generate"))
        return generateCommand(rest, out, err);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out << usage;
        return kvrExit::ok;
    }
    err << (command.isEmpty() ? QStringLiteral("kvrtool: no command given\n")
                              : QStringLiteral("kvrtool: unknown command '%1'\n").arg(command))
        << usage;
    return kvrExit::failed;
}
