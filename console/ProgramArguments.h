#pragma once

#include <QStringList>

// The program's arguments as given, arguments[0] its name. File names are
// bytes, not always UTF-8: on Unix each argument is read as a file name
// (savefile/FileName.h), so that it reaches the system again byte for byte;
// elsewhere they are the application's, read from the system's wide text,
// and the application object must be made first.
QStringList programArguments(int argc, char* argv[]);
