#include "design/Aisc360Checks.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kvrfile/NumberText.h"

namespace aisc360 {

namespace {

constexpr double inches(double mm) { return mm / millimetresPerInch; }
constexpr double squareInches(double mm2) { return mm2 / (millimetresPerInch * millimetresPerInch); }
constexpr double inchesPerMetre = 1000.0 / millimetresPerInch;

// AISC Manual Table 2-4: Fy and Fu in ksi by ASTM grade and shape.
struct GradeRow {
    const char* key;
    const char* name;
    SectionShape shape;
    const char* shapes;
    double Fy, Fu;
};
constexpr GradeRow gradeRows[] = {
    {"A992", "A992", SectionShape::I, "W shapes", 50, 65},
    {"A500C", "A500 Gr. C", SectionShape::RectangularHollow, "rectangular HSS", 50, 62},
    {"A500C", "A500 Gr. C", SectionShape::CircularHollow, "round HSS", 46, 62},
    {"A500B", "A500 Gr. B", SectionShape::RectangularHollow, "rectangular HSS", 46, 58},
    {"A500B", "A500 Gr. B", SectionShape::CircularHollow, "round HSS", 42, 58},
};

const char* shapeName(SectionShape shape)
{
    switch (shape) {
    case SectionShape::I:
        return "a W shape";
    case SectionShape::RectangularHollow:
        return "a rectangular HSS";
    case SectionShape::CircularHollow:
        break;
    }
    return "a round HSS";
}

Element wall(std::string name, double b, double t, int count, double lambdaR)
{
    return {std::move(name), b, t, lambdaR, count, "Table B4.1a case 6", 0.20, 1.38};
}

}  // namespace

Result<Steel> astmGrade(std::string_view grade, const Section& s)
{
    std::string key = gradeKey(grade);
    if (key.starts_with("ASTM"))
        key.erase(0, 4);
    bool known = false;
    for (const GradeRow& row : gradeRows) {
        if (key != row.key)
            continue;
        known = true;
        if (row.shape == s.shape)
            return {Steel{row.name, row.Fy, row.Fu, row.shapes}, {}};
    }
    if (known)
        return {std::nullopt, "steel grade '" + std::string(grade) + "' is not rolled as " + shapeName(s.shape) + " (" + s.designation
                                  + "): A992 is for W shapes, A500 for HSS"};
    return {std::nullopt, "steel grade '" + std::string(grade) + "' is not one of A992, A500 Gr. C, A500 Gr. B"};
}

std::vector<std::string> gradeNames()
{
    std::vector<std::string> names;
    for (const GradeRow& row : gradeRows)
        if (std::find(names.begin(), names.end(), row.name) == names.end())
            names.emplace_back(row.name);
    return names;
}

std::string usualGrade(const Section& s) { return s.shape == SectionShape::I ? "A992" : "A500 Gr. C"; }

TensileStrength tensileStrength(double Ag, const Steel& steel)
{
    TensileStrength d2;
    d2.Ag = Ag;
    d2.Ae = Ag;  // An = Ag, U = 1 (D3)
    d2.Fy = steel.Fy;
    d2.Fu = steel.Fu;
    d2.yielding = d2.phiYielding * steel.Fy * Ag;    // (D2-1)
    d2.rupture = d2.phiRupture * steel.Fu * d2.Ae;   // (D2-2)
    d2.ruptureGoverns = d2.rupture < d2.yielding;
    d2.phiPn = std::min(d2.yielding, d2.rupture);
    return d2;
}

SlendernessLimit tensionSlenderness(double L, double r) { return {L / r, 300.0, "D1"}; }
SlendernessLimit compressionSlenderness(double Lc, double r) { return {Lc / r, 200.0, "E2"}; }

WidthToThickness widthToThickness(const Section& s, const Steel& steel)
{
    WidthToThickness result;
    const double root = std::sqrt(E / steel.Fy);
    const double t = inches(s.tDesign > 0 ? s.tDesign : s.t);
    switch (s.shape) {
    case SectionShape::CircularHollow:
        // Case 9: D/t against 0.11 E/Fy; E7.2 gives the effective area.
        result.roundHss = true;
        result.elements.push_back({"wall D/t", inches(s.h), t, 0.11 * E / steel.Fy, 1, "Table B4.1a case 9", 0, 0});
        break;
    case SectionShape::RectangularHollow: {
        // Case 6, the flat width taken as the outside width less 3 t (B4.1b(d)).
        const double b = inches(s.b) - 3 * t, h = inches(s.h) - 3 * t;
        if (s.h == s.b) {
            result.elements.push_back(wall("wall b = B - 3t", b, t, 4, 1.40 * root));
        } else {
            result.elements.push_back(wall("wall h = H - 3t", h, t, 2, 1.40 * root));
            result.elements.push_back(wall("wall b = B - 3t", b, t, 2, 1.40 * root));
        }
        break;
    }
    case SectionShape::I:
        // Case 1 (flange halves, Table E7.1 (c)) and case 5 (web, h = d - 2 kdes, Table E7.1 (a)).
        result.elements.push_back({"flange bf/2", inches(s.b) / 2, inches(s.tf), 0.56 * root, 4, "Table B4.1a case 1", 0.22, 1.49});
        result.elements.push_back({"web h", inches(s.h - 2 * s.tf - 2 * s.r), inches(s.tw), 1.49 * root, 1, "Table B4.1a case 5", 0.18, 1.31});
        break;
    }
    result.slender = std::any_of(result.elements.begin(), result.elements.end(), [](const Element& e) { return e.slender(); });
    return result;
}

std::optional<EffectiveArea> effectiveArea(double Ag, const WidthToThickness& elements, const Steel& steel, double Fcr)
{
    EffectiveArea area{Ag, Ag, {}};
    if (elements.roundHss) {
        const double Dt = elements.elements.front().lambda();
        if (Dt >= 0.45 * E / steel.Fy)
            return std::nullopt;
        if (Dt > 0.11 * E / steel.Fy)
            area.Ae = (0.038 * E / (steel.Fy * Dt) + 2.0 / 3.0) * Ag;  // (E7-7)
        return area;
    }
    for (const Element& e : elements.elements) {
        EffectiveWidth width{e.name, e.b, e.b, 0.0, e.count};
        if (e.lambda() > e.lambdaR * std::sqrt(steel.Fy / Fcr)) {
            width.Fel = std::pow(e.c2 * e.lambdaR / e.lambda(), 2) * steel.Fy;  // (E7-5)
            const double ratio = std::sqrt(width.Fel / Fcr);
            width.be = e.b * (1 - e.c1 * ratio) * ratio;  // (E7-3)
        }
        area.Ae -= e.count * (width.b - width.be) * e.t;
        area.widths.push_back(width);
    }
    return area;
}

FlexuralBuckling flexuralBuckling(double Lc, double r, double Ag, const WidthToThickness& elements, const Steel& steel)
{
    FlexuralBuckling e3;
    e3.Lc = Lc;
    e3.r = r;
    e3.ratio = Lc / r;
    e3.limit = 4.71 * std::sqrt(E / steel.Fy);
    e3.Fe = std::numbers::pi * std::numbers::pi * E / (e3.ratio * e3.ratio);                              // (E3-4)
    e3.Fcr = e3.inelastic() ? std::pow(0.658, steel.Fy / e3.Fe) * steel.Fy : 0.877 * e3.Fe;             // (E3-2), (E3-3)
    e3.area = Ag;
    if (elements.slender) {
        e3.effective = effectiveArea(Ag, elements, steel, e3.Fcr);
        if (!e3.effective)
            return e3;
        e3.area = e3.effective->Ae;
    }
    e3.phiPn = e3.phiC * e3.Fcr * e3.area;  // (E3-1), (E7-1)
    return e3;
}

MemberChecks checkMember(const Section& s, const Steel& steel, double force, double lengthInPlane, double lengthOutOfPlane)
{
    MemberChecks checks;
    checks.steel = steel;
    const double Ag = squareInches(s.A), rx = inches(s.iy), ry = inches(s.iz);
    if (force >= 0) {
        checks.tension = tensileStrength(Ag, steel);
        checks.slenderness = tensionSlenderness(lengthInPlane * inchesPerMetre, std::min(rx, ry));
        checks.verdict = governingOf(force, {{CheckKind::Tension, checks.tension->phiPn * kilonewtonsPerKip,
                                              checks.tension->ruptureGoverns ? "AISC 360-16 D2(b) (D2-2)" : "AISC 360-16 D2(a) (D2-1)"}});
        return checks;
    }
    checks.elements = widthToThickness(s, steel);
    checks.inPlane = flexuralBuckling(lengthInPlane * inchesPerMetre, rx, Ag, checks.elements, steel);
    checks.outOfPlane = flexuralBuckling(lengthOutOfPlane * inchesPerMetre, ry, Ag, checks.elements, steel);
    const FlexuralBuckling& slenderer = checks.inPlane->ratio >= checks.outOfPlane->ratio ? *checks.inPlane : *checks.outOfPlane;
    checks.slenderness = compressionSlenderness(slenderer.Lc, slenderer.r);
    if (checks.elements.slender && !checks.inPlane->effective) {
        checks.verdict = notCheckedBecause("round HSS with D/t = " + formatSignificant(checks.elements.elements.front().lambda(), 3)
                                           + " beyond 0.45 E/Fy: outside AISC 360-16 E7, not checked here");
        return checks;
    }
    const char* clause = checks.elements.slender ? "AISC 360-16 E7 (E7-1)" : "AISC 360-16 E3 (E3-1)";
    checks.verdict = governingOf(force, {{CheckKind::BucklingInPlane, checks.inPlane->phiPn * kilonewtonsPerKip, clause},
                                         {CheckKind::BucklingOutOfPlane, checks.outOfPlane->phiPn * kilonewtonsPerKip, clause}});
    return checks;
}

}  // namespace aisc360
