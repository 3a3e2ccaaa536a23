#include "viewer/DesignChoice.h"

#include <cmath>

#include <QCryptographicHash>
#include <QSettings>

#include "design/SectionTable.h"
#include "report/DesignText.h"

namespace {

// The viewer's own settings file, the same on every system: a path may
// hold any character, and is kept as a value under a key made from it.
QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ambrell"), QStringLiteral("kvrview"));
}

QString keyOf(const QString& path)
{
    return QStringLiteral("design/")
           + QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex());
}

QString codeKey(DesignCode code)
{
    const std::string_view name = nameOf(code);
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

}  // namespace

QString groupKey(MemberGroup group) { return designText::groupTitle(group).section(u' ', 0, 0); }

DesignChoice::OfCode DesignChoice::ofCode() const
{
    const auto found = codes.find(code);
    return found == codes.end() ? OfCode{} : found->second;
}

std::optional<DesignChoice> loadDesignChoice(const QString& path)
{
    QSettings settings = store();
    settings.beginGroup(keyOf(path));
    if (settings.value(QStringLiteral("path")).toString() != path)
        return std::nullopt;
    DesignChoice choice;
    choice.code = codeNamed(settings.value(QStringLiteral("code")).toString().toStdString()).value_or(DesignCode::En1993);
    for (const DesignCode code : {DesignCode::En1993, DesignCode::Aisc360}) {
        settings.beginGroup(codeKey(code));
        DesignChoice::OfCode ofCode{settings.value(QStringLiteral("grade")).toString(), {}};
        for (const MemberGroup group : designGroups)
            if (const QString section = settings.value(groupKey(group)).toString(); !section.isEmpty())
                ofCode.sections[group] = section;
        settings.endGroup();
        if (!(ofCode == DesignChoice::OfCode{}))
            choice.codes[code] = ofCode;
    }
    settings.beginGroup(QStringLiteral("outOfPlane"));
    for (const MemberGroup group : designGroups) {
        bool ok = false;
        const double metres = settings.value(groupKey(group)).toDouble(&ok);
        if (ok && std::isfinite(metres) && metres > 0)
            choice.outOfPlane[group] = metres;
    }
    return choice;
}

void saveDesignChoice(const QString& path, const DesignChoice& choice)
{
    QSettings settings = store();
    settings.remove(keyOf(path));
    settings.beginGroup(keyOf(path));
    settings.setValue(QStringLiteral("path"), path);
    settings.setValue(QStringLiteral("code"), codeKey(choice.code));
    for (const auto& [code, ofCode] : choice.codes) {
        settings.beginGroup(codeKey(code));
        if (!ofCode.grade.isEmpty())
            settings.setValue(QStringLiteral("grade"), ofCode.grade);
        for (const auto& [group, section] : ofCode.sections)
            settings.setValue(groupKey(group), section);
        settings.endGroup();
    }
    for (const auto& [group, metres] : choice.outOfPlane)
        settings.setValue(QStringLiteral("outOfPlane/") + groupKey(group), metres);
}

Result<DesignInput> designInputOf(const DesignChoice& choice)
{
    DesignInput input;
    input.settings.code = choice.code;
    const DesignChoice::OfCode ofCode = choice.ofCode();
    input.settings.grade = ofCode.grade.toStdString();
    input.settings.outOfPlane = choice.outOfPlane;
    for (const MemberGroup group : designGroups) {
        const auto named = ofCode.sections.find(group);
        if (named == ofCode.sections.end())
            return {std::nullopt, designText::missingSection(group).toStdString()};
        const Section* section = findSection(choice.code, named->second.toStdString());
        if (section == nullptr)
            return {std::nullopt, designText::unknownSection(choice.code, named->second).toStdString()};
        input.sections[group] = section;
    }
    return {std::move(input), {}};
}
