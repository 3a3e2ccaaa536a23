#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design/Section.h"
#include "design/SteelCheck.h"
#include "kvrfile/Result.h"

// The checks of a truss member in axial force to AISC 360-16, LRFD, one
// function a section of AISC 360-16, each giving back the numbers it
// worked with. Units are AISC 360-16's: in., in.2, ksi, kips; the
// sections' dimensions (mm) are converted on the way in, and an HSS's walls
// are its design thickness.
namespace aisc360 {

inline constexpr double E = 29000.0;  // ksi

// Fy and Fu of the ASTM grade (AISC Manual Table 2-4), for the shapes it covers.
struct Steel {
    std::string grade;  // "A500 Gr. C"
    double Fy = 0.0, Fu = 0.0;  // ksi
    std::string shapes;  // "rectangular HSS"
};
Result<Steel> astmGrade(std::string_view grade, const Section& section);
// The grade a shape is usually rolled in: A992 for W shapes, A500 Gr. C for HSS.
std::string usualGrade(const Section& section);
// The grades astmGrade knows, each once: "A992", "A500 Gr. C", "A500 Gr. B".
std::vector<std::string> gradeNames();

// D2: yielding in the gross section (D2-1) and rupture in the net section
// (D2-2), with An = Ag and U = 1 for welded ends without holes.
struct TensileStrength {
    double Ag = 0.0, Ae = 0.0;  // in.2
    double Fy = 0.0, Fu = 0.0;
    double phiYielding = 0.90, phiRupture = 0.75;
    double yielding = 0.0, rupture = 0.0;  // phi_t Pn, kips
    double phiPn = 0.0;                    // the lesser, kips
    bool ruptureGoverns = false;
};
TensileStrength tensileStrength(double Ag, const Steel& steel);

// D1 (L/r preferably not over 300 for a member in tension) and E2 (Lc/r
// preferably not over 200 for one in compression): reported, not enforced.
struct SlendernessLimit {
    double ratio = 0.0;  // L/r
    double limit = 0.0;
    const char* clause = "";
    bool within() const { return ratio <= limit; }
};
SlendernessLimit tensionSlenderness(double L, double r);
SlendernessLimit compressionSlenderness(double Lc, double r);

// Table B4.1a: each element's width-to-thickness ratio against lambda_r, and
// the factors c1, c2 of Table E7.1 for its effective width.
struct Element {
    std::string name;  // "wall b = B - 3t", "flange bf/2", "web h"
    double b = 0.0, t = 0.0;  // in.; D and t for a round HSS
    double lambdaR = 0.0;
    int count = 1;
    const char* tableCase = "";  // "Table B4.1a case 6"
    double c1 = 0.0, c2 = 0.0;   // Table E7.1
    double lambda() const { return b / t; }
    bool slender() const { return lambda() > lambdaR; }
};
struct WidthToThickness {
    std::vector<Element> elements;
    bool slender = false;
    bool roundHss = false;
};
WidthToThickness widthToThickness(const Section& section, const Steel& steel);

// E7: the effective area of a section with slender elements at Fcr: each
// element's effective width (E7-2, E7-3, E7-5), or a round HSS's (E7-6, E7-7).
// None for a round HSS with D/t beyond 0.45 E/Fy, which AISC 360-16 does not cover.
struct EffectiveWidth {
    std::string name;
    double b = 0.0, be = 0.0, Fel = 0.0;
    int count = 1;
};
struct EffectiveArea {
    double Ag = 0.0, Ae = 0.0;  // in.2
    std::vector<EffectiveWidth> widths;
};
std::optional<EffectiveArea> effectiveArea(double Ag, const WidthToThickness& elements, const Steel& steel, double Fcr);

// E3: flexural buckling about one axis, (E3-2) or (E3-3) by Lc/r against
// 4.71 sqrt(E/Fy), and (E3-1); with slender elements Pn = Fcr Ae (E7-1).
struct FlexuralBuckling {
    double Lc = 0.0, r = 0.0;  // in.
    double ratio = 0.0;        // Lc/r
    double limit = 0.0;        // 4.71 sqrt(E/Fy)
    double Fe = 0.0, Fcr = 0.0;  // ksi
    std::optional<EffectiveArea> effective;
    double area = 0.0;         // Ag, or Ae with slender elements
    double phiC = 0.90;
    double phiPn = 0.0;        // kips
    bool inelastic() const { return ratio <= limit; }
};
FlexuralBuckling flexuralBuckling(double Lc, double r, double Ag, const WidthToThickness& elements, const Steel& steel);

// Every step of a member's check: D2 and D1 for a member in tension; the
// elements, E3 in and out of the truss's plane and E2 for one in
// compression. The section stands with its major axis out of the plane:
// buckling in the plane is about x-x (rx), out of it about y-y (ry).
struct MemberChecks {
    Steel steel;
    std::optional<TensileStrength> tension;
    SlendernessLimit slenderness;
    WidthToThickness elements;
    std::optional<FlexuralBuckling> inPlane, outOfPlane;
    Verdict verdict;
};

// force in kN (tension positive), lengths in m.
MemberChecks checkMember(const Section& section, const Steel& steel, double force, double lengthInPlane,
                         double lengthOutOfPlane);

}  // namespace aisc360
