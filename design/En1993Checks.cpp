#include "design/En1993Checks.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kvrfile/NumberText.h"

namespace en1993 {

namespace {

std::string mm(double value) { return formatSignificant(value, 4); }

// Table 3.1: fy for t <= 40 mm and 40 mm < t <= 80 mm, the same in the rows
// of every product standard that lists the grade.
struct GradeRow {
    const char* grade;
    double fyUpTo40, fyUpTo80;
};
constexpr GradeRow gradeRows[] = {
    {"S235", 235, 215}, {"S275", 275, 255}, {"S355", 355, 335}, {"S420", 420, 390}, {"S460", 460, 430},
};

bool isHollow(const Section& s) { return s.shape != SectionShape::I; }

// The standard of the section's row in Table 3.1.
const char* productStandard(const Section& s, const std::string& grade)
{
    if (s.manufacture == Manufacture::ColdFormed)
        return "EN 10219-1";
    if (isHollow(s))
        return "EN 10210-1";
    return grade == "S420" || grade == "S460" ? "EN 10025-4" : "EN 10025-2";
}

int classOf(double ratio, const double (&limits)[3])
{
    for (int c = 0; c < 3; ++c)
        if (ratio <= limits[c])
            return c + 1;
    return 4;
}

CompressedPart internalPart(std::string name, double c, double t, int count, double e)
{
    return {std::move(name), c, t, {33 * e, 38 * e, 42 * e}, count, false, 1};
}

}  // namespace

std::vector<std::string> gradeNames()
{
    std::vector<std::string> names;
    for (const GradeRow& row : gradeRows)
        names.emplace_back(row.grade);
    return names;
}

Result<YieldStrength> yieldStrength(std::string_view grade, const Section& s)
{
    const std::string key = gradeKey(grade);
    const auto row = std::find_if(std::begin(gradeRows), std::end(gradeRows), [&](const GradeRow& r) { return key == r.grade; });
    if (row == std::end(gradeRows))
        return {std::nullopt, "steel grade '" + std::string(grade) + "' is not one of EN 1993-1-1 Table 3.1's S235, S275, S355, S420, S460"};
    const double t = isHollow(s) ? s.t : std::max(s.tf, s.tw);
    const std::string standard = productStandard(s, key);
    const double limit = s.manufacture == Manufacture::ColdFormed ? 40.0 : 80.0;
    if (t > limit)
        return {std::nullopt, s.designation + ": EN 1993-1-1 Table 3.1 gives fy of " + standard + " sections up to t = " + mm(limit)
                                  + " mm, and its thickness is " + mm(t) + " mm"};
    const bool thin = t <= 40.0;
    return {YieldStrength{key, thin ? row->fyUpTo40 : row->fyUpTo80, t,
                          standard + (thin ? ", t <= 40 mm" : ", 40 mm < t <= 80 mm")},
            {}};
}

SectionClass crossSectionClass(const Section& s, double fy)
{
    SectionClass result;
    const double e = std::sqrt(235.0 / fy);
    result.epsilon = e;
    switch (s.shape) {
    case SectionShape::CircularHollow:
        result.parts.push_back({"wall", s.h, s.t, {50 * e * e, 70 * e * e, 90 * e * e}, 1, false, 1});
        break;
    case SectionShape::RectangularHollow:
        // Internal parts of a hollow section: c = b - 3t (Table 5.2 sheet 1).
        if (s.h == s.b) {
            result.parts.push_back(internalPart("wall", s.b - 3 * s.t, s.t, 4, e));
        } else {
            result.parts.push_back(internalPart("web", s.h - 3 * s.t, s.t, 2, e));
            result.parts.push_back(internalPart("flange", s.b - 3 * s.t, s.t, 2, e));
        }
        break;
    case SectionShape::I:
        result.parts.push_back(internalPart("web", s.h - 2 * s.tf - 2 * s.r, s.tw, 1, e));
        result.parts.push_back({"flange outstand", (s.b - s.tw - 2 * s.r) / 2, s.tf, {9 * e, 10 * e, 14 * e}, 4, true, 1});
        break;
    }
    for (CompressedPart& part : result.parts) {
        part.sectionClass = classOf(part.ratio(), part.limits);
        result.sectionClass = std::max(result.sectionClass, part.sectionClass);
    }
    return result;
}

std::optional<EffectiveArea> effectiveArea(const Section& s, const SectionClass& sectionClass)
{
    if (s.shape == SectionShape::CircularHollow)
        return std::nullopt;
    EffectiveArea area{s.A, s.A, {}};
    for (const CompressedPart& part : sectionClass.parts) {
        EffectivePart p{part.name, part.outstand ? 0.43 : 4.0, 0.0, 1.0, part.c, part.t, part.count};
        p.lambdaP = part.ratio() / (28.4 * sectionClass.epsilon * std::sqrt(p.kSigma));
        // psi = 1: (4.2) rho = (lambda_p - 0.055 (3 + psi)) / lambda_p^2 beyond 0.5 + sqrt(0.085 - 0.055 psi) = 0.673;
        // (4.3) rho = (lambda_p - 0.188) / lambda_p^2 beyond 0.748.
        if (!part.outstand && p.lambdaP > 0.673)
            p.rho = std::min(1.0, (p.lambdaP - 0.22) / (p.lambdaP * p.lambdaP));
        else if (part.outstand && p.lambdaP > 0.748)
            p.rho = std::min(1.0, (p.lambdaP - 0.188) / (p.lambdaP * p.lambdaP));
        area.Aeff -= p.count * (1.0 - p.rho) * p.c * p.t;
        area.parts.push_back(p);
    }
    return area;
}

TensionResistance tensionResistance(double A, double fy, const PartialFactors& factors)
{
    return {A, fy, factors.gammaM0, A * fy / factors.gammaM0};
}

CompressionResistance compressionResistance(double A, bool effective, double fy, const PartialFactors& factors)
{
    return {A, fy, factors.gammaM0, effective, A * fy / factors.gammaM0};
}

BucklingCurve bucklingCurve(const Section& s, Axis axis, std::string_view grade)
{
    const bool s460 = gradeKey(grade) == "S460";
    const auto curve = [&](const char* name, const std::string& why) {
        static constexpr struct {
            const char* name;
            double alpha;
        } table61[] = {{"a0", 0.13}, {"a", 0.21}, {"b", 0.34}, {"c", 0.49}, {"d", 0.76}};
        for (const auto& row : table61)
            if (std::string_view(row.name) == name)
                return BucklingCurve{name, row.alpha, why + (s460 ? ", S460" : "")};
        return BucklingCurve{};
    };
    if (isHollow(s)) {
        if (s.manufacture == Manufacture::ColdFormed)
            return curve("c", "cold-formed hollow section");
        return curve(s460 ? "a0" : "a", "hot-finished hollow section");
    }
    const bool yy = axis == Axis::YY;
    const double hb = s.h / s.b;
    const std::string shape = "rolled I, h/b = " + formatSignificant(hb, 3) + (hb > 1.2 ? " > 1.2" : " <= 1.2") + ", tf = "
                              + mm(s.tf) + " mm";
    const std::string about = yy ? ", about y-y" : ", about z-z";
    if (s.tf > 100)
        return curve(s460 ? "c" : "d", shape + " > 100 mm" + about);
    if (hb > 1.2 && s.tf <= 40)
        return curve(s460 ? "a0" : yy ? "a" : "b", shape + " <= 40 mm" + about);
    const std::string range = hb > 1.2 ? " in 40..100 mm" : " <= 100 mm";
    return curve(s460 ? "a" : yy ? "b" : "c", shape + range + about);
}

Slenderness slenderness(double Lcr, double i, double A, double Aused, double fy)
{
    Slenderness result{Lcr, i, std::numbers::pi * std::sqrt(E / fy), 0.0, 0.0};
    result.Ncr = std::numbers::pi * std::numbers::pi * E * A * i * i / (Lcr * Lcr);
    result.lambdaBar = Lcr / (i * result.lambda1) * std::sqrt(Aused / A);
    return result;
}

ReductionFactor reductionFactor(double lambdaBar, double alpha)
{
    const double Phi = 0.5 * (1 + alpha * (lambdaBar - 0.2) + lambdaBar * lambdaBar);
    return {Phi, std::min(1.0, 1 / (Phi + std::sqrt(Phi * Phi - lambdaBar * lambdaBar)))};
}

FlexuralBuckling bucklingResistance(Axis axis, const BucklingCurve& curve, const Slenderness& slenderness, double Aused,
                                    double fy, const PartialFactors& factors)
{
    const ReductionFactor reduction = reductionFactor(slenderness.lambdaBar, curve.alpha);
    return {axis, curve, slenderness, reduction, reduction.chi * Aused * fy / factors.gammaM1};
}

MemberChecks checkMember(const Section& s, const YieldStrength& fy, double force, double lengthInPlane,
                         double lengthOutOfPlane, const PartialFactors& factors)
{
    MemberChecks checks;
    checks.fy = fy;
    if (force >= 0) {
        checks.tension = tensionResistance(s.A, fy.fy, factors);
        checks.verdict = governingOf(force, {{CheckKind::Tension, checks.tension->NplRd / newtonsPerKilonewton, "EN 1993-1-1 6.2.3 (6.6)"}});
        return checks;
    }
    checks.sectionClass = crossSectionClass(s, fy.fy);
    const bool class4 = checks.sectionClass.sectionClass == 4;
    if (class4) {
        checks.effective = effectiveArea(s, checks.sectionClass);
        if (!checks.effective) {
            const CompressedPart& wall = checks.sectionClass.parts.front();
            checks.verdict = notCheckedBecause("Class 4 circular hollow section (d/t = " + formatSignificant(wall.ratio(), 3)
                                               + " > 90 eps^2 = " + formatSignificant(wall.limits[2], 3)
                                               + "): its shell buckling is EN 1993-1-6's, not checked here");
            return checks;
        }
    }
    const double Aused = class4 ? checks.effective->Aeff : s.A;
    checks.compression = compressionResistance(Aused, class4, fy.fy, factors);
    const auto buckling = [&](Axis axis, double i, double length) {
        return bucklingResistance(axis, bucklingCurve(s, axis, fy.grade),
                                  slenderness(length * 1000.0, i, s.A, Aused, fy.fy), Aused, fy.fy, factors);
    };
    checks.inPlane = buckling(Axis::YY, s.iy, lengthInPlane);
    checks.outOfPlane = buckling(Axis::ZZ, s.iz, lengthOutOfPlane);
    const char* bucklingClause = class4 ? "EN 1993-1-1 6.3.1.1 (6.48)" : "EN 1993-1-1 6.3.1.1 (6.47)";
    checks.verdict = governingOf(force, {{CheckKind::Compression, checks.compression->NcRd / newtonsPerKilonewton,
                                          class4 ? "EN 1993-1-1 6.2.4 (6.11)" : "EN 1993-1-1 6.2.4 (6.10)"},
                                         {CheckKind::BucklingInPlane, checks.inPlane->NbRd / newtonsPerKilonewton, bucklingClause},
                                         {CheckKind::BucklingOutOfPlane, checks.outOfPlane->NbRd / newtonsPerKilonewton, bucklingClause}});
    return checks;
}

}  // namespace en1993
