#include "tools/kvrtool/CommandLine.h"

#include "tools/kvrtool/Kvrtool.h"

namespace {

const OptionForm helpOption{{QStringLiteral("h"), QStringLiteral("help")}, {}, QStringLiteral("Show this help.")};

// A one-letter name beside a longer one is its short form (-o, --output);
// an option's only name is long, whatever its length (--e).
QString dashed(const QString& name, const OptionForm& option)
{
    const bool shortForm = name.size() == 1 && option.names.size() > 1;
    return (shortForm ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString namesOf(const OptionForm& option, const QString& separator)
{
    QStringList names;
    for (const QString& name : option.names)
        names << dashed(name, option);
    return names.join(separator);
}

std::vector<OptionForm> withHelp(const CommandForm& form)
{
    std::vector<OptionForm> options = form.options;
    options.push_back(helpOption);
    return options;
}

// Each option once, unless it takes one value each time: a second value
// would silently replace the first.
std::optional<QString> givenTwice(const CommandForm& form, const QCommandLineParser& parser)
{
    QMap<QString, int> seen;
    for (const QString& name : parser.optionNames())
        for (const OptionForm& option : withHelp(form))
            if (option.names.contains(name) && !option.repeatable && ++seen[option.names.constLast()] == 2)
                return namesOf(option, QStringLiteral("/"));
    return std::nullopt;
}

}  // namespace

QString helpOf(const CommandForm& form)
{
    QString help = QStringLiteral("kvrtool %1: %2\nusage: kvrtool %1 %3\n\noptions:\n").arg(form.name, form.summary, form.usage);
    for (const OptionForm& option : withHelp(form)) {
        QString names = namesOf(option, QStringLiteral(", "));
        if (!option.valueName.isEmpty())
            names += u' ' + option.valueName;
        help += QStringLiteral("  %1  %2\n").arg(names.leftJustified(22), option.description);
    }
    return help;
}

std::optional<int> parseCommand(const CommandForm& form, QCommandLineParser& parser, const QStringList& arguments,
                                QTextStream& out, QTextStream& err)
{
    for (const OptionForm& option : withHelp(form))
        parser.addOption({option.names, option.description, option.valueName});
    if (!parser.parse(arguments)) {
        err << "kvrtool: " << parser.errorText() << '\n';
        return kvrExit::failed;
    }
    if (const std::optional<QString> twice = givenTwice(form, parser)) {
        err << "kvrtool: " << *twice << " is given twice; give it once\n";
        return kvrExit::failed;
    }
    if (parser.isSet(helpOption.names.constLast())) {
        out << helpOf(form);
        return kvrExit::ok;
    }
    return std::nullopt;
}

QMap<QString, QString> givenValues(const CommandForm& form, const QCommandLineParser& parser)
{
    QMap<QString, QString> values;
    for (const OptionForm& option : form.options)
        if (!option.valueName.isEmpty() && parser.isSet(option.names.constLast()))
            values.insert(option.names.constLast(), parser.value(option.names.constLast()));
    return values;
}
