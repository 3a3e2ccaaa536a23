#include "report/DesignText.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <QStringList>
#include <QTextStream>

#include "report/ResultText.h"

namespace designText {

namespace {

using resultText::number;
using resultText::vouched;

QString text(const std::string& s) { return QString::fromStdString(s); }

// Rounded up to three decimals, so that a member over 1 never reads as 1.
QString utilisationText(const Verdict& v)
{
    if (v.governing == CheckKind::NotChecked)
        return QStringLiteral("-");
    return number(std::ceil(v.utilisation * 1000.0 - 1e-9) / 1000.0, 4);
}

QString holdsText(const Verdict& v)
{
    if (v.governing == CheckKind::NotChecked)
        return QStringLiteral("not checked");
    return v.holds() ? QStringLiteral("yes") : QStringLiteral("NO");
}

// The cells padded to their widths (negative: left-aligned), two blanks
// apart, the line's end without blanks; written straight onto out, for the
// tables of tens of thousands of members.
void line(QString& out, const QStringList& cells, std::initializer_list<int> widths)
{
    auto width = widths.begin();
    bool first = true;
    for (const QString& cell : cells) {
        const int w = width == widths.end() ? 0 : *width++;
        if (!first)
            out += QLatin1String("  ");
        first = false;
        const qsizetype pad = std::max<qsizetype>(0, std::abs(w) - cell.size());
        if (w > 0)
            out.append(QString(pad, u' '));
        out += cell;
        if (w < 0)
            out.append(QString(pad, u' '));
    }
    while (out.endsWith(u' '))
        out.chop(1);
    out += u'\n';
}

}  // namespace

QString forceText(const TrussSolution& s, double force) { return vouched(force, s.accuracy.force); }

QString materialText(const Material& material)
{
    if (const auto* fy = std::get_if<en1993::YieldStrength>(&material))
        return QStringLiteral("%1, fy %2 N/mm2 (EN 1993-1-1 Table 3.1: %3)").arg(text(fy->grade), number(fy->fy), text(fy->row));
    const auto& steel = std::get<aisc360::Steel>(material);
    return QStringLiteral("ASTM %1, Fy %2 ksi, Fu %3 ksi").arg(text(steel.grade), number(steel.Fy), number(steel.Fu));
}

namespace {

QString manufactureText(const Section& s)
{
    switch (s.manufacture) {
    case Manufacture::HotFinished:
        return QStringLiteral("hot-finished");
    case Manufacture::ColdFormed:
        return QStringLiteral("cold-formed");
    case Manufacture::Rolled:
        break;
    }
    return QStringLiteral("rolled");
}

// The file's A of the group's members where it is not the section's area.
QString fileAreaNote(const TrussFileContent& truss, const TrussDesign& design, MemberGroup group)
{
    const float sectionArea = static_cast<float>(design.sections.at(group)->A);
    QStringList areas;
    for (const MemberDesign& m : design.members) {
        const float area = truss.member(m.member, MemberColumn::A);
        if (m.group != group || area == sectionArea)
            continue;
        if (const QString shown = QString::fromStdString(formatSingle(area)); !areas.contains(shown))
            areas << shown;
    }
    return areas.isEmpty() ? QString() : areas.join(QStringLiteral(", "));
}

QString memberList(const std::vector<int>& members)
{
    QStringList numbers;
    for (std::size_t i = 0; i < members.size() && i < 20; ++i)
        numbers << QString::number(members[i]);
    if (members.size() > 20)
        numbers << QStringLiteral("and %1 more").arg(members.size() - 20);
    return numbers.join(QStringLiteral(", "));
}

QString membersText(std::size_t count)
{
    return QString::number(count) + (count == 1 ? QStringLiteral(" member") : QStringLiteral(" members"));
}

// The check that governs, its clause and, in compression to EN 1993-1-1, the section's class.
QString checkText(const MemberDesign& m)
{
    const Verdict& v = m.verdict();
    if (v.governing == CheckKind::NotChecked)
        return QStringLiteral("not checked: ") + text(v.notChecked);
    QString check = QStringLiteral("%1 (%2)").arg(QLatin1String(checkKindName(v.governing)), text(v.clause));
    if (const auto* en = std::get_if<en1993::MemberChecks>(&m.checks); en != nullptr && en->compression)
        check += QStringLiteral(", Class %1").arg(en->sectionClass.sectionClass);
    return check;
}

}  // namespace

// AISC 360-16's preferred limits, reported: L/r 300 in tension (D1), Lc/r 200 in compression (E2).
QString slendernessText(const TrussDesign& design)
{
    std::vector<int> beyond;
    const MemberDesign* largest = nullptr;
    for (const MemberDesign& m : design.members) {
        const auto& aisc = std::get<aisc360::MemberChecks>(m.checks);
        if (!aisc.slenderness.within())
            beyond.push_back(m.member);
        if (largest == nullptr || aisc.slenderness.ratio > std::get<aisc360::MemberChecks>(largest->checks).slenderness.ratio)
            largest = &m;
    }
    if (largest == nullptr)
        return {};
    const aisc360::SlendernessLimit& most = std::get<aisc360::MemberChecks>(largest->checks).slenderness;
    const QString largestText = QStringLiteral("the largest %1 %2, member %3")
                                    .arg(QLatin1String(most.limit == 300.0 ? "L/r" : "Lc/r"), number(most.ratio, 4))
                                    .arg(largest->member);
    if (beyond.empty())
        return QStringLiteral("slenderness: every member within L/r 300 in tension (D1) and Lc/r 200 in compression (E2); %1\n")
            .arg(largestText);
    return QStringLiteral("slenderness: %1 beyond L/r 300 in tension (D1) or Lc/r 200 in compression (E2), the "
                          "preferred limits of AISC 360-16, reported and not enforced: %2; %3\n")
        .arg(membersText(beyond.size()), memberList(beyond), largestText);
}


namespace {

// Every member holds; or those that do not, and those not checked.
QString verdictText(const TrussDesign& design)
{
    std::vector<int> failing, unchecked;
    const MemberDesign* largest = nullptr;
    for (const MemberDesign& m : design.members) {
        const Verdict& v = m.verdict();
        if (v.governing == CheckKind::NotChecked)
            unchecked.push_back(m.member);
        else if (!v.holds())
            failing.push_back(m.member);
        if (v.governing != CheckKind::NotChecked && (largest == nullptr || v.utilisation > largest->verdict().utilisation))
            largest = &m;
    }
    const QString most = largest == nullptr ? QString()
                                            : QStringLiteral(" (largest utilisation %1, member %2)")
                                                  .arg(utilisationText(largest->verdict()))
                                                  .arg(largest->member);
    QString out;
    if (failing.empty() && unchecked.empty())
        out += QStringLiteral("verdict: every member holds%1\n").arg(most);
    if (!failing.empty())
        out += QStringLiteral("verdict: %1 of %2 do not hold: %3%4\n")
                   .arg(failing.size())
                   .arg(membersText(design.members.size()), memberList(failing), most);
    if (!unchecked.empty())
        out += QStringLiteral("verdict: %1 not checked, so not shown to hold: %2 (%3)\n")
                   .arg(membersText(unchecked.size()), memberList(unchecked),
                        text(design.members[std::size_t(unchecked.front() - 1)].verdict().notChecked));
    return out;
}

// A CSV field, quoted where it holds a comma, a quote or a line's end (RFC 4180).
QString csvField(const QString& field)
{
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r'))
        return field;
    return u'"' + QString(field).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

}  // namespace

QString groupTitle(MemberGroup group) { return QString::fromLatin1(titleOf(group)); }

QString sectionText(const Section& s)
{
    return QStringLiteral("%1 (%2, %3), A %4 mm2, iy %5 mm, iz %6 mm, %7 kg/m")
        .arg(text(s.designation), text(s.standard), manufactureText(s), number(s.A, 5), number(s.iy, 4), number(s.iz, 4),
             number(s.massPerMetre, 4));
}

QString outOfPlaneText(const DesignSettings& settings, MemberGroup group)
{
    const auto restraint = settings.outOfPlane.find(group);
    return restraint == settings.outOfPlane.end()
               ? QStringLiteral("out of plane the member's length")
               : QStringLiteral("out of plane restrained every %1 m").arg(number(restraint->second));
}

QString notCheckedHere()
{
    return QStringLiteral("connections, local effects at the joints, bending (lateral-torsional buckling, bending with axial "
                          "force), torsional and flexural-torsional buckling");
}

void report(QTextStream& stream, const TrussFileContent& truss, const TrussSolution& solution, const TrussDesign& design,
            const MemberCombinations& combination)
{
    const auto withCombination = [&](std::initializer_list<QString> cells, int member) {
        QStringList all(cells);
        if (!combination.empty())
            all << (member < 0 ? QStringLiteral("combination") : combination[std::size_t(member)]);
        return all;
    };
    const DesignSettings& settings = design.settings;
    QString out;
    if (settings.code == DesignCode::En1993)
        out += QStringLiteral("design: EN 1993-1-1, gamma_M0 %1, gamma_M1 %2, E 210000 N/mm2")
                   .arg(number(settings.factors.gammaM0), number(settings.factors.gammaM1));
    else
        out += QStringLiteral("design: AISC 360-16 LRFD, E 29000 ksi; tension with An = Ag and U = 1 (welded ends)");
    out += combination.empty() ? QStringLiteral("; the forces of the file's loads taken as design (factored) values\n\nsections\n")
                               : QStringLiteral("; each member checked for the strength combination that governs it\n\nsections\n");
    for (const MemberGroup group : designGroups)
        out += QStringLiteral("  %1  %2; %3; %4\n")
                   .arg(groupTitle(group).leftJustified(12), sectionText(*design.sections.at(group)),
                        materialText(design.materials.at(group)), outOfPlaneText(settings, group));
    out += areaNote(truss, design);

    out += QStringLiteral("\ngoverning member of each group\n");
    const std::initializer_list<int> governingWidths{-12, 6, 11, 15, 11, -15, -1};
    line(out,
         withCombination({QStringLiteral("group"), QStringLiteral("member"), QStringLiteral("force (kN)"),
                          QStringLiteral("resistance (kN)"), QStringLiteral("utilisation"), QStringLiteral("check")},
                         -1),
         governingWidths);
    for (const MemberGroup group : designGroups) {
        const int at = design.governingMember(group);
        if (at == 0)
            continue;
        const MemberDesign& m = design.members[std::size_t(at - 1)];
        const Verdict& v = m.verdict();
        line(out,
             withCombination({groupTitle(group), QString::number(at), forceText(solution, m.force),
                              v.governing == CheckKind::NotChecked ? QStringLiteral("-") : number(v.resistance, 5),
                              utilisationText(v), checkText(m)},
                             at),
             governingWidths);
    }

    out += QStringLiteral("\nmembers (utilisation rounded up)\n");
    const std::initializer_list<int> memberWidths{6, -12, -16, 8, 11, 15, 11, -11, -11, -1};
    line(out,
         withCombination({QStringLiteral("member"), QStringLiteral("group"), QStringLiteral("section"), QStringLiteral("L (m)"),
                          QStringLiteral("force (kN)"), QStringLiteral("resistance (kN)"), QStringLiteral("utilisation"),
                          QStringLiteral("holds"), QStringLiteral("governing")},
                         -1),
         memberWidths);
    std::map<MemberGroup, QString> designations;
    for (const auto& [group, section] : design.sections)
        designations[group] = text(section->designation);
    // The members' lines go out a few hundred at a time: the table of the
    // largest truss is megabytes, and is never held whole.
    stream << out;
    out.clear();
    // A group's members mostly share their length and resistance: each written once.
    const auto memo = [](double& last, QString& shown, double value, int digits) -> const QString& {
        if (value != last || shown.isEmpty())
            shown = number(value, digits), last = value;
        return shown;
    };
    double lastLength = 0, lastResistance = 0;
    QString length, resistance;
    for (const MemberDesign& m : design.members) {
        const Verdict& v = m.verdict();
        line(out,
             withCombination({QString::number(m.member), QLatin1String(groupName(m.group)), designations[m.group],
                              memo(lastLength, length, m.length, resultText::digits), forceText(solution, m.force),
                              v.governing == CheckKind::NotChecked ? QStringLiteral("-")
                                                                   : memo(lastResistance, resistance, v.resistance, 5),
                              utilisationText(v), holdsText(v), QLatin1String(checkKindName(v.governing))},
                             m.member),
             memberWidths);
        if (out.size() > 32768) {
            stream << out;
            out.clear();
        }
    }
    out += u'\n' + verdictText(design);
    if (settings.code == DesignCode::Aisc360)
        out += slendernessText(design);
    out += QStringLiteral("not checked here: ") + notCheckedHere() + u'\n';
    stream << out;
}

QString report(const TrussFileContent& truss, const TrussSolution& solution, const TrussDesign& design)
{
    QString text;
    QTextStream stream(&text);
    report(stream, truss, solution, design);
    stream.flush();
    return text;
}

QStringList csvHeads()
{
    return QStringLiteral("member,group,section,length_m,force_kN,resistance_kN,utilisation,governing").split(u',');
}

QStringList tableHeads()
{
    return {QStringLiteral("member"), QStringLiteral("group"), QStringLiteral("section"),
            QStringLiteral("L (m)"), QStringLiteral("force (kN)"), QStringLiteral("resistance (kN)"),
            QStringLiteral("utilisation"), QStringLiteral("governing")};
}

QStringList memberCells(const TrussSolution& solution, const MemberDesign& m)
{
    const Verdict& v = m.verdict();
    const bool checked = v.governing != CheckKind::NotChecked;
    return {QString::number(m.member),
            QLatin1String(groupName(m.group)),
            text(m.section->designation),
            number(m.length),
            forceText(solution, m.force),
            checked ? number(v.resistance) : QString(),
            checked ? number(v.utilisation) : QString(),
            QLatin1String(checkKindName(v.governing))};
}

void csv(QTextStream& stream, const TrussSolution& solution, const TrussDesign& design, const MemberCombinations& combination)
{
    QString out = csvHeads().join(u',') + (combination.empty() ? QString() : QStringLiteral(",combination")) + u'\n';
    for (const MemberDesign& m : design.members) {
        out += memberCells(solution, m).join(u',');
        if (!combination.empty())
            out += u',' + csvField(combination[std::size_t(m.member)]);
        out += u'\n';
        if (out.size() > 32768) {
            stream << out;
            out.clear();
        }
    }
    stream << out;
}

QString csv(const TrussSolution& solution, const TrussDesign& design)
{
    QString text;
    QTextStream stream(&text);
    csv(stream, solution, design);
    stream.flush();
    return text;
}

QString areaNote(const TrussFileContent& truss, const TrussDesign& design)
{
    QStringList notes;
    for (const MemberGroup group : designGroups)
        if (const QString fileArea = fileAreaNote(truss, design, group); !fileArea.isEmpty())
            notes << QStringLiteral("%1 %2 mm2 in the file, %3 mm2 the section's")
                         .arg(groupTitle(group), fileArea, number(design.sections.at(group)->A, 5));
    if (notes.isEmpty())
        return {};
    return QStringLiteral("note: the file's A is not the section's area (%1): the forces of a statically indeterminate "
                          "truss depend on A, and these are the forces of the file's areas (design --size writes the "
                          "sections' areas)\n")
        .arg(notes.join(QStringLiteral("; ")));
}

Band bandOf(const Verdict& v)
{
    if (v.governing == CheckKind::NotChecked)
        return Band::NotChecked;
    if (!v.holds())
        return Band::Over;
    return v.utilisation < nearLimit ? Band::Under : Band::Near;
}

QString bandName(Band band)
{
    switch (band) {
    case Band::Under:
        return QStringLiteral("utilisation < %1").arg(number(nearLimit));
    case Band::Near:
        return QStringLiteral("%1 to 1").arg(number(nearLimit));
    case Band::Over:
        return QStringLiteral("over 1: does not hold");
    case Band::NotChecked:
        break;
    }
    return QStringLiteral("not checked");
}

QString verdict(const TrussDesign& design) { return verdictText(design); }

QString missingSection(MemberGroup group) { return QStringLiteral("no section for the %1").arg(groupTitle(group)); }

QString unknownSection(DesignCode code, const QString& designation)
{
    return QStringLiteral("no section '%1' in the %2 tables").arg(designation, QLatin1String(codeName(code)));
}

QString defaultGrade(DesignCode code)
{
    if (code == DesignCode::En1993)
        return QStringLiteral("S355");
    return QStringLiteral("by shape: A992 for W shapes, A500 Gr. C for HSS");
}

QString sizingReport(const Sizing& sizing)
{
    const TrussDesign& design = *sizing.design;
    QString out = QStringLiteral("sizing: the lightest section of each family for which every member of its group holds; "
                                 "settled after %1 solutions of the truss\n")
                      .arg(sizing.rounds);
    for (const MemberGroup group : designGroups) {
        const Section& s = *sizing.chosen.at(group);
        const int at = design.governingMember(group);
        out += QStringLiteral("  %1  %2, %3 kg/m, A %4 mm2; governing member %5, utilisation %6 (%7)\n")
                   .arg(groupTitle(group).leftJustified(12), text(s.designation), number(s.massPerMetre, 4), number(s.A, 5))
                   .arg(at)
                   .arg(utilisationText(design.members[std::size_t(at - 1)].verdict()),
                        QLatin1String(checkKindName(design.members[std::size_t(at - 1)].verdict().governing)));
    }
    const double kg = design.steelMass();
    out += QStringLiteral("steel: %1 kg (%2 t) in %3 members\n").arg(number(kg, 5), number(kg / 1000.0, 4)).arg(design.members.size());
    return out + verdictText(design);
}

QString sizingFailure(const Sizing& sizing, const QString& families)
{
    if (sizing.outcome == Sizing::Outcome::NoSectionHolds) {
        QStringList groups;
        for (const MemberGroup group : sizing.unheld)
            groups << groupTitle(group);
        return QStringLiteral("no section of %1 holds every member of the %2").arg(families, groups.join(QStringLiteral(", ")));
    }
    QStringList choice;
    for (const auto& [group, section] : sizing.chosen)
        choice << QStringLiteral("%1 %2").arg(groupTitle(group), text(section->designation));
    return QStringLiteral("sizing did not settle in %1 solutions: the sections chosen keep changing the forces that choose them "
                          "(last choice: %2)")
        .arg(sizing.rounds)
        .arg(choice.join(QStringLiteral(", ")));
}

}  // namespace designText
