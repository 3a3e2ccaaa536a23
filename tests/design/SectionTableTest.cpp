// The section tables against the published tables of properties: each
// property lies within 0.5 % of the value the producer or the AISC Manual
// prints (the EN ones computed from the dimensions, the AISC ones read), and
// the AISC shapes' printed values agree with their dimensions.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <ostream>
#include <tuple>

#include "design/SectionTable.h"

namespace {

// The published table's units, to mm.
struct Units {
    double length, area, inertia, mass;  // mass: kg/m per the table's unit
};
constexpr Units cm{10.0, 100.0, 1e4, 1.0};
constexpr Units inch{25.4, 645.16, 416231.4256, 1.4881639};  // lb/ft to kg/m

struct Published {
    const char* typed;  // as an engineer might type it
    DesignCode code;
    const char* designation;
    Units units;
    double A, Iy, Iz, iy, iz, mass;
};

// EN 10210-2 and EN 10219-2: Tata Steel's tables of Celsius 355 (hot-finished)
// and Hybox 355 (cold-formed) hollow sections, as SCI P363 reprints them.
// EN 10365: ArcelorMittal, Sales programme, Sections and merchant bars.
// AISC: Steel Construction Manual, 15th ed., Tables 1-1 (W), 1-11 and 1-12
// (rectangular and square HSS) and 1-13 (round HSS); weight in lb/ft.
const Published rows[] = {
    {"SHS 100x100x5", DesignCode::En1993, "SHS 100x100x5", cm, 18.7, 279, 279, 3.86, 3.86, 14.7},
    {"shs200x200x10", DesignCode::En1993, "SHS 200x200x10", cm, 74.9, 4470, 4470, 7.72, 7.72, 58.8},
    {"RHS 200x100x8", DesignCode::En1993, "RHS 200x100x8", cm, 44.8, 2230, 739, 7.06, 4.06, 35.1},
    {"RHS 400 x 200 x 12.5", DesignCode::En1993, "RHS 400x200x12.5", cm, 142, 29100, 9740, 14.3, 8.28, 112},
    {"CHS 88.9x4", DesignCode::En1993, "CHS 88.9x4", cm, 10.7, 96.3, 96.3, 3.00, 3.00, 8.38},
    {"chs 168.3x6.3", DesignCode::En1993, "CHS 168.3x6.3", cm, 32.1, 1050, 1050, 5.73, 5.73, 25.2},
    {"SHS 100x100x5 CF", DesignCode::En1993, "SHS 100x100x5 CF", cm, 18.4, 271, 271, 3.84, 3.84, 14.4},
    {"SHS 150x150x8 cf", DesignCode::En1993, "SHS 150x150x8 CF", cm, 43.2, 1410, 1410, 5.71, 5.71, 33.9},
    {"shs300x300x12.5cf", DesignCode::En1993, "SHS 300x300x12.5 CF", cm, 137, 18300, 18300, 11.6, 11.6, 108},
    {"CHS 219.1x8 CF", DesignCode::En1993, "CHS 219.1x8 CF", cm, 53.1, 2960, 2960, 7.47, 7.47, 41.6},
    {"IPE 80", DesignCode::En1993, "IPE 80", cm, 7.64, 80.14, 8.49, 3.24, 1.05, 6.0},
    {"ipe200", DesignCode::En1993, "IPE 200", cm, 28.48, 1943, 142.4, 8.26, 2.24, 22.4},
    {"IPE 400", DesignCode::En1993, "IPE 400", cm, 84.46, 23130, 1318, 16.55, 3.95, 66.3},
    {"HEA 100", DesignCode::En1993, "HEA 100", cm, 21.24, 349.2, 133.8, 4.06, 2.51, 16.7},
    {"HEA 200", DesignCode::En1993, "HEA 200", cm, 53.83, 3692, 1336, 8.28, 4.98, 42.3},
    {"HEB 200", DesignCode::En1993, "HEB 200", cm, 78.08, 5696, 2003, 8.54, 5.07, 61.3},
    {"heb 300", DesignCode::En1993, "HEB 300", cm, 149.1, 25170, 8563, 12.99, 7.58, 117},
    {"HEB 600", DesignCode::En1993, "HEB 600", cm, 270.0, 171000, 13530, 25.17, 7.08, 212},
    {"W8X31", DesignCode::Aisc360, "W8X31", inch, 9.13, 110, 37.1, 3.47, 2.02, 31},
    {"w4x13", DesignCode::Aisc360, "W4X13", inch, 3.83, 11.3, 3.86, 1.72, 1.00, 13},
    {"W12X26", DesignCode::Aisc360, "W12X26", inch, 7.65, 204, 17.3, 5.17, 1.51, 26},
    {"W14X90", DesignCode::Aisc360, "W14X90", inch, 26.5, 999, 362, 6.14, 3.70, 90},
    {"W24X68", DesignCode::Aisc360, "W24X68", inch, 20.1, 1830, 70.4, 9.55, 1.87, 68},
    {"W18X234", DesignCode::Aisc360, "W18X234", inch, 68.6, 4900, 558, 8.44, 2.85, 234},
    {"W10X100", DesignCode::Aisc360, "W10X100", inch, 29.3, 623, 207, 4.60, 2.65, 100},
    {"HSS6x6x3/8", DesignCode::Aisc360, "HSS6x6x3/8", inch, 7.58, 39.5, 39.5, 2.28, 2.28, 27.48},
    {"hss2X2X1/4", DesignCode::Aisc360, "HSS2x2x1/4", inch, 1.51, 0.747, 0.747, 0.704, 0.704, 5.41},
    {"HSS12x12x1/2", DesignCode::Aisc360, "HSS12x12x1/2", inch, 20.9, 457, 457, 4.68, 4.68, 76.07},
    {"HSS8x4x1/4", DesignCode::Aisc360, "HSS8x4x1/4", inch, 5.24, 42.5, 14.4, 2.85, 1.66, 19.02},
    {"HSS10x6x3/8", DesignCode::Aisc360, "HSS10x6x3/8", inch, 10.4, 137, 61.8, 3.63, 2.44, 37.69},
    {"HSS2-1/2x1x3/16", DesignCode::Aisc360, "HSS2-1/2x1x3/16", inch, 1.02, 0.646, 0.143, 0.796, 0.374, 3.68},
    {"HSS6.625x0.280", DesignCode::Aisc360, "HSS6.625x0.280", inch, 5.20, 26.4, 26.4, 2.25, 2.25, 18.99},
    {"HSS10.750x0.500", DesignCode::Aisc360, "HSS10.750x0.500", inch, 15.0, 199, 199, 3.64, 3.64, 54.79},
    {"HSS 4.500 x 0.237", DesignCode::Aisc360, "HSS4.500x0.237", inch, 2.96, 6.79, 6.79, 1.52, 1.52, 10.80},
    {"HSS5.563x0.134", DesignCode::Aisc360, "HSS5.563x0.134", inch, 2.12, 7.84, 7.84, 1.92, 1.92, 7.78},
};

void PrintTo(const Published& row, std::ostream* out) { *out << row.designation; }

class SectionProperties : public ::testing::TestWithParam<Published> {};

TEST_P(SectionProperties, LieWithinHalfAPercentOfThePublishedTable)
{
    const Published& row = GetParam();
    const Section* section = findSection(row.code, row.typed);
    ASSERT_NE(section, nullptr) << row.typed << " is not found";
    EXPECT_EQ(section->designation, row.designation);
    const Units& u = row.units;
    const auto expectNear = [](double computed, double published, const char* what) {
        EXPECT_NEAR(computed, published, 0.005 * published) << what;
    };
    expectNear(section->A, row.A * u.area, "A");
    expectNear(section->Iy, row.Iy * u.inertia, "Iy");
    expectNear(section->Iz, row.Iz * u.inertia, "Iz");
    expectNear(section->iy, row.iy * u.length, "iy");
    expectNear(section->iz, row.iz * u.length, "iz");
    expectNear(section->massPerMetre, row.mass * u.mass, "mass per metre");
}

INSTANTIATE_TEST_SUITE_P(PublishedTables, SectionProperties, ::testing::ValuesIn(rows),
                         [](const ::testing::TestParamInfo<Published>& info) {
                             std::string name;
                             for (const char c : std::string_view(info.param.designation))
                                 name += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
                             return name;
                         });

// The AISC Manual computes its properties from the producers' unrounded
// dimensions; computed from the printed ones they come within 1.5 %, so a
// typo in a dimension or a property of any row shows here.
struct AiscFile {
    const char* name;
    SectionFamily family;
    SectionShape shape;
};

void PrintTo(const AiscFile& file, std::ostream* out) { *out << file.name; }

class AiscPrintedProperties : public ::testing::TestWithParam<AiscFile> {};

TEST_P(AiscPrintedProperties, AgreeWithTheDimensionsWithinOneAndAHalfPercent)
{
    const AiscFile& file = GetParam();
    int checked = 0;
    for (const Section* s : sectionsOf(DesignCode::Aisc360, file.family)) {
        if (s->shape != file.shape)
            continue;
        ++checked;
        const AreaInertiaAndMass c = propertiesFromDimensions(*s);
        for (const auto& [from, printed, what] :
             {std::tuple(c.A, s->A, "A"), std::tuple(c.Iy, s->Iy, "Iy"), std::tuple(c.Iz, s->Iz, "Iz"),
              std::tuple(std::sqrt(c.Iy / c.A), s->iy, "iy"), std::tuple(std::sqrt(c.Iz / c.A), s->iz, "iz"),
              std::tuple(c.massPerMetre, s->massPerMetre, "mass")})
            EXPECT_NEAR(from, printed, 0.015 * printed) << s->designation << ' ' << what;
    }
    EXPECT_GT(checked, 100) << file.name;
}

INSTANTIATE_TEST_SUITE_P(DataFiles, AiscPrintedProperties,
                         ::testing::Values(AiscFile{"W", SectionFamily::W, SectionShape::I},
                                           AiscFile{"RectangularHss", SectionFamily::HSS, SectionShape::RectangularHollow},
                                           AiscFile{"RoundHss", SectionFamily::HSS, SectionShape::CircularHollow}),
                         [](const ::testing::TestParamInfo<AiscFile>& info) { return std::string(info.param.name); });

TEST(SectionTable, EveryFamilyHasSectionsOfSoundProperties)
{
    for (const DesignCode code : {DesignCode::En1993, DesignCode::Aisc360})
        for (const SectionFamily family : familiesOf(code)) {
            const std::vector<const Section*> sections = sectionsOf(code, family);
            EXPECT_GE(sections.size(), 18u) << nameOf(family);
            for (const Section* s : sections) {
                // A misread column shows as an area beyond the outline or a radius of gyration beyond the half-depth.
                EXPECT_TRUE(s->A > 0 && s->A < s->h * s->b && s->iy > 0 && s->iy < s->h / 2 && s->iz > 0 && s->iz < s->b / 2
                            && s->massPerMetre > 0)
                    << s->designation;
                EXPECT_EQ(findSection(code, s->designation), s) << s->designation;
            }
        }
}

TEST(SectionTable, TellsHotFinishedFromColdFormedAndRefusesTheUnknown)
{
    EXPECT_EQ(findSection(DesignCode::En1993, "SHS 100x100x5")->manufacture, Manufacture::HotFinished);
    EXPECT_EQ(findSection(DesignCode::En1993, "SHS 100x100x5 CF")->manufacture, Manufacture::ColdFormed);
    EXPECT_EQ(findSection(DesignCode::Aisc360, "HSS6x6x3/8")->tDesign, 0.349 * 25.4);
    EXPECT_EQ(findSection(DesignCode::En1993, "SHS 100x100x7"), nullptr);
    EXPECT_EQ(findSection(DesignCode::Aisc360, "IPE 200"), nullptr);
    EXPECT_EQ(findSection(DesignCode::En1993, ""), nullptr);
    EXPECT_EQ(familyNamed("hea"), SectionFamily::HEA);
    EXPECT_EQ(familyNamed("HEM"), std::nullopt);
    EXPECT_EQ(codeNamed("AISC360"), DesignCode::Aisc360);
}

}  // namespace
