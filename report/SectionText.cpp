#include "report/SectionText.h"

#include <cmath>
#include <span>
#include <string_view>

#include <QStringList>
#include <QTextStream>

#include "design/SectionTable.h"
#include "kvrfile/NumberText.h"

namespace {

QString textOf(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString significant(double value, int digits) { return QString::fromStdString(formatSignificant(value, digits)); }

// Four significant digits, and every digit before the point (an area of
// 70344 mm2, not 7.034e+04).
QString readable(double value)
{
    int digits = 4;
    for (double whole = 1e4; whole <= std::abs(value) && digits < 17; whole *= 10.0)
        ++digits;
    return significant(value, digits);
}

constexpr DesignCode allCodes[] = {DesignCode::En1993, DesignCode::Aisc360};

QString familyChoices(std::span<const DesignCode> codes)
{
    QStringList names;
    for (const DesignCode code : codes)
        for (const SectionFamily family : familiesOf(code))
            names << textOf(nameOf(family));
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

}  // namespace

std::variant<std::vector<const Section*>, QString> sectionsNamed(const std::optional<QString>& codeName,
                                                                 const std::optional<QString>& familyName)
{
    std::span<const DesignCode> codes = allCodes;
    std::optional<DesignCode> code;
    if (codeName) {
        code = codeNamed(codeName->toStdString());
        if (!code)
            return QStringLiteral("--code: unknown code '%1'; the codes are en1993 and aisc360").arg(*codeName);
        codes = std::span(&*code, 1);
    }
    std::optional<SectionFamily> family;
    if (familyName) {
        family = familyNamed(familyName->toStdString());
        if (!family || (code && codeOf(*family) != *code))
            return QStringLiteral("--family: unknown family '%1'%2; the families are %3")
                .arg(*familyName, code ? QStringLiteral(" in ") + textOf(nameOf(*code)) : QString(), familyChoices(codes));
    }
    std::vector<const Section*> sections;
    for (const DesignCode c : codes)
        for (const Section& section : sectionsOf(c))
            if (!family || section.family == *family)
                sections.push_back(&section);
    return sections;
}

QString sectionsCsv(const std::vector<const Section*>& sections)
{
    QString text;
    QTextStream out(&text);
    out << "designation,family,standard,h_mm,b_mm,t_mm,A_mm2,Iy_mm4,Iz_mm4,iy_mm,iz_mm,mass_kg_m\n";
    for (const Section* s : sections) {
        out << textOf(s->designation) << ',' << textOf(nameOf(s->family)) << ',' << textOf(s->standard);
        for (const double value : {s->h, s->b, s->t, s->A, s->Iy, s->Iz, s->iy, s->iz, s->massPerMetre})
            out << ',' << significant(value, 6);
        out << '\n';
    }
    return text;
}

QString sectionsText(const std::vector<const Section*>& sections)
{
    QString text;
    QTextStream out(&text);
    const auto line = [&](const QString& designation, const QString& family, const QString& standard,
                          const QStringList& numbers) {
        static constexpr int widths[] = {8, 8, 7, 9, 11, 11, 8, 8, 11};
        out << designation.leftJustified(20) << u' ' << family.leftJustified(6) << u' ' << standard.leftJustified(10);
        for (qsizetype i = 0; i < numbers.size(); ++i)
            out << u' ' << numbers[i].rightJustified(widths[i]);
        out << '\n';
    };
    line(QStringLiteral("designation"), QStringLiteral("family"), QStringLiteral("standard"),
         {QStringLiteral("h (mm)"), QStringLiteral("b (mm)"), QStringLiteral("t (mm)"), QStringLiteral("A (mm2)"),
          QStringLiteral("Iy (1e6 mm4)"), QStringLiteral("Iz (1e6 mm4)"), QStringLiteral("iy (mm)"), QStringLiteral("iz (mm)"),
          QStringLiteral("mass (kg/m)")});
    for (const Section* s : sections) {
        QStringList numbers;
        for (const double value : {s->h, s->b, s->t, s->A, s->Iy / 1e6, s->Iz / 1e6, s->iy, s->iz, s->massPerMetre})
            numbers << readable(value);
        line(textOf(s->designation), textOf(nameOf(s->family)), textOf(s->standard), numbers);
    }
    out << QString::fromStdString(counted(static_cast<std::int64_t>(sections.size()), "section", "sections")) << '\n';
    return text;
}
