#include "analysis/TrussResults.h"

#include "kvrfile/NumberText.h"

std::string relativeToleranceText()
{
    std::string written = formatSignificant(relativeTolerance, 1);
    if (const auto zero = written.find("e-0"); zero != std::string::npos)
        written.erase(zero + 2, 1);
    return written;
}

std::string arithmeticName(int bits)
{
    const char* name = bits <= 53 ? "double" : bits <= 64 ? "extended" : "quadruple";
    return std::string(name) + " precision, a " + std::to_string(bits) + "-bit significand";
}
