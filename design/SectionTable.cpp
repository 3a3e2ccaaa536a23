#include "design/SectionTable.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

#include "design/EmbeddedSectionFiles.h"
#include "design/SectionCsv.h"
#include "design/SectionGeometry.h"

namespace {

constexpr double steelDensity = 7850e-9;  // kg/mm3
constexpr double mmPerInch = 25.4;

// How a data file gives its sections.
enum class Layout {
    RectangularHollow,  // designation,h_mm,b_mm,t_mm
    CircularHollow,     // designation,d_mm,t_mm
    RolledI,            // designation,h_mm,b_mm,tw_mm,tf_mm,r_mm
    HssRectangular,     // designation,h_in,b_in,t_in (nominal wall)
    HssRound,           // designation,d_in,t_in (nominal wall)
    WShape,             // designation,d_in,bf_in,tw_in,tf_in,kdes_in
};

struct DataFile {
    std::string_view name;
    SectionFamily family;
    std::string_view standard;
    Manufacture manufacture;
    Layout layout;
};

// In the order the tables list them.
constexpr DataFile dataFiles[] = {
    {"en10210-2-shs.csv", SectionFamily::SHS, "EN 10210-2", Manufacture::HotFinished, Layout::RectangularHollow},
    {"en10219-2-shs.csv", SectionFamily::SHS, "EN 10219-2", Manufacture::ColdFormed, Layout::RectangularHollow},
    {"en10210-2-rhs.csv", SectionFamily::RHS, "EN 10210-2", Manufacture::HotFinished, Layout::RectangularHollow},
    {"en10210-2-chs.csv", SectionFamily::CHS, "EN 10210-2", Manufacture::HotFinished, Layout::CircularHollow},
    {"en10219-2-chs.csv", SectionFamily::CHS, "EN 10219-2", Manufacture::ColdFormed, Layout::CircularHollow},
    {"en10365-ipe.csv", SectionFamily::IPE, "EN 10365", Manufacture::Rolled, Layout::RolledI},
    {"en10365-hea.csv", SectionFamily::HEA, "EN 10365", Manufacture::Rolled, Layout::RolledI},
    {"en10365-heb.csv", SectionFamily::HEB, "EN 10365", Manufacture::Rolled, Layout::RolledI},
    {"aisc-hss-rectangular.csv", SectionFamily::HSS, "AISC", Manufacture::ColdFormed, Layout::HssRectangular},
    {"aisc-hss-round.csv", SectionFamily::HSS, "AISC", Manufacture::ColdFormed, Layout::HssRound},
    {"aisc-w.csv", SectionFamily::W, "AISC", Manufacture::Rolled, Layout::WShape},
};

constexpr SectionFamily enFamilies[] = {SectionFamily::SHS, SectionFamily::RHS, SectionFamily::CHS,
                                        SectionFamily::IPE, SectionFamily::HEA, SectionFamily::HEB};
constexpr SectionFamily aiscFamilies[] = {SectionFamily::HSS, SectionFamily::W};

void setProperties(Section& s, const AreaAndInertia& p, double massArea)
{
    s.A = p.A;
    s.Iy = p.Iy;
    s.Iz = p.Iz;
    s.iy = std::sqrt(p.Iy / p.A);
    s.iz = std::sqrt(p.Iz / p.A);
    s.massPerMetre = massArea * 1000.0 * steelDensity;
}

AreaAndInertia inMillimetres(const AreaAndInertia& inches)
{
    const double square = mmPerInch * mmPerInch;
    return {inches.A * square, inches.Iy * square * square, inches.Iz * square * square};
}

// The AISC Manual's design wall of an ERW (ASTM A500) HSS: 0.93 t, to the
// thousandth of an inch as its tables give it and compute with it.
double designWallInches(double t) { return std::round(0.93 * t * 1000.0) / 1000.0; }

Section sectionOf(const DataFile& file, const SectionCsv& csv, std::size_t row)
{
    Section s;
    s.designation = std::string(csv.text(row, "designation"));
    s.family = file.family;
    s.standard = std::string(file.standard);
    s.code = codeOf(file.family);
    s.manufacture = file.manufacture;
    const auto mm = [&](std::string_view column) { return csv.number(row, column); };
    const auto inch = [&](std::string_view column) { return csv.number(row, column) * mmPerInch; };
    switch (file.layout) {
    case Layout::RectangularHollow: {
        s.shape = SectionShape::RectangularHollow;
        s.h = mm("h_mm");
        s.b = mm("b_mm");
        s.t = s.tDesign = mm("t_mm");
        const CornerRadii corners =
            file.manufacture == Manufacture::ColdFormed ? coldFormedCorners(s.t) : hotFinishedCorners(s.t);
        s.r = corners.outside;
        const AreaAndInertia p = rectangularHollow(s.h, s.b, s.t, corners.outside, corners.inside);
        setProperties(s, p, p.A);
        break;
    }
    case Layout::CircularHollow: {
        s.shape = SectionShape::CircularHollow;
        s.h = s.b = mm("d_mm");
        s.t = s.tDesign = mm("t_mm");
        const AreaAndInertia p = circularHollow(s.h, s.t);
        setProperties(s, p, p.A);
        break;
    }
    case Layout::RolledI:
    case Layout::WShape: {
        s.shape = SectionShape::I;
        if (file.layout == Layout::RolledI) {
            s.h = mm("h_mm");
            s.b = mm("b_mm");
            s.tw = mm("tw_mm");
            s.tf = mm("tf_mm");
            s.r = mm("r_mm");
        } else {
            s.h = inch("d_in");
            s.b = inch("bf_in");
            s.tw = inch("tw_in");
            s.tf = inch("tf_in");
            s.r = inch("kdes_in") - s.tf;
        }
        s.t = s.tDesign = s.tf;
        const AreaAndInertia p = rolledI(s.h, s.b, s.tw, s.tf, s.r);
        setProperties(s, p, p.A);
        break;
    }
    case Layout::HssRectangular: {
        // The properties with the design wall and corners of 2 tdes; the
        // mass, as the Manual's weight, with the nominal wall.
        s.shape = SectionShape::RectangularHollow;
        const double h = csv.number(row, "h_in"), b = csv.number(row, "b_in"), t = csv.number(row, "t_in");
        const double tdes = designWallInches(t);
        s.h = h * mmPerInch;
        s.b = b * mmPerInch;
        s.t = t * mmPerInch;
        s.tDesign = tdes * mmPerInch;
        s.r = 2.0 * s.tDesign;
        setProperties(s, inMillimetres(rectangularHollow(h, b, tdes, 2.0 * tdes, tdes)),
                      inMillimetres(rectangularHollow(h, b, t, 2.0 * t, t)).A);
        break;
    }
    case Layout::HssRound: {
        s.shape = SectionShape::CircularHollow;
        const double d = csv.number(row, "d_in"), t = csv.number(row, "t_in");
        const double tdes = designWallInches(t);
        s.h = s.b = d * mmPerInch;
        s.t = t * mmPerInch;
        s.tDesign = tdes * mmPerInch;
        setProperties(s, inMillimetres(circularHollow(d, tdes)), inMillimetres(circularHollow(d, t)).A);
        break;
    }
    }
    return s;
}

std::string_view textOf(std::string_view name)
{
    for (const EmbeddedSectionFile& file : embeddedSectionFiles())
        if (file.name == name)
            return file.text;
    throw std::logic_error("the section table " + std::string(name) + " was not embedded");
}

struct CodeTables {
    std::vector<Section> sections;
    std::map<std::string, std::size_t, std::less<>> byKey;
};

struct Tables {
    CodeTables en, aisc;
    const CodeTables& of(DesignCode code) const { return code == DesignCode::En1993 ? en : aisc; }
};

Tables load()
{
    Tables tables;
    for (const DataFile& file : dataFiles) {
        CodeTables& code = codeOf(file.family) == DesignCode::En1993 ? tables.en : tables.aisc;
        const SectionCsv csv(file.name, textOf(file.name));
        for (std::size_t row = 0; row < csv.rowCount(); ++row) {
            code.sections.push_back(sectionOf(file, csv, row));
            if (!code.byKey.emplace(designationKey(code.sections.back().designation), code.sections.size() - 1).second)
                throw std::logic_error(std::string(file.name) + ": " + code.sections.back().designation + " names two sections");
        }
    }
    return tables;
}

const Tables& tables()
{
    static const Tables loaded = load();
    return loaded;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::span<const Section> sectionsOf(DesignCode code) { return tables().of(code).sections; }

std::vector<const Section*> sectionsOf(DesignCode code, SectionFamily family)
{
    std::vector<const Section*> found;
    for (const Section& section : sectionsOf(code))
        if (section.family == family)
            found.push_back(&section);
    return found;
}

const Section* findSection(DesignCode code, std::string_view designation)
{
    const CodeTables& tablesOfCode = tables().of(code);
    const auto found = tablesOfCode.byKey.find(designationKey(designation));
    return found == tablesOfCode.byKey.end() ? nullptr : &tablesOfCode.sections[found->second];
}

std::string designationKey(std::string_view designation)
{
    std::string key;
    for (const char c : designation)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\v' && c != '\f')
            key += lower(c);
    return key;
}

std::span<const SectionFamily> familiesOf(DesignCode code)
{
    if (code == DesignCode::En1993)
        return enFamilies;
    return aiscFamilies;
}

DesignCode codeOf(SectionFamily family)
{
    return family == SectionFamily::HSS || family == SectionFamily::W ? DesignCode::Aisc360 : DesignCode::En1993;
}

std::string_view nameOf(SectionFamily family)
{
    switch (family) {
    case SectionFamily::SHS:
        return "SHS";
    case SectionFamily::RHS:
        return "RHS";
    case SectionFamily::CHS:
        return "CHS";
    case SectionFamily::IPE:
        return "IPE";
    case SectionFamily::HEA:
        return "HEA";
    case SectionFamily::HEB:
        return "HEB";
    case SectionFamily::HSS:
        return "HSS";
    case SectionFamily::W:
        return "W";
    }
    return "?";
}

std::string_view nameOf(DesignCode code) { return code == DesignCode::En1993 ? "en1993" : "aisc360"; }

std::optional<SectionFamily> familyNamed(std::string_view name)
{
    for (const DesignCode code : {DesignCode::En1993, DesignCode::Aisc360})
        for (const SectionFamily family : familiesOf(code))
            if (sameIgnoringCase(name, nameOf(family)))
                return family;
    return std::nullopt;
}

std::optional<DesignCode> codeNamed(std::string_view name)
{
    for (const DesignCode code : {DesignCode::En1993, DesignCode::Aisc360})
        if (sameIgnoringCase(name, nameOf(code)))
            return code;
    return std::nullopt;
}
