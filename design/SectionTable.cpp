// STAND-IN until the section tables land (see SectionTable.h). EN sections:
// EN 10210-2 dimensions, properties by its formulas (outside corner radius
// 1.5 t, inside t). AISC: the AISC Manual's tabulated values, converted to mm.
#include "design/SectionTable.h"

#include <cctype>
#include <string>

namespace {

std::string key(std::string_view designation)
{
    std::string k;
    for (const char c : designation)
        if (!std::isspace(static_cast<unsigned char>(c)))
            k += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return k;
}

Section hotSquare(const char* designation, double b, double t, double A, double I, double i, double mass)
{
    return {designation, SectionFamily::SHS, "EN 10210-2", DesignCode::En1993, SectionShape::RectangularHollow,
            Manufacture::HotFinished, b, b, t, 0.0, 0.0, 1.5 * t, t, A, I, I, i, i, mass};
}

const std::vector<Section>& standIn()
{
    static const std::vector<Section> sections{
        hotSquare("SHS 60x60x4", 60, 4, 878.8, 453900, 22.73, 6.899),
        hotSquare("SHS 100x100x5", 100, 5, 1873, 2794000, 38.62, 14.70),
        {"HSS6x6x3/8", SectionFamily::HSS, "AISC", DesignCode::Aisc360, SectionShape::RectangularHollow,
         Manufacture::ColdFormed, 152.4, 152.4, 9.525, 0.0, 0.0, 0.0, 8.865, 4890, 16.44e6, 16.44e6, 57.9, 57.9, 40.90},
        {"W8X31", SectionFamily::W, "AISC", DesignCode::Aisc360, SectionShape::I, Manufacture::Rolled, 203.2, 203.1, 11.05,
         7.24, 11.05, 10.0, 11.05, 5890, 45.79e6, 15.44e6, 88.1, 51.3, 46.13},
    };
    return sections;
}

}  // namespace

const Section* findSection(std::string_view designation, DesignCode code)
{
    for (const Section& s : standIn())
        if (s.code == code && key(s.designation) == key(designation))
            return &s;
    return nullptr;
}

std::vector<const Section*> sectionsOf(DesignCode code, SectionFamily family)
{
    std::vector<const Section*> found;
    for (const Section& s : standIn())
        if (s.code == code && s.family == family)
            found.push_back(&s);
    return found;
}
