#include "loads/LoadCase.h"

#include <array>

namespace {

constexpr std::array enKinds{LoadKind::Permanent, LoadKind::Imposed, LoadKind::Snow, LoadKind::Wind};
constexpr std::array usKinds{LoadKind::Permanent, LoadKind::Imposed, LoadKind::RoofLive, LoadKind::Snow, LoadKind::Wind};

}  // namespace

std::span<const LoadKind> kindsOf(DesignCode code)
{
    if (code == DesignCode::En1993)
        return enKinds;
    return usKinds;
}

std::string_view kindName(DesignCode code, LoadKind kind)
{
    const bool en = code == DesignCode::En1993;
    switch (kind) {
    case LoadKind::Permanent:
        return en ? "permanent" : "dead";
    case LoadKind::Imposed:
        return en ? "imposed" : "live";
    case LoadKind::RoofLive:
        return "roof-live";
    case LoadKind::Snow:
        return "snow";
    case LoadKind::Wind:
        return "wind";
    }
    return "unknown";
}

std::optional<LoadKind> kindNamed(DesignCode code, std::string_view name)
{
    for (const LoadKind kind : kindsOf(code))
        if (kindName(code, kind) == name)
            return kind;
    return std::nullopt;
}

double psi0Of(const LoadCase& loadCase)
{
    if (loadCase.psi0)
        return *loadCase.psi0;
    switch (loadCase.kind) {
    case LoadKind::Permanent:
        return 0.0;
    case LoadKind::Imposed:
    case LoadKind::RoofLive:
        return loadCase.category == 'E' ? 1.0 : loadCase.category == 'H' ? 0.0 : 0.7;
    case LoadKind::Snow:
        return 0.5;
    case LoadKind::Wind:
        return 0.6;
    }
    return 0.0;
}
