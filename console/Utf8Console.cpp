#include "console/Utf8Console.h"

#ifdef _WIN32
#include <windows.h>

Utf8Console::Utf8Console() : earlier_(::GetConsoleOutputCP())
{
    if (earlier_ != 0)
        ::SetConsoleOutputCP(CP_UTF8);
}

Utf8Console::~Utf8Console()
{
    if (earlier_ != 0)
        ::SetConsoleOutputCP(earlier_);
}
#else
Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;
#endif
