#include "report/DesignWords.h"

#include <cmath>

#include <QLocale>

#include "design/SectionTable.h"
#include "numbers/NumberRule.h"
#include "report/DesignText.h"

namespace {

// A mistake in the words, thrown to readDesign's edge.
struct Mistake {
    QString text;
};

QString codeText(DesignCode code) { return QLatin1String(codeName(code)); }
QString latin(std::string_view s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

double positive(const char* option, const QString& text)
{
    bool ok = false;
    const double value = numberRule::isNumber(text, QLocale::c()) ? QLocale::c().toDouble(text.trimmed(), &ok) : 0.0;
    if (!ok || !std::isfinite(value) || value <= 0)
        throw Mistake{QStringLiteral("--%1: expected a number greater than 0, got '%2'").arg(QLatin1String(option), text)};
    return value;
}

// GROUP=VALUE of every one given, each group once.
std::map<MemberGroup, QString> byGroup(const char* option, const QStringList& given, const QString& what)
{
    std::map<MemberGroup, QString> values;
    for (const QString& one : given) {
        const qsizetype equals = one.indexOf(u'=');
        if (equals < 0)
            throw Mistake{QStringLiteral("--%1: expected GROUP=%2, got '%3'").arg(QLatin1String(option), what, one)};
        const std::vector<MemberGroup> groups = groupsOfKey(one.left(equals).trimmed().toLower().toStdString());
        if (groups.empty())
            throw Mistake{QStringLiteral("--%1: '%2' is not a group: top, bottom, verticals, diagonals or web")
                              .arg(QLatin1String(option), one.left(equals))};
        for (const MemberGroup group : groups)
            if (!values.emplace(group, one.mid(equals + 1).trimmed()).second)
                throw Mistake{
                    QStringLiteral("--%1: a second value for the %2").arg(QLatin1String(option), designText::groupTitle(group))};
    }
    return values;
}

DesignCode codeOf(const std::optional<QString>& name)
{
    if (!name)
        throw Mistake{QStringLiteral("--code is missing: en1993 or aisc360")};
    if (const std::optional<DesignCode> code = codeNamed(name->toStdString()))
        return *code;
    throw Mistake{QStringLiteral("--code: expected en1993 or aisc360, got '%1'").arg(*name)};
}

DesignSettings settingsOf(const DesignWords& words, DesignCode code)
{
    DesignSettings settings;
    settings.code = code;
    settings.grade = words.steel.value_or(QString()).toStdString();
    const std::pair<const char*, const std::optional<QString>&> gammas[] = {{"gamma-m0", words.gammaM0},
                                                                            {"gamma-m1", words.gammaM1}};
    for (const auto& [name, value] : gammas)
        if (value && code != DesignCode::En1993)
            throw Mistake{
                QStringLiteral("--%1 is a factor of EN 1993-1-1; AISC 360-16 takes its own phi").arg(QLatin1String(name))};
    if (words.gammaM0)
        settings.factors.gammaM0 = positive("gamma-m0", *words.gammaM0);
    if (words.gammaM1)
        settings.factors.gammaM1 = positive("gamma-m1", *words.gammaM1);
    for (const auto& [group, text] : byGroup("out-of-plane", words.outOfPlane, QStringLiteral("METRES")))
        settings.outOfPlane[group] = positive("out-of-plane", text);
    return settings;
}

GroupFamilies familiesOf(const QStringList& sizes, DesignCode code, QString& named)
{
    GroupFamilies families;
    QStringList names;
    for (const auto& [group, text] : byGroup("size", sizes, QStringLiteral("FAMILY"))) {
        const std::optional<SectionFamily> family = familyNamed(text.toStdString());
        if (!family)
            throw Mistake{QStringLiteral("--size: '%1' is not a family: SHS, RHS, CHS, IPE, HEA, HEB, HSS or W").arg(text)};
        const QString name = latin(nameOf(*family));
        if (codeOf(*family) != code)
            throw Mistake{QStringLiteral("--size: %1 is a family of the %2 tables, not of %3")
                              .arg(name, codeText(codeOf(*family)), codeText(code))};
        families[group] = sectionsOf(code, *family);
        if (families[group].empty())
            throw Mistake{QStringLiteral("--size: the %1 tables hold no %2 sections").arg(codeText(code), name)};
        if (!names.contains(name))
            names << name;
    }
    named = names.join(QStringLiteral(" or "));
    return families;
}

}  // namespace

Result<AskedDesign> readDesign(const DesignWords& words)
{
    try {
        const DesignCode code = codeOf(words.code);
        AskedDesign choice;
        choice.request.settings = settingsOf(words, code);
        for (const auto& [group, designation] : byGroup("section", words.sections, QStringLiteral("DESIGNATION"))) {
            const Section* section = findSection(code, designation.toStdString());
            if (section == nullptr)
                throw Mistake{QStringLiteral("--section: %1 (kvrtool sections lists them)")
                                  .arg(designText::unknownSection(code, designation))};
            choice.request.sections[group] = section;
        }
        choice.families = familiesOf(words.sizes, code, choice.familyNames);
        for (const MemberGroup group : designGroups) {
            const QString title = designText::groupTitle(group), option = title.section(u' ', 0, 0);
            const bool given = choice.request.sections.contains(group), sized = choice.families.contains(group);
            if (given && sized)
                throw Mistake{QStringLiteral("the %1: --section or --size, not both").arg(title)};
            if (!given && !sized)
                throw Mistake{QStringLiteral("%1: give --section %2=DESIGNATION%3")
                                  .arg(designText::missingSection(group), option,
                                       words.sizes.isEmpty() ? QString() : QStringLiteral(" or --size %1=FAMILY").arg(option))};
        }
        if (words.deflectionLimit)
            choice.request.deflectionLimit = positive("deflection-limit", *words.deflectionLimit);
        return {std::move(choice), {}};
    } catch (const Mistake& mistake) {
        return {std::nullopt, mistake.text.toStdString()};
    }
}
