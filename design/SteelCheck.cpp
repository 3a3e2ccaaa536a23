#include "design/SteelCheck.h"

#include <cctype>

const char* checkKindName(CheckKind kind)
{
    switch (kind) {
    case CheckKind::Tension:
        return "tension";
    case CheckKind::Compression:
        return "compression";
    case CheckKind::BucklingInPlane:
        return "buckling in plane";
    case CheckKind::BucklingOutOfPlane:
        return "buckling out of plane";
    case CheckKind::NotChecked:
        break;
    }
    return "not checked";
}

std::string gradeKey(std::string_view grade)
{
    std::string key;
    for (const char c : grade)
        if (c != ' ' && c != '.' && c != '\t')
            key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (const std::size_t gr = key.find("GR"); gr != std::string::npos && gr > 0)
        key.erase(gr, 2);
    return key;
}
