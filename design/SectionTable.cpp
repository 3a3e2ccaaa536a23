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
constexpr double kgPerMetrePerPoundPerFoot = 0.45359237 / 0.3048;

// How a data file gives its sections.
enum class Layout {
    RectangularHollow,  // designation,h_mm,b_mm,t_mm
    CircularHollow,     // designation,d_mm,t_mm
    RolledI,            // designation,h_mm,b_mm,tw_mm,tf_mm,r_mm
    // The AISC files add the Manual's weight and properties to the dimensions:
    HssRectangular,  // designation,h_in,b_in,t_in (nominal wall),W_lb_ft,A_in2,Ix_in4,Iy_in4,rx_in,ry_in
    HssRound,        // designation,d_in,t_in (nominal wall),W_lb_ft,A_in2,I_in4,r_in
    WShape,          // designation,d_in,bf_in,tw_in,tf_in,kdes_in,W_lb_ft,A_in2,Ix_in4,Iy_in4,rx_in,ry_in
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

void setProperties(Section& s, const AreaInertiaAndMass& p)
{
    s.A = p.A;
    s.Iy = p.Iy;
    s.Iz = p.Iz;
    s.iy = std::sqrt(p.Iy / p.A);
    s.iz = std::sqrt(p.Iz / p.A);
    s.massPerMetre = p.massPerMetre;
}

// What the AISC Manual prints for the section of a row, in mm and kg/m. Its
// radii of gyration come from the unrounded A and I, so they are read too:
// the rounded A and I would give some half a percent off. A round HSS has
// one second moment and one radius.
void setPublishedProperties(Section& s, const SectionCsv& csv, std::size_t row, Layout layout)
{
    const double squareInch = mmPerInch * mmPerInch;
    const bool round = layout == Layout::HssRound;
    const auto inch = [&](std::string_view column) { return csv.number(row, column) * mmPerInch; };
    const auto inch4 = [&](std::string_view column) { return csv.number(row, column) * squareInch * squareInch; };
    s.A = csv.number(row, "A_in2") * squareInch;
    s.Iy = inch4(round ? "I_in4" : "Ix_in4");
    s.Iz = round ? s.Iy : inch4("Iy_in4");
    s.iy = inch(round ? "r_in" : "rx_in");
    s.iz = round ? s.iy : inch("ry_in");
    s.massPerMetre = csv.number(row, "W_lb_ft") * kgPerMetrePerPoundPerFoot;
}

// The AISC Manual's design wall of an ERW (ASTM A500) HSS: 0.93 t, to the
// thousandth of an inch as its tables give it and compute with it.
double designWallInches(double t) { return std::round(0.93 * t * 1000.0) / 1000.0; }

// The corners of a rectangular hollow section of the given wall: an AISC
// HSS's are 2 t outside and t inside, as the Manual computes them.
CornerRadii cornersOf(const Section& s, double wall)
{
    if (s.code == DesignCode::Aisc360)
        return {2.0 * wall, wall};
    return s.manufacture == Manufacture::ColdFormed ? coldFormedCorners(wall) : hotFinishedCorners(wall);
}

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
    case Layout::RectangularHollow:
        s.shape = SectionShape::RectangularHollow;
        s.h = mm("h_mm");
        s.b = mm("b_mm");
        s.t = s.tDesign = mm("t_mm");
        s.r = cornersOf(s, s.t).outside;
        break;
    case Layout::CircularHollow:
        s.shape = SectionShape::CircularHollow;
        s.h = s.b = mm("d_mm");
        s.t = s.tDesign = mm("t_mm");
        break;
    case Layout::RolledI:
    case Layout::WShape:
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
        break;
    case Layout::HssRectangular:
        s.shape = SectionShape::RectangularHollow;
        s.h = inch("h_in");
        s.b = inch("b_in");
        s.t = inch("t_in");
        s.tDesign = designWallInches(csv.number(row, "t_in")) * mmPerInch;
        s.r = cornersOf(s, s.tDesign).outside;
        break;
    case Layout::HssRound:
        s.shape = SectionShape::CircularHollow;
        s.h = s.b = inch("d_in");
        s.t = inch("t_in");
        s.tDesign = designWallInches(csv.number(row, "t_in")) * mmPerInch;
        break;
    }
    // The AISC tables print their properties, computed from the producers'
    // unrounded dimensions; those of the EN tables are the standards' formulas.
    if (s.code == DesignCode::Aisc360)
        setPublishedProperties(s, csv, row, file.layout);
    else
        setProperties(s, propertiesFromDimensions(s));
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

AreaInertiaAndMass propertiesFromDimensions(const Section& s)
{
    const auto withMass = [](const AreaAndInertia& p, double massArea) {
        return AreaInertiaAndMass{p.A, p.Iy, p.Iz, massArea * 1000.0 * steelDensity};
    };
    switch (s.shape) {
    case SectionShape::RectangularHollow: {
        const auto of = [&](double wall) {
            const CornerRadii corners = cornersOf(s, wall);
            return rectangularHollow(s.h, s.b, wall, corners.outside, corners.inside);
        };
        return withMass(of(s.tDesign), of(s.t).A);
    }
    case SectionShape::CircularHollow:
        return withMass(circularHollow(s.h, s.tDesign), circularHollow(s.h, s.t).A);
    case SectionShape::I: {
        const AreaAndInertia p = rolledI(s.h, s.b, s.tw, s.tf, s.r);
        return withMass(p, p.A);
    }
    }
    return {};
}

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
