#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "tools/kvrtool/Kvrtool.h"

// kvrtool run in-process, through its own entry point: its exit status and
// what it wrote to each stream.
struct ToolRun {
    int status;
    QString out, err;
};

inline ToolRun kvrtool(QStringList arguments)
{
    arguments.prepend(QStringLiteral("kvrtool"));
    ToolRun run{};
    QTextStream out(&run.out), err(&run.err);
    run.status = runKvrtool(arguments, out, err);
    out.flush();
    err.flush();
    return run;
}
