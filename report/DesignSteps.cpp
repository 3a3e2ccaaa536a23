#include "report/DesignSteps.h"

#include <cmath>

#include <QStringList>

#include "report/DesignText.h"
#include "report/ResultText.h"

namespace {

// Four significant digits for the steps between, and every digit before
// the point of a larger number (13859, not 1.386e+04); the resistance and
// the utilisation as the design table has them.
QString n(double value)
{
    const double size = std::fabs(value);
    return resultText::number(value, size >= 1e4 && size < 1e9 ? static_cast<int>(std::floor(std::log10(size))) + 1 : 4);
}
QString text(const std::string& s) { return QString::fromStdString(s); }

class Writer {
public:
    Writer(const TrussSolution& solution, const TrussDesign& design, const MemberDesign& member)
        : s(solution),
          settings(design.settings),
          m(member)
    {
    }

    std::vector<DesignStep> write()
    {
        if (const auto* en = std::get_if<en1993::MemberChecks>(&m.checks))
            en1993(*en);
        else
            aisc360(std::get<aisc360::MemberChecks>(m.checks));
        verdict();
        return std::move(steps);
    }

private:
    void step(const QString& line, int level = 0) { steps.push_back({level, line}); }

    QString forceWord() const { return m.force >= 0 ? QStringLiteral("tension") : QStringLiteral("compression"); }

    void en1993(const en1993::MemberChecks& c)
    {
        const Section& sec = *m.section;
        QString force =
            QStringLiteral("N_Ed = %1 kN (%2); L = %3 m").arg(designText::forceText(s, m.force), forceWord(), n(m.length));
        if (!c.tension)
            force += QStringLiteral("; buckling lengths Lcr,y = %1 m in the truss's plane, Lcr,z = %2 m out of it")
                         .arg(n(m.length), n(m.outOfPlane));
        step(force);
        QString fy = QStringLiteral("fy = %1 N/mm² for t = %2 mm (Table 3.1: %3 %4)")
                         .arg(n(c.fy.fy), n(c.fy.t), text(c.fy.grade), text(c.fy.row));
        if (!c.tension)
            fy += QStringLiteral("; ε = √(235 / fy) = %1; E = 210000 N/mm²").arg(n(c.sectionClass.epsilon));
        step(fy);
        if (c.tension) {
            const auto& t = *c.tension;
            step(QStringLiteral("tension, 6.2.3 (6.6): Npl,Rd = A fy / γM0 = %1 × %2 / %3 = %4 kN; welded ends leave no "
                                "holes, so Nt,Rd = Npl,Rd")
                     .arg(n(t.A), n(t.fy), n(t.gammaM0), n(t.NplRd / newtonsPerKilonewton)));
            return;
        }
        step(QStringLiteral("cross-section class, 5.5 and Table 5.2 (parts in compression):"));
        for (const en1993::CompressedPart& part : c.sectionClass.parts)
            step(partClass(part), 1);
        step(QStringLiteral("the section is Class %1").arg(c.sectionClass.sectionClass), 1);
        if (c.sectionClass.sectionClass == 4 && !c.effective)
            return;
        if (c.effective)
            effectiveArea(*c.effective);
        const auto& nc = *c.compression;
        step(QStringLiteral("compression, 6.2.4 %1: Nc,Rd = %2 fy / γM0 = %3 × %4 / %5 = %6 kN")
                 .arg(nc.effective ? QStringLiteral("(6.11)") : QStringLiteral("(6.10)"),
                      nc.effective ? QStringLiteral("Aeff") : QStringLiteral("A"), n(nc.A), n(nc.fy), n(nc.gammaM0),
                      n(nc.NcRd / newtonsPerKilonewton)));
        for (const auto* b : {&*c.inPlane, &*c.outOfPlane})
            buckling(*b, nc, sec);
    }

    QString partClass(const en1993::CompressedPart& part) const
    {
        // The limits of Table 5.2 by the kind of part, as its rows write them.
        const bool tube = m.section->shape == SectionShape::CircularHollow;
        const char* names[3][3] = {{"33ε", "38ε", "42ε"}, {"9ε", "10ε", "14ε"}, {"50ε²", "70ε²", "90ε²"}};
        const auto& name = names[tube ? 2 : part.outstand ? 1 : 0];
        const int c = part.sectionClass;
        const int limit = c <= 3 ? c - 1 : 2;
        const QString ratio = tube ? QStringLiteral("d/t") : QStringLiteral("c/t");
        const QString comparison = c <= 3 ? QStringLiteral("≤") : QStringLiteral(">");
        return QStringLiteral("%1%2: %3 = %4 / %5 = %6 %7 %8 = %9: Class %10")
            .arg(text(part.name), part.count > 1 ? QStringLiteral(" (%1 alike)").arg(part.count) : QString(), ratio, n(part.c),
                 n(part.t), n(part.ratio()), comparison, QString::fromUtf8(name[limit]), n(part.limits[limit]))
            .arg(c);
    }

    void effectiveArea(const en1993::EffectiveArea& a)
    {
        step(QStringLiteral("Class 4: the effective area, EN 1993-1-5 4.4 (uniform compression, ψ = 1):"));
        for (const en1993::EffectivePart& p : a.parts) {
            const bool outstand = p.kSigma < 1;
            QString rho =
                p.rho < 1 ? QStringLiteral("ρ = (λ̄p - %1) / λ̄p² = %2 %3")
                                .arg(outstand ? QStringLiteral("0.188") : QStringLiteral("0.055 (3 + ψ)"), n(p.rho),
                                     outstand ? QStringLiteral("(4.3)") : QStringLiteral("(4.2)"))
                          : QStringLiteral("ρ = 1 (λ̄p ≤ %1)").arg(outstand ? QStringLiteral("0.748") : QStringLiteral("0.673"));
            step(QStringLiteral("%1: kσ = %2 (Table %3), λ̄p = (c/t) / (28.4 ε √kσ) = %4; %5")
                     .arg(text(p.name), n(p.kSigma), outstand ? QStringLiteral("4.2") : QStringLiteral("4.1"), n(p.lambdaP), rho),
                 1);
        }
        step(QStringLiteral("Aeff = A - Σ (1 - ρ) c t = %1 mm² of A = %2 mm²").arg(n(a.Aeff), n(a.A)), 1);
    }

    void buckling(const en1993::FlexuralBuckling& b, const en1993::CompressionResistance& nc, const Section& sec)
    {
        const bool yy = b.axis == en1993::Axis::YY;
        const auto& l = b.slenderness;
        const QString axis = yy ? QStringLiteral("y") : QStringLiteral("z");
        step(QStringLiteral("flexural buckling %1, about %2-%2 (6.3.1):")
                 .arg(yy ? QStringLiteral("in the truss's plane") : QStringLiteral("out of the truss's plane"), axis));
        step(QStringLiteral("buckling curve %1 (Table 6.2: %2), α = %3 (Table 6.1)")
                 .arg(text(b.curve.name), text(b.curve.why), n(b.curve.alpha)),
             1);
        step(QStringLiteral("λ1 = π √(E / fy) = %1; λ̄ = Lcr / (i%2 λ1)%3 = %4 / (%5 × %1)%6 = %7 %8")
                 .arg(n(l.lambda1), axis, nc.effective ? QStringLiteral(" √(Aeff / A)") : QString(), n(l.Lcr), n(l.i),
                      nc.effective ? QStringLiteral(" × √(%1 / %2)").arg(n(nc.A), n(sec.A)) : QString(), n(l.lambdaBar),
                      nc.effective ? QStringLiteral("(6.51)") : QStringLiteral("(6.50)")),
             1);
        step(QStringLiteral("Φ = 0.5 [1 + α (λ̄ - 0.2) + λ̄²] = %1; χ = 1 / (Φ + √(Φ² - λ̄²)) = %2, not over 1 (6.49)")
                 .arg(n(b.reduction.Phi), n(b.reduction.chi)),
             1);
        step(QStringLiteral("Nb,%1,Rd = χ %2 fy / γM1 = %3 × %4 × %5 / %6 = %7 kN %8")
                 .arg(axis, nc.effective ? QStringLiteral("Aeff") : QStringLiteral("A"), n(b.reduction.chi), n(nc.A), n(nc.fy),
                      n(settings.factors.gammaM1), n(b.NbRd / newtonsPerKilonewton),
                      nc.effective ? QStringLiteral("(6.48)") : QStringLiteral("(6.47)")),
             1);
    }

    void aisc360(const aisc360::MemberChecks& c)
    {
        const Section& sec = *m.section;
        const double inchesPerMetre = 1000.0 / millimetresPerInch;
        QString force = QStringLiteral("Pu = %1 kN = %2 kips (%3); L = %4 m = %5 in.")
                            .arg(designText::forceText(s, m.force), n(std::fabs(m.force) / kilonewtonsPerKip), forceWord(),
                                 n(m.length), n(m.length * inchesPerMetre));
        if (!c.tension)
            force += QStringLiteral("; Lc = %1 in. in the truss's plane, %2 in. out of it")
                         .arg(n(m.length * inchesPerMetre), n(m.outOfPlane * inchesPerMetre));
        step(force);
        QString steel = QStringLiteral("Fy = %1 ksi, Fu = %2 ksi (ASTM %3, %4); E = 29000 ksi")
                            .arg(n(c.steel.Fy), n(c.steel.Fu), text(c.steel.grade), text(c.steel.shapes));
        if (sec.tDesign > 0 && sec.tDesign != sec.t)
            steel += QStringLiteral("; design wall thickness t = 0.93 × %1 = %2 mm (B4.2, ERW)").arg(n(sec.t), n(sec.tDesign));
        step(steel);
        if (c.tension) {
            const auto& t = *c.tension;
            step(QStringLiteral("tension, D2:"));
            step(QStringLiteral("yielding in the gross section: φt Pn = %1 Fy Ag = %1 × %2 × %3 = %4 kips (D2-1)")
                     .arg(n(t.phiYielding), n(t.Fy), n(t.Ag), n(t.yielding)),
                 1);
            step(QStringLiteral(
                     "rupture in the net section, welded ends: Ae = An U = Ag (U = 1): φt Pn = %1 Fu Ae = %1 × %2 × %3 = "
                     "%4 kips (D2-2)")
                     .arg(n(t.phiRupture), n(t.Fu), n(t.Ae), n(t.rupture)),
                 1);
            step(QStringLiteral("φt Pn = %1 kips = %2 kN, the lesser").arg(n(t.phiPn), n(t.phiPn * kilonewtonsPerKip)), 1);
            slenderness(c.slenderness, QStringLiteral("L/r"));
            return;
        }
        step(QStringLiteral("width-to-thickness ratios in compression, B4.1 (Table B4.1a):"));
        for (const aisc360::Element& e : c.elements.elements)
            step(QStringLiteral("%1%2: %3 / %4 = %5 %6 λr = %7 (%8): %9")
                     .arg(text(e.name), e.count > 1 ? QStringLiteral(" (%1 alike)").arg(e.count) : QString(), n(e.b), n(e.t),
                          n(e.lambda()), e.slender() ? QStringLiteral(">") : QStringLiteral("≤"), n(e.lambdaR),
                          QString::fromLatin1(e.tableCase),
                          e.slender() ? QStringLiteral("slender") : QStringLiteral("nonslender")),
                 1);
        for (const auto* b : {&*c.inPlane, &*c.outOfPlane}) {
            buckling(*b, b == &*c.inPlane);
            if (c.elements.slender && !b->effective)
                return;
        }
        slenderness(c.slenderness, QStringLiteral("Lc/r"));
    }

    void buckling(const aisc360::FlexuralBuckling& b, bool inPlane)
    {
        step(QStringLiteral("flexural buckling %1, about %2 (E3):")
                 .arg(inPlane ? QStringLiteral("in the truss's plane") : QStringLiteral("out of the truss's plane"),
                      inPlane ? QStringLiteral("x-x") : QStringLiteral("y-y")));
        step(QStringLiteral("Lc/r = %1 / %2 = %3 %4 4.71 √(E / Fy) = %5")
                 .arg(n(b.Lc), n(b.r), n(b.ratio), b.inelastic() ? QStringLiteral("≤") : QStringLiteral(">"), n(b.limit)),
             1);
        step(QStringLiteral("Fe = π² E / (Lc/r)² = %1 ksi (E3-4)").arg(n(b.Fe)), 1);
        step(b.inelastic() ? QStringLiteral("Fcr = 0.658^(Fy / Fe) Fy = %1 ksi (E3-2)").arg(n(b.Fcr))
                           : QStringLiteral("Fcr = 0.877 Fe = %1 ksi (E3-3)").arg(n(b.Fcr)),
             1);
        if (b.effective) {
            const aisc360::EffectiveArea& a = *b.effective;
            if (a.widths.empty())
                step(QStringLiteral("round HSS, E7.2: Ae = [0.038 E / (Fy D/t) + 2/3] Ag = %1 in.² (E7-7)").arg(n(a.Ae)), 1);
            for (const aisc360::EffectiveWidth& w : a.widths)
                step(w.be < w.b
                         ? QStringLiteral("%1: Fel = (c2 λr / λ)² Fy = %2 ksi (E7-5); be = b [1 - c1 √(Fel / Fcr)] √(Fel / Fcr) "
                                          "= %3 in. of b = %4 in. (E7-3)")
                               .arg(text(w.name), n(w.Fel), n(w.be), n(w.b))
                         : QStringLiteral("%1: λ ≤ λr √(Fy / Fcr), so be = b = %2 in. (E7-2)").arg(text(w.name), n(w.b)),
                     1);
            if (!a.widths.empty())
                step(QStringLiteral("Ae = Ag - Σ (b - be) t = %1 in.² of Ag = %2 in.²").arg(n(a.Ae), n(a.Ag)), 1);
        }
        if (b.phiPn == 0)
            return;
        step(QStringLiteral("Pn = Fcr %1 = %2 × %3 = %4 kips %5; φc Pn = %6 × %4 = %7 kips = %8 kN")
                 .arg(b.effective ? QStringLiteral("Ae") : QStringLiteral("Ag"), n(b.Fcr), n(b.area), n(b.Fcr * b.area),
                      b.effective ? QStringLiteral("(E7-1)") : QStringLiteral("(E3-1)"), n(b.phiC), n(b.phiPn),
                      n(b.phiPn * kilonewtonsPerKip)),
             1);
    }

    void slenderness(const aisc360::SlendernessLimit& l, const QString& ratio)
    {
        step(QStringLiteral("%1: %2 = %3 %4 %5, the preferred limit (reported, not enforced)")
                 .arg(QString::fromLatin1(l.clause), ratio, n(l.ratio), l.within() ? QStringLiteral("≤") : QStringLiteral(">"),
                      n(l.limit)));
    }

    void verdict()
    {
        const Verdict& v = m.verdict();
        if (v.governing == CheckKind::NotChecked) {
            step(QStringLiteral("not checked: %1; the member is not shown to hold").arg(text(v.notChecked)));
            return;
        }
        const QStringList fields = designText::memberCells(s, m);
        step(QStringLiteral("governing: %1, resistance %2 kN (%3)")
                 .arg(QLatin1String(checkKindName(v.governing)), fields[5], text(v.clause)));
        step(QStringLiteral("utilisation = |force| / resistance = %1 / %2 = %3 %4 1: %5")
                 .arg(designText::forceText(s, std::fabs(m.force)), fields[5], fields[6],
                      v.holds() ? QStringLiteral("≤") : QStringLiteral(">"),
                      v.holds() ? QStringLiteral("holds") : QStringLiteral("does NOT hold")));
    }

    const TrussSolution& s;
    const DesignSettings& settings;
    const MemberDesign& m;
    std::vector<DesignStep> steps;
};

}  // namespace

std::vector<DesignStep> designSteps(const TrussSolution& solution, const TrussDesign& design, const MemberDesign& member)
{
    return Writer(solution, design, member).write();
}
