#include "tools/kvrtool/Utf8Console.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
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
