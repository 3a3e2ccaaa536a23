#include "console/ProgramArguments.h"

#include <QCoreApplication>

#include "savefile/FileName.h"

QStringList programArguments(int argc, char* argv[])
{
#ifdef Q_OS_UNIX
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fileName::fromBytes(argv[i]);
    return arguments;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return QCoreApplication::arguments();
#endif
}
