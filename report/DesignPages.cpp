#include "report/DesignPages.h"

#include <cmath>
#include <map>

#include "analysis/Deflection.h"
#include "kvrfile/TrussVocabulary.h"
#include "report/DesignSteps.h"
#include "report/DesignText.h"
#include "report/ResultText.h"
#include "report/TrussSummary.h"

namespace {

using resultText::number;

constexpr double indent = 14;  // points, a step's part under its step

QString text(const std::string& s) { return QString::fromStdString(s); }
bool en(const DesignSettings& settings) { return settings.code == DesignCode::En1993; }

QString summaryValue(const TrussStudy& study, const QString& label)
{
    for (const SummaryLine& line : summaryOf(study))
        if (line.label == label)
            return line.value;
    return {};
}

// What the members are designed for: the file's loads as they are, or the
// strength combinations of a design file's cases, each member's governing
// one by member number.
struct DesignedFor {
    QString loads;       // the input's line of loads
    QString assumption;  // the assumptions' bullet of loads
    std::vector<QString> combination;
    std::vector<QString> combinationTerms;  // as the notation writes them
};

DesignedFor fileLoads(const TrussStudy& study)
{
    return {QStringLiteral("loads: %1 (each in the node table), taken as design (factored) values")
                .arg(summaryValue(study, QStringLiteral("node loads"))),
            QStringLiteral("The file's loads are design (factored) values: the forces are checked as they come, with no "
                           "further factor."),
            {},
            {}};
}

void input(PageFlow& flow, const TrussStudy& study, const TrussDesign& design, const DesignedFor& designedFor)
{
    const TrussFileContent& t = study.truss;
    flow.heading(QStringLiteral("Input"));
    QStringList supports;
    for (const int node : supportsOf(t).nodes())
        supports
            << QStringLiteral("node %1 %2").arg(node).arg(QLatin1String(SupportCode::nameOf(t.node(node, NodeColumn::Support))));
    flow.paragraph(QStringLiteral("geometry: span %1, height %2, %3 panels; %4 nodes, %5 members; supports: %6")
                       .arg(summaryValue(study, QStringLiteral("span")), summaryValue(study, QStringLiteral("height")),
                            summaryValue(study, QStringLiteral("panels")))
                       .arg(t.noNodes)
                       .arg(t.noMembers)
                       .arg(supports.join(QStringLiteral(", "))));
    flow.paragraph(designedFor.loads);
    for (const MemberGroup group : designGroups) {
        int count = 0;
        double length = 0;
        for (const MemberDesign& m : design.members)
            if (m.group == group)
                ++count, length += m.length;
        const Section& s = *design.sections.at(group);
        flow.paragraph(QStringLiteral("%1, %2 members, %3 m, %4 kg: %5; %6")
                           .arg(designText::groupTitle(group))
                           .arg(count)
                           .arg(number(length, 5), number(length * s.massPerMetre, 4), designText::sectionText(s),
                                designText::outOfPlaneText(design.settings, group)));
    }
    flow.paragraph(QStringLiteral("steel: %1 kg in all").arg(number(design.steelMass(), 5)));
    if (const QString note = designText::areaNote(t, design); !note.isEmpty())
        flow.paragraph(note.trimmed());
    // Each material once, with the groups it is for.
    std::map<QString, QStringList> materials;
    for (const MemberGroup group : designGroups)
        materials[designText::materialText(design.materials.at(group))] << designText::groupTitle(group);
    for (const auto& [material, groups] : materials)
        flow.paragraph(QStringLiteral("material of the %1: %2").arg(groups.join(QStringLiteral(", ")), material));
    const DesignSettings& settings = design.settings;
    flow.paragraph(en(settings) ? QStringLiteral("E = 210000 N/mm² (3.2.6); γM0 = %1, γM1 = %2 (6.1; 1.0 recommended, a "
                                                 "national annex may set others)")
                                      .arg(number(settings.factors.gammaM0), number(settings.factors.gammaM1))
                                : QStringLiteral("E = 29000 ksi; φt = 0.90 (yielding), 0.75 (rupture); φc = 0.90 (LRFD)"));
}

void method(PageFlow& flow, const DesignSettings& settings)
{
    flow.heading(QStringLiteral("Method"));
    flow.paragraph(QStringLiteral("The truss is solved linear elastic, its joints pinned and its loads at the nodes, by the "
                                  "stiffness method: each member carries an axial force."));
    flow.paragraph(
        en(settings)
            ? QStringLiteral("Each member is checked in axial force to EN 1993-1-1: in tension the plastic resistance "
                             "of the gross section (6.2.3); in compression the cross-section class (5.5, Table 5.2), the "
                             "resistance of the cross-section (6.2.4) and flexural buckling in the truss's plane and "
                             "out of it (6.3.1) on the buckling curve of Table 6.2; a Class 4 section on its effective "
                             "area (EN 1993-1-5 4.4).")
            : QStringLiteral("Each member is checked in axial force to AISC 360-16 (LRFD): in tension yielding and "
                             "rupture (D2); in compression the width-to-thickness ratios (B4.1, Table B4.1a) and "
                             "flexural buckling in the truss's plane and out of it (E3), with slender elements on "
                             "their effective area (E7); the slenderness limits of D1 and E2 are reported."));
    flow.paragraph(QStringLiteral("A member holds when its utilisation, its force over its least resistance, is at most 1. The "
                                  "governing member of each group, the one of the largest utilisation (or one not checked), is "
                                  "worked out step by step; the table after it gives every member."));
}

void assumptions(PageFlow& flow, const DesignSettings& settings, const DesignedFor& designedFor)
{
    flow.heading(QStringLiteral("Assumptions and sign convention"));
    const QString bullet = QStringLiteral("• ");
    flow.paragraph(bullet
                   + QStringLiteral("Forces in kN, tension positive, compression negative; x to the right and y up, a "
                                    "load downwards negative; deflections in mm."));
    flow.paragraph(bullet + designedFor.assumption);
    flow.paragraph(bullet
                   + QStringLiteral("Joints pinned, members straight, in axial force only; each member's A and E as the "
                                    "file gives them in the analysis."));
    flow.paragraph(bullet
                   + (en(settings) ? QStringLiteral("An I or rectangular section stands with its major axis y-y out of "
                                                    "the truss's plane: it buckles in the plane about y-y, out of it "
                                                    "about z-z.")
                                   : QStringLiteral("An I or rectangular section stands with its major axis x-x out of "
                                                    "the truss's plane: it buckles in the plane about x-x, out of it "
                                                    "about y-y.")));
    flow.paragraph(bullet
                   + QStringLiteral("Buckling lengths: in the plane the member's length (pinned ends); out of it the "
                                    "member's length, or the distance between the lateral restraints given for its group."));
    flow.paragraph(bullet + QStringLiteral("Ends welded, without holes: the net area is the gross area."));
    flow.paragraph(bullet + QStringLiteral("Not checked here: ") + designText::notCheckedHere() + u'.');
}

void governing(PageFlow& flow, const TrussSolution& solution, const TrussDesign& design, const DesignedFor& designedFor)
{
    flow.heading(QStringLiteral("Checks of the governing member of each group"));
    for (const MemberGroup group : designGroups) {
        const int at = design.governingMember(group);
        if (at == 0)
            continue;
        const MemberDesign& m = design.members[std::size_t(at - 1)];
        QString under;
        if (!designedFor.combination.empty())
            under = QStringLiteral(", under %1: %2")
                        .arg(designedFor.combination[std::size_t(at)], designedFor.combinationTerms[std::size_t(at)]);
        flow.heading(QStringLiteral("%1: member %2, %3%4")
                         .arg(designText::groupTitle(group))
                         .arg(at)
                         .arg(text(m.section->designation), under));
        for (const DesignStep& step : designSteps(solution, design, m))
            flow.paragraph(step.text, step.level * indent);
    }
}

void utilisation(PageFlow& flow, const TrussSolution& solution, const TrussDesign& design, const DesignedFor& designedFor)
{
    flow.space(6);
    std::vector<QStringList> rows;
    rows.reserve(design.members.size());
    for (const MemberDesign& m : design.members) {
        rows.push_back(designText::memberCells(solution, m));
        if (!designedFor.combination.empty())
            rows.back() << designedFor.combination[std::size_t(m.member)];
    }
    // The columns of kvrtool design --csv.
    QStringList heads = designText::tableHeads();
    std::vector<bool> leftAligned{false, true, true, false, false, false, false, true};
    if (!designedFor.combination.empty()) {
        heads << QStringLiteral("combination");
        leftAligned.push_back(true);
    }
    flow.table(QStringLiteral("Utilisation of every member"),
               {heads, static_cast<int>(design.members.size()),
                [&rows](int row, int column) { return rows[std::size_t(row)][column]; }, leftAligned});
    for (const QString& line : designText::verdict(design).split(u'\n', Qt::SkipEmptyParts))
        flow.paragraph(line);
    if (design.settings.code == DesignCode::Aisc360)
        flow.paragraph(designText::slendernessText(design).trimmed());
}

void deflection(PageFlow& flow, const TrussStudy& study, const TrussDesign& design, double limit)
{
    const TrussSolution& s = *study.solution;
    const Deflection d = deflectionOf(study.truss, s);
    flow.heading(QStringLiteral("Deflection"));
    const double error = s.accuracy.displacement * millimetresPerMetre;
    const QString shown = resultText::vouched(std::fabs(d.vertical) * millimetresPerMetre, error);
    if (!(d.span > 0)) {
        flow.paragraph(QStringLiteral("largest vertical deflection %1 mm at node %2; no span between a pin and a roller to judge "
                                      "it against L/%3")
                           .arg(shown)
                           .arg(d.verticalAt)
                           .arg(number(limit)));
        return;
    }
    const double allowed = d.span * millimetresPerMetre / limit;
    const bool holds = std::fabs(d.vertical) * millimetresPerMetre <= allowed;
    const double ratio = d.spanRatio();
    flow.paragraph(QStringLiteral("largest vertical deflection %1 mm at node %2%3; limit L/%4 = %5 mm / %4 = %6 mm, L the span "
                                  "between the supports: %1 mm %7 %6 mm, %8")
                       .arg(shown)
                       .arg(d.verticalAt)
                       .arg(ratio > 0 ? QStringLiteral(" (L/%1)").arg(ratio >= 10 ? QString::number(std::floor(ratio), 'f', 0)
                                                                                  : number(ratio, 2))
                                      : QString(),
                            number(limit), number(d.span * millimetresPerMetre), number(allowed, 4),
                            holds ? QStringLiteral("≤") : QStringLiteral(">"),
                            holds ? QStringLiteral("holds") : QStringLiteral("does NOT hold")));
    QString under = QStringLiteral("The deflection of the file's loads as they are: where they are factored, the deflection "
                                   "under service loads is that much smaller.");
    if (!designText::areaNote(study.truss, design).isEmpty())
        under += QStringLiteral(" It is of the file's areas, not the sections'.");
    flow.paragraph(under);
}

}  // namespace

void designPages(PageFlow& flow, const TrussStudy& study, const DesignRequest& request)
{
    flow.newPage();
    const bool isEn = en(request.settings);
    flow.title(QStringLiteral("Design of the members to %1")
                   .arg(isEn ? QStringLiteral("EN 1993-1-1") : QStringLiteral("AISC 360-16 (LRFD)")));
    if (!study.solution) {
        flow.paragraph(QStringLiteral("The members are not checked: the truss is not solved (%1).").arg(text(study.refusal)));
        return;
    }
    const Result<TrussDesign> result = designTruss(study.truss, *study.solution, request.sections, request.settings);
    if (!result.value) {
        flow.paragraph(QStringLiteral("The members are not checked: %1.").arg(text(result.error)));
        return;
    }
    const TrussDesign& design = *result.value;
    const DesignedFor designedFor = fileLoads(study);
    input(flow, study, design, designedFor);
    method(flow, request.settings);
    assumptions(flow, request.settings, designedFor);
    governing(flow, *study.solution, design, designedFor);
    utilisation(flow, *study.solution, design, designedFor);
    deflection(flow, study, design, request.deflectionLimit);
}

void envelopePages(PageFlow& flow, const TrussStudy& study, const EnvelopeDesign& envelope, const QString& source)
{
    flow.newPage();
    const DesignSettings& settings = envelope.design.settings;
    flow.title(QStringLiteral("Design of the members to %1 for the strength combinations")
                   .arg(en(settings) ? QStringLiteral("EN 1993-1-1") : QStringLiteral("AISC 360-16 (LRFD)")));
    DesignedFor designedFor{
        QStringLiteral("loads: the %1 strength (ULS) combinations of the load cases of %2, above; each member checked for "
                       "the one that governs it")
            .arg(envelope.combinations.size())
            .arg(source),
        QStringLiteral("The cases' loads are characteristic values, factored by the combinations. Only the combination "
                       "of a member's largest tension and that of its largest compression can govern it, the checks being "
                       "axial: both are checked, and the larger utilisation governs."),
        std::vector<QString>(envelope.governing.size()), std::vector<QString>(envelope.governing.size())};
    for (std::size_t m = 1; m < envelope.governing.size(); ++m) {
        const Combination& c = envelope.combinations[std::size_t(envelope.governing[m])];
        designedFor.combination[m] = text(c.name);
        designedFor.combinationTerms[m] = text(notationOf(c.terms));
    }
    input(flow, study, envelope.design, designedFor);
    method(flow, settings);
    assumptions(flow, settings, designedFor);
    governing(flow, envelope.solution, envelope.design, designedFor);
    utilisation(flow, envelope.solution, envelope.design, designedFor);
}
