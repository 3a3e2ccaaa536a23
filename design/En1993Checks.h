#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design/Section.h"
#include "design/SteelCheck.h"
#include "kvrfile/Result.h"

// The checks of a truss member in axial force to EN 1993-1-1, one function a
// clause, each giving back the numbers it worked with so that a calculation
// can show every step. Units: mm, N/mm2, N; lengths of members in mm.
namespace en1993 {

inline constexpr double E = 210000.0;  // N/mm2, 3.2.6(1)

// 6.1(1) Note 2B: the recommended values; a national annex may set others.
struct PartialFactors {
    double gammaM0 = 1.0;
    double gammaM1 = 1.0;
};

// 3.2.1, Table 3.1: fy of the grade for the section's thickness and product
// standard (EN 10025 for rolled sections, EN 10210-1 hot-finished and
// EN 10219-1 cold-formed hollow sections).
struct YieldStrength {
    std::string grade;  // "S355"
    double fy = 0.0;    // N/mm2
    double t = 0.0;     // mm, the thickness that sets it
    std::string row;    // "EN 10210-1, t <= 40 mm"
};
Result<YieldStrength> yieldStrength(std::string_view grade, const Section& section);
// The grades of Table 3.1, weakest first: "S235" ... "S460".
std::vector<std::string> gradeNames();

// 5.5, Table 5.2: each compressed part of the section in uniform compression.
struct CompressedPart {
    std::string name;   // "web", "flange outstand", "wall"
    double c = 0.0;     // mm, the width of Table 5.2 (d for a CHS)
    double t = 0.0;     // mm
    double limits[3] = {};  // of c/t (d/t) for classes 1, 2 and 3
    int count = 1;      // parts of this kind in the section
    bool outstand = false;
    int sectionClass = 1;
    double ratio() const { return c / t; }
};
struct SectionClass {
    double epsilon = 1.0;  // sqrt(235 / fy)
    int sectionClass = 1;  // the highest of its parts'
    std::vector<CompressedPart> parts;
};
SectionClass crossSectionClass(const Section& section, double fy);

// EN 1993-1-5 4.4: the effective area of a Class 4 section in uniform
// compression (psi = 1), each plane part reduced by rho. A circular hollow
// section has none here: its shell buckling is EN 1993-1-6's.
struct EffectivePart {
    std::string name;
    double kSigma = 4.0;   // Table 4.1 (internal) or 4.2 (outstand), psi = 1
    double lambdaP = 0.0;  // (c / t) / (28.4 epsilon sqrt(k_sigma))
    double rho = 1.0;      // (4.2) internal, (4.3) outstand
    double c = 0.0, t = 0.0;
    int count = 1;
};
struct EffectiveArea {
    double A = 0.0, Aeff = 0.0;  // mm2
    std::vector<EffectivePart> parts;
};
std::optional<EffectiveArea> effectiveArea(const Section& section, const SectionClass& sectionClass);

// 6.2.3 (6.6): the design plastic resistance of the gross section; welded
// ends leave no holes, so Nt,Rd = Npl,Rd.
struct TensionResistance {
    double A = 0.0, fy = 0.0, gammaM0 = 1.0;
    double NplRd = 0.0;  // N
};
TensionResistance tensionResistance(double A, double fy, const PartialFactors& factors);

// 6.2.4 (6.10) Classes 1 to 3, (6.11) Class 4 with Aeff.
struct CompressionResistance {
    double A = 0.0;  // mm2, Aeff for Class 4
    double fy = 0.0, gammaM0 = 1.0;
    bool effective = false;
    double NcRd = 0.0;  // N
};
CompressionResistance compressionResistance(double A, bool effective, double fy, const PartialFactors& factors);

// Buckling about y-y (the major axis) or z-z.
enum class Axis { YY, ZZ };

// 6.3.1.2, Table 6.2 and Table 6.1: the curve for the section's kind,
// manufacture and grade, and its imperfection factor.
struct BucklingCurve {
    std::string name;  // "a0", "a", "b", "c", "d"
    double alpha = 0.0;
    std::string why;   // "hot-finished hollow section"
};
BucklingCurve bucklingCurve(const Section& section, Axis axis, std::string_view grade);

// 6.3.1.3 (6.50), (6.51): the non-dimensional slenderness for flexural buckling.
struct Slenderness {
    double Lcr = 0.0;      // mm
    double i = 0.0;        // mm
    double lambda1 = 0.0;  // pi sqrt(E / fy) = 93.9 epsilon
    double Ncr = 0.0;      // N, pi^2 E A i^2 / Lcr^2
    double lambdaBar = 0.0;
};
Slenderness slenderness(double Lcr, double i, double A, double Aused, double fy);

// 6.3.1.2 (6.49): Phi and the reduction factor chi of the curve.
struct ReductionFactor {
    double Phi = 0.0;
    double chi = 1.0;
};
ReductionFactor reductionFactor(double lambdaBar, double alpha);

// 6.3.1.1 (6.47), (6.48): the design buckling resistance about one axis.
struct FlexuralBuckling {
    Axis axis = Axis::YY;
    BucklingCurve curve;
    Slenderness slenderness;
    ReductionFactor reduction;
    double NbRd = 0.0;  // N
};
FlexuralBuckling bucklingResistance(Axis axis, const BucklingCurve& curve, const Slenderness& slenderness, double Aused,
                                    double fy, const PartialFactors& factors);

// Every step of a member's check: tension alone for a member in tension,
// the class, the cross-section and buckling in and out of the truss's plane
// for one in compression. The section stands with its major axis out of the
// plane: buckling in the plane is about y-y.
struct MemberChecks {
    YieldStrength fy;
    SectionClass sectionClass;
    std::optional<EffectiveArea> effective;
    std::optional<TensionResistance> tension;
    std::optional<CompressionResistance> compression;
    std::optional<FlexuralBuckling> inPlane, outOfPlane;
    Verdict verdict;
};

// force in kN (tension positive), lengths in m: the member's own in the
// plane, the distance between lateral restraints out of it.
MemberChecks checkMember(const Section& section, const YieldStrength& fy, double force, double lengthInPlane,
                         double lengthOutOfPlane, const PartialFactors& factors);

}  // namespace en1993
