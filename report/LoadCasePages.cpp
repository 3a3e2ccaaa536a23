#include "report/LoadCasePages.h"

#include <cmath>
#include <memory>

#include <QFileInfo>

#include "loads/GeneratedCombinations.h"
#include "report/DesignPages.h"
#include "report/DesignText.h"
#include "report/PageDrawing.h"
#include "report/ResultText.h"

namespace {

using resultText::number;

constexpr double indent = 14;  // points, a case's sources under its heading

QString text(const std::string& s) { return QString::fromStdString(s); }
QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
// The design file by its name, as the header names the truss file.
QString fileName(const DesignFile& file) { return QFileInfo(QString::fromStdString(file.source)).fileName(); }

// "ΣFx = 3 kN, ΣFy = -48.3 kN on 14 nodes", ΣFx only where there is a horizontal load.
QString sumsOf(const NodeForces& forces)
{
    double fx = 0, fy = 0;
    int loaded = 0;
    bool across = false;
    for (const NodeForce& f : forces) {
        fx += f.fx, fy += f.fy;
        loaded += f.fx != 0 || f.fy != 0 ? 1 : 0;
        across = across || f.fx != 0;
    }
    return (across ? QStringLiteral("ΣFx = %1 kN, ").arg(number(fx)) : QString())
           + QStringLiteral("ΣFy = %1 kN on %2 %3")
                 .arg(number(fy))
                 .arg(loaded)
                 .arg(QLatin1String(loaded == 1 ? "node" : "nodes"));
}

// The case's kind, and for a variable action of EN 1990 its psi0 and where it comes from.
QString kindText(const DesignFile& file, const LoadCase& c)
{
    QString kind = text(kindName(file.code, c.kind));
    if (file.code != DesignCode::En1993 || c.kind == LoadKind::Permanent)
        return kind;
    const QString psi0 = QStringLiteral(", ψ0 = %1").arg(number(psi0Of(c)));
    if (c.psi0)
        return kind + psi0 + QStringLiteral(" (the design file's own)");
    if (c.category != 0)
        kind += QStringLiteral(", category %1").arg(QChar::fromLatin1(c.category));
    return kind + psi0 + QStringLiteral(" (EN 1990 Table A1.1)");
}

void loadCase(PageFlow& flow, const TrussStudy& study, const DesignFileStudy& design, std::size_t at)
{
    const TrussFileContent& t = study.truss;
    const LoadCase& c = design.file.cases[at];
    const CaseLoads& loads = design.loads[at];
    flow.heading(QStringLiteral("Case %1: %2").arg(text(c.name), kindText(design.file, c)));
    if (c.selfWeight)
        if (const Result<NodeForces> weight = selfWeightOf(t, design.file.sections); weight.value)
            flow.paragraph(QStringLiteral("self-weight: %1; each member's length × its group's section's mass per metre × g "
                                          "(%2 m/s²), half to each end")
                               .arg(sumsOf(*weight.value), number(standardGravity)),
                           indent);
    if (c.udlTop)
        if (const Result<NodeForces> udl = topChordUdlOf(t, *c.udlTop); udl.value)
            flow.paragraph(QStringLiteral("uniform load on the top chord: w = %1 kN/m on plan, %2; each node of the top chord "
                                          "takes w × half the horizontal distance between its neighbours")
                               .arg(number(*c.udlTop), sumsOf(*udl.value)),
                           indent);
    for (const PointLoad& p : c.loads)
        flow.paragraph(QStringLiteral("node %1: fx = %2 kN, fy = %3 kN").arg(p.node).arg(number(p.fx), number(p.fy)), indent);
    if (c.fromFile)
        flow.paragraph(QStringLiteral("the truss file's loads: %1").arg(sumsOf(fileLoadsOf(t))), indent);
    flow.paragraph(QStringLiteral("in all: %1").arg(sumsOf(loads.forces)), indent);

    // The case's loads, and the member forces they give.
    std::vector<double> forces;
    for (const MemberResult& m : design.envelope.cases[at].solution.members)
        forces.push_back(m.force);
    const auto drawing = std::make_shared<const PageDrawing>(t, forces, flow.room(), &loads.forces);
    for (int piece = 0; piece < drawing->pieces(); ++piece)
        flow.block(drawing->heightOf(piece), [drawing, piece](QPainter& painter) { drawing->paint(painter, piece); });
    flow.space(6);
}

void cases(PageFlow& flow, const TrussStudy& study, const DesignFileStudy& design)
{
    flow.newPage();
    flow.title(QStringLiteral("Load cases of %1").arg(fileName(design.file)));
    flow.paragraph(QStringLiteral("Characteristic (unfactored) loads at the nodes in kN, fx to the right, fy upwards (a load "
                                  "downwards negative); the combinations factor them. Each drawing shows the case's loads "
                                  "and the member forces they give. The drawing and summary of page 1 and the node and member "
                                  "tables at the end are of the truss file's own loads."));
    for (std::size_t at = 0; at < design.file.cases.size(); ++at)
        loadCase(flow, study, design, at);
}

QString basisText(const DesignFile& file)
{
    if (file.code == DesignCode::Aisc360)
        return QStringLiteral("ASCE 7-16 2.3.1, strength (ULS): (1) 1.4D; (2) 1.2D + 1.6L + 0.5(Lr or S); (3) 1.2D + 1.6(Lr "
                              "or S) + (L or 0.5W); (4) 1.2D + 1.0W + L + 0.5(Lr or S); (5) 0.9D + 1.0W. Deflection (SLS): "
                              "D + L (ASCE 7-16 Appendix C). A load is left out where it would relieve (loads not acting).");
    const QString uls =
        file.equation == En1990Equation::Eq610
            ? QStringLiteral("6.10: γG G + 1.5 Q1 + 1.5 ψ0 Qi, each variable action leading in turn")
            : QStringLiteral("the less favourable of 6.10a: γG G + 1.5 ψ0 Qi and 6.10b: ξ γG G + 1.5 Q1 + 1.5 ψ0 Qi (ξ = 0.85), "
                             "each variable action leading in turn");
    return QStringLiteral("EN 1990 Annex A1 with the recommended values of Table A1.2(B), strength (ULS) to %1; γG = 1.35 "
                          "where unfavourable and 1.0 where favourable, for each permanent case on its own; a variable "
                          "action 0 where favourable. Deflection (SLS): the characteristic combination 6.14b, G + Q1 + ψ0 "
                          "Qi. ψ0 by EN 1990 Table A1.1.")
        .arg(uls);
}

void combinations(PageFlow& flow, const DesignFileStudy& design)
{
    const std::vector<Combination>& all = design.combinations;
    flow.space(6);
    flow.table(QStringLiteral("Combinations of the load cases"), {{QStringLiteral("combination"), QStringLiteral("factors"),
                                                                   QStringLiteral("basis"), QStringLiteral("limit state")},
                                                                  static_cast<int>(all.size()),
                                                                  [&all](int row, int column) {
                                                                      const Combination& c = all[std::size_t(row)];
                                                                      switch (column) {
                                                                      case 0:
                                                                          return text(c.name);
                                                                      case 1:
                                                                          return text(notationOf(c.terms));
                                                                      case 2:
                                                                          return text(c.basis);
                                                                      default:
                                                                          return text(limitStateName(c.limitState));
                                                                      }
                                                                  },
                                                                  {true, true, true, true}});
    flow.paragraph(basisText(design.file));
    flow.paragraph(QStringLiteral("The cases of one kind are alternatives: a combination takes one of them at a time. A "
                                  "combination that is another scaled by a factor up to 1 cannot govern and is left out.")
                   + (design.file.ownCombinations.empty() ? QString()
                                                          : QStringLiteral(" The design file's own combinations follow the "
                                                                           "generated ones.")));
}

QString ratioText(const Deflection& d)
{
    const double ratio = d.spanRatio();
    if (!(ratio > 0))
        return QStringLiteral("-");
    return QStringLiteral("L/%1").arg(ratio >= 10 ? QString::number(std::floor(ratio), 'f', 0) : number(ratio, 2));
}

void deflection(PageFlow& flow, const TrussStudy& study, const DesignFileStudy& design)
{
    flow.space(6);
    if (!design.deflection) {
        flow.heading(QStringLiteral("Deflection"));
        flow.paragraph(QStringLiteral("No combination is for serviceability (SLS): the deflection is not judged."));
        return;
    }
    const ServiceabilityDeflection& sls = *design.deflection;
    const auto mm = [](const CombinationDeflection& c) {
        return resultText::vouched(c.deflection.vertical * millimetresPerMetre, c.accuracy * millimetresPerMetre);
    };
    const std::vector<Combination>& all = design.combinations;
    flow.table(QStringLiteral("Deflection under the serviceability combinations"),
               {{QStringLiteral("combination"), QStringLiteral("factors"), QStringLiteral("uy (mm)"), QStringLiteral("node"),
                 QStringLiteral("span/deflection")},
                static_cast<int>(sls.each.size()),
                [&](int row, int column) {
                    const CombinationDeflection& c = sls.each[std::size_t(row)];
                    switch (column) {
                    case 0:
                        return text(all[c.combination].name);
                    case 1:
                        return text(notationOf(all[c.combination].terms));
                    case 2:
                        return mm(c);
                    case 3:
                        return QString::number(c.deflection.verticalAt);
                    default:
                        return ratioText(c.deflection);
                    }
                },
                {true, true, false, false, false}});
    const CombinationDeflection& g = sls.governing();
    const Combination& under = all[g.combination];
    const QString size =
        resultText::vouched(std::fabs(g.deflection.vertical) * millimetresPerMetre, g.accuracy * millimetresPerMetre);
    const QString which = QStringLiteral("largest vertical deflection of the serviceability combinations: %1 mm %2 at node %3 "
                                         "under %4: %5 (%6)")
                              .arg(size, g.deflection.vertical > 0 ? QStringLiteral("upwards") : QStringLiteral("downwards"))
                              .arg(g.deflection.verticalAt)
                              .arg(text(under.name), text(notationOf(under.terms)), text(under.basis));
    const QString limit = QStringLiteral("L/%1 (deflection_limit of %2)").arg(number(sls.limit), fileName(design.file));
    if (!sls.judged()) {
        flow.paragraph(which + QStringLiteral("; no span between a pin and a roller to judge it against ") + limit);
        return;
    }
    const double allowed = sls.allowed() * millimetresPerMetre;
    flow.paragraph(which
                   + QStringLiteral(", %1; limit %2 = %3 mm / %4 = %5 mm, L the span between the supports: %6 mm %7 %5 mm, %8")
                         .arg(ratioText(g.deflection), limit, number(g.deflection.span * millimetresPerMetre), number(sls.limit),
                              number(allowed, 4), size, sls.holds() ? QStringLiteral("≤") : QStringLiteral(">"),
                              sls.holds() ? QStringLiteral("holds") : QStringLiteral("does NOT hold")));
    QString note = QStringLiteral("uy is each combination's largest vertical deflection, upwards positive, of the cases' "
                                  "characteristic loads.");
    if (!designText::areaNote(study.truss, design.envelope.envelope.design).isEmpty())
        note += QStringLiteral(" It is of the file's areas, not the sections'.");
    flow.paragraph(note);
}

}  // namespace

Result<DesignFileStudy> studyDesignFile(DesignFile file, const TrussFileContent& truss)
{
    Result<EnvelopeStudy> envelope = designForEnvelope(file, truss);
    if (!envelope.value)
        return {std::nullopt, envelope.error};
    // They were made for the envelope: made again, they are made as well.
    Result<std::vector<CaseLoads>> loads = caseLoadsOf(file, truss);
    if (!loads.value)
        return {std::nullopt, loads.error};
    std::vector<Combination> all = combinationsOf(file);
    std::optional<ServiceabilityDeflection> deflection =
        serviceabilityDeflection(truss, envelope.value->cases, all, file.deflectionLimit);
    return {DesignFileStudy{std::move(file), std::move(*loads.value), std::move(all), std::move(*envelope.value),
                            std::move(deflection)},
            {}};
}

void loadCasePages(PageFlow& flow, const TrussStudy& study, const DesignFileStudy& design)
{
    cases(flow, study, design);
    combinations(flow, design);
    envelopePages(flow, study, design.envelope.envelope, fileName(design.file));
    deflection(flow, study, design);
}
