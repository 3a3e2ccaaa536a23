// sections: the steel section tables, as a readable table or as CSV.
#include <QCommandLineParser>

#include "report/SectionText.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

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
    const auto given = [&](const QString& name) { return parser.isSet(name) ? std::optional(parser.value(name)) : std::nullopt; };
    const std::variant<std::vector<const Section*>, QString> sections =
        parser.positionalArguments().isEmpty()
            ? sectionsNamed(given(QStringLiteral("code")), given(QStringLiteral("family")))
            : QStringLiteral("sections reads no file; unexpected argument '%1'").arg(parser.positionalArguments().constFirst());
    if (const QString* refusal = std::get_if<QString>(&sections))
        return failedBecause(err, *refusal);
    if (parser.isSet(QStringLiteral("csv")))
        out << sectionsCsv(std::get<0>(sections));
    else
        out << sectionsText(std::get<0>(sections));
    return kvrExit::ok;
}
