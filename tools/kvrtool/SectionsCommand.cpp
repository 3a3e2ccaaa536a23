// sections: the steel section tables, as a readable table or as CSV.
#include <variant>

#include <QCommandLineParser>

#include "design/SectionTable.h"
#include "report/SectionText.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

namespace {

constexpr DesignCode allCodes[] = {DesignCode::En1993, DesignCode::Aisc360};

QString textOf(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

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
        out << sectionsCsv(std::get<0>(sections));
    else
        out << sectionsText(std::get<0>(sections));
    return kvrExit::ok;
}
