// sections: the steel section tables, as a readable table or as CSV.
#include <cmath>
#include <variant>

#include <QCommandLineParser>

#include "design/SectionTable.h"
#include "kvrfile/NumberText.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

namespace {

constexpr DesignCode allCodes[] = {DesignCode::En1993, DesignCode::Aisc360};

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

QString familyChoices(std::span<const DesignCode> codes)
{
    QStringList names;
    for (const DesignCode code : codes)
        for (const SectionFamily family : familiesOf(code))
            names << textOf(nameOf(family));
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// The sections the options ask for, or why the options are refused.
std::variant<std::vector<const Section*>, QString> selected(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("sections reads no file; unexpected argument '%1'").arg(parser.positionalArguments().constFirst());
    std::span<const DesignCode> codes = allCodes;
    std::optional<DesignCode> code;
    if (parser.isSet(QStringLiteral("code"))) {
        const QString name = parser.value(QStringLiteral("code"));
        code = codeNamed(name.toStdString());
        if (!code)
            return QStringLiteral("--code: unknown code '%1'; the codes are en1993 and aisc360").arg(name);
        codes = std::span(&*code, 1);
    }
    std::optional<SectionFamily> family;
    if (parser.isSet(QStringLiteral("family"))) {
        const QString name = parser.value(QStringLiteral("family"));
        family = familyNamed(name.toStdString());
        if (!family || (code && codeOf(*family) != *code))
            return QStringLiteral("--family: unknown family '%1'%2; the families are %3")
                .arg(name, code ? QStringLiteral(" in ") + textOf(nameOf(*code)) : QString(), familyChoices(codes));
    }
    std::vector<const Section*> sections;
    for (const DesignCode c : codes)
        for (const Section& section : sectionsOf(c))
            if (!family || section.family == *family)
                sections.push_back(&section);
    return sections;
}

void printCsv(const std::vector<const Section*>& sections, QTextStream& out)
{
    out << "designation,family,standard,h_mm,b_mm,t_mm,A_mm2,Iy_mm4,Iz_mm4,iy_mm,iz_mm,mass_kg_m\n";
    for (const Section* s : sections) {
        out << textOf(s->designation) << ',' << textOf(nameOf(s->family)) << ',' << textOf(s->standard);
        for (const double value : {s->h, s->b, s->t, s->A, s->Iy, s->Iz, s->iy, s->iz, s->massPerMetre})
            out << ',' << significant(value, 6);
        out << '\n';
    }
}

// Second moments in 10^6 mm4, which keeps their columns narrow.
void printTable(const std::vector<const Section*>& sections, QTextStream& out)
{
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
    out << sections.size() << (sections.size() == 1 ? " section\n" : " sections\n");
}

}  // namespace

const CommandForm& sectionsForm()
{
    static const CommandForm form{
        QStringLiteral("sections"),
        QStringLiteral("List the steel section tables and their properties."),
        QStringLiteral("[--code en1993|aisc360] [--family NAME] [--csv]"),
        {{{QStringLiteral("code")},
          QStringLiteral("CODE"),
          QStringLiteral("Only the sections of one design code: en1993 (EN sections) or aisc360 (AISC shapes).")},
         {{QStringLiteral("family")},
          QStringLiteral("NAME"),
          QStringLiteral("Only one family: SHS, RHS, CHS, IPE, HEA, HEB (en1993); HSS, W (aisc360).")},
         {{QStringLiteral("csv")},
          {},
          QStringLiteral("Print CSV, lengths in mm, A in mm2, Iy and Iz in mm4, mass in kg/m, 6 significant digits.")}}};
    return form;
}

int sectionsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    if (const std::optional<int> done = parseCommand(sectionsForm(), parser, arguments, out, err))
        return *done;
    const std::variant<std::vector<const Section*>, QString> sections = selected(parser);
    if (const QString* refusal = std::get_if<QString>(&sections)) {
        err << "kvrtool: " << *refusal << '\n';
        return kvrExit::failed;
    }
    if (parser.isSet(QStringLiteral("csv")))
        printCsv(std::get<0>(sections), out);
    else
        printTable(std::get<0>(sections), out);
    return kvrExit::ok;
}
