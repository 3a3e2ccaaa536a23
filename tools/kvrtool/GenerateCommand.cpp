// generate: the truss file that the window writes, from options.
#include <QCommandLineParser>
#include <QLocale>
#include <QRegularExpression>

#include "numbers/NumberRule.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"
#include "truss/TrussTypes.h"
#include "truss/clsTruss.h"

namespace {

// The model's notices, on one line each.
class StreamSink : public MessageSink {
public:
    explicit StreamSink(QTextStream& err) : err_(err) {}
    void showMessage(const QString& text, MessageIcon) override { err_ << "kvrtool: " << text << '\n'; }

private:
    QTextStream& err_;
};

struct OptionError {
    QString text;
};

// The panels a type takes, as --panels is refused: Pratt's words as they always were.
QString panelRange(const TrussTypeInfo& type)
{
    if (type.type == TrussType::Pratt)
        return QStringLiteral("--panels: the truss is built for 1 to %1 panels").arg(TrussParameters::largestPanelCount);
    return QStringLiteral("--panels: the %1 is built for %2").arg(QLatin1String(type.title), QString::fromStdString(type.panels.text()));
}

QString typeNames(const QString& separator)
{
    QStringList names;
    for (const TrussTypeInfo& type : trussTypes())
        names << QLatin1String(type.name);
    return names.join(separator);
}

class Options {
public:
    explicit Options(const QCommandLineParser& parser) : parser_(parser) {}

    const TrussTypeInfo& type() const
    {
        if (!isSet("type"))
            return *trussTypeOf(clsTruss::prattTruss);
        const QString name = parser_.value(QStringLiteral("type"));
        if (const TrussTypeInfo* type = trussTypeNamed(name.toStdString()))
            return *type;
        throw OptionError{QStringLiteral("--type: no truss type '%1'; the types are %2").arg(name, typeNames(QStringLiteral(", ")))};
    }

    bool isSet(const char* name) const { return parser_.isSet(QString::fromLatin1(name)); }

    float single(const char* name) const
    {
        const QString text = parser_.value(QString::fromLatin1(name));
        const numberRule::SingleResult result = numberRule::toSingle(text, QLocale::c());
        if (result.status == numberRule::Conversion::OutOfRange)
            throw OptionError{QStringLiteral("--%1: %2 is too large for a Single (at most 3.4E+38)").arg(QLatin1String(name), text)};
        if (result.status != numberRule::Conversion::Ok)
            throw OptionError{QStringLiteral("--%1: expected a number, got '%2'").arg(QLatin1String(name), text)};
        return result.value;
    }

    // A length, an area or a modulus, from the option's own value or the
    // shared one's: a truss stands only on positive ones.
    float positive(const char* own, const char* shared = nullptr) const
    {
        const char* name = shared != nullptr && !isSet(own) ? shared : own;
        const float value = single(name);
        if (value > 0.0f)
            return value;
        const QString text = parser_.value(QString::fromLatin1(name));
        const QString digits = text.trimmed().section(QRegularExpression(QStringLiteral("[eE]")), 0, 0);
        if (value == 0.0f && !digits.startsWith(u'-') && digits.contains(QRegularExpression(QStringLiteral("[1-9]"))))
            throw OptionError{QStringLiteral("--%1: %2 rounds to 0 as a Single; expected a number greater than 0").arg(QLatin1String(name), text)};
        throw OptionError{QStringLiteral("--%1: expected a number greater than 0, got '%2'").arg(QLatin1String(name), text)};
    }

    // Every option that must be there, and exactly one of the two loads. A
    // type of one layout needs no panel count.
    void requireComplete() const
    {
        type();  // an unknown type before anything else
        for (const char* required : {"span", "height", "panels", "output"})
            if (!isSet(required) && !(required == std::string_view("panels") && type().panels.fixed()))
                throw OptionError{QStringLiteral("--%1 is missing").arg(QLatin1String(required))};
        for (const auto& [own, shared] : {std::pair{"top-area", "area"}, {"btm-area", "area"}, {"web-area", "area"},
                                          {"top-e", "e"}, {"btm-e", "e"}, {"web-e", "e"}})
            if (!isSet(own) && !isSet(shared))
                throw OptionError{QStringLiteral("--%1 (or --%2) is missing").arg(QLatin1String(shared), QLatin1String(own))};
        if (isSet("udl") == isSet("point-load"))
            throw OptionError{QStringLiteral("--udl or --point-load: give exactly one")};
        if (!parser_.positionalArguments().isEmpty())
            throw OptionError{QStringLiteral("unexpected argument '%1'").arg(parser_.positionalArguments().constFirst())};
    }

    TrussParameters parameters() const
    {
        const bool uniform = isSet("udl");
        const TrussParameters parameters{
            .config = static_cast<std::int32_t>(type().type),
            .topE = positive("top-e", "e"),
            .btmE = positive("btm-e", "e"),
            .webE = positive("web-e", "e"),
            .topA = positive("top-area", "area"),
            .btmA = positive("btm-area", "area"),
            .webA = positive("web-area", "area"),
            .loadType = uniform ? clsTruss::uniformLoad : clsTruss::pointLoads,
            .loadValue = single(uniform ? "udl" : "point-load"),
            .L = positive("span"),
            .h = positive("height"),
            .np = panels(),
        };
        // The builder's own Single division: panels of no length would stand on one spot.
        if (parameters.np >= 1 && parameters.L / static_cast<float>(parameters.np) == 0.0f)
            throw OptionError{QStringLiteral("--span: the panel length L/N rounds to 0 as a Single")};
        return parameters;
    }

private:
    // Rounded as the window rounds it: to the nearest whole number, an exact
    // half to the even one.
    std::int16_t panels() const
    {
        if (!isSet("panels"))
            return type().panels.smallest;
        const QString text = parser_.value(QStringLiteral("panels"));
        const numberRule::IntegerResult result = numberRule::toInteger(text, QLocale::c());
        if (result.status == numberRule::Conversion::OutOfRange)
            throw OptionError{panelRange(type())};
        if (result.status != numberRule::Conversion::Ok)
            throw OptionError{QStringLiteral("--panels: expected a number, got '%1'").arg(text)};
        return result.value;
    }

    const QCommandLineParser& parser_;
};

QString buildFailure(const TrussBuildError& error, const TrussTypeInfo& type)
{
    using Cause = TrussBuildError::Cause;
    const QString what = QString::fromStdString(error.what());
    const QString option = error.cause() == Cause::Span ? QStringLiteral("--span")
                           : error.cause() == Cause::Height ? QStringLiteral("--height")
                                                            : QStringLiteral("--area/--e");
    if (error.kind() == TrussBuildError::Kind::ZeroLength)
        return QStringLiteral("%1: too small for its panels: %2").arg(option, what);
    if (error.kind() == TrussBuildError::Kind::NotPositive)  // refused before the build; named here all the same
        return QStringLiteral("%1: %2").arg(option, what);
    switch (error.cause()) {
    case TrussBuildError::Cause::PanelCount:
        return panelRange(type);
    case TrussBuildError::Cause::Load:
        return QStringLiteral("--udl: w times the panel length is beyond the range of Single");
    case TrussBuildError::Cause::Span:
        return QStringLiteral("--span: the node coordinates are beyond the range of Single");
    case TrussBuildError::Cause::Height:
        return QStringLiteral("--height: %1").arg(what);
    case TrussBuildError::Cause::MemberProperty:
        break;
    }
    return QStringLiteral("--area/--e: %1").arg(what);
}

OptionForm valued(const char* name, const QString& description)
{
    return {{QString::fromLatin1(name)}, QStringLiteral("VALUE"), description};
}

// Each type's panel counts, as the help lists them: "k even 2 to 5460".
QString panelCounts()
{
    QStringList counts;
    for (const TrussTypeInfo& type : trussTypes()) {
        const PanelRule& rule = type.panels;
        counts << QStringLiteral("%1 %2%3").arg(QLatin1String(type.name), rule.step == 2 ? QStringLiteral("even ") : QString(),
                                                 rule.fixed() ? QString::number(rule.smallest)
                                                              : QStringLiteral("%1 to %2").arg(rule.smallest).arg(rule.largest));
    }
    return counts.join(QStringLiteral(", "));
}

}  // namespace

const CommandForm& generateForm()
{
    static const CommandForm form{
        QStringLiteral("generate"), QStringLiteral("Write the truss file of a Pratt truss, as the window does, or of another type."),
        QStringLiteral("[--type NAME] --span L --height H --panels N --area A --e E (--udl W | --point-load P) -o FILE.kvr"),
        {{{QStringLiteral("type")}, QStringLiteral("NAME"),
          QStringLiteral("The truss type: %1; pratt when not given. The README draws each.").arg(typeNames(QStringLiteral(", ")))},
         valued("span", QStringLiteral("Span L in m, greater than 0.")),
         valued("height", QStringLiteral("Height h in m, greater than 0: the depth of a parallel-chord truss, the rise at mid-span of a roof truss (pratt-roof to fan).")),
         valued("panels", QStringLiteral("Number of panels (of the top chord, for a roof truss); 7.5 is rounded to 8, 6.5 to 6, as in the window: %1. "
                                         "A type of one layout needs none.")
                              .arg(panelCounts())),
         valued("area", QStringLiteral("Area of every member in mm2, greater than 0.")),
         valued("e", QStringLiteral("Modulus of elasticity of every member in kN/mm2, greater than 0.")),
         valued("top-area", QStringLiteral("Area of the top chord in mm2.")),
         valued("btm-area", QStringLiteral("Area of the bottom chord in mm2.")),
         valued("web-area", QStringLiteral("Area of the web members in mm2.")),
         valued("top-e", QStringLiteral("E of the top chord in kN/mm2.")),
         valued("btm-e", QStringLiteral("E of the bottom chord in kN/mm2.")),
         valued("web-e", QStringLiteral("E of the web members in kN/mm2.")),
         valued("udl", QStringLiteral("Uniformly distributed load w on the top chord in kN/m. Per metre of span on plan: a top chord node carries w times its share of the span, half way to its neighbours.")),
         valued("point-load", QStringLiteral("Nodal point load P on the top chord in kN: P at each node, P/2 at one over a support.")),
         {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE"), QStringLiteral("The truss file to write.")}}};
    return form;
}

int generateCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    if (const std::optional<int> done = parseCommand(generateForm(), parser, arguments, out, err))
        return *done;

    const Options options(parser);
    try {
        options.requireComplete();
        const TrussParameters parameters = options.parameters();
        StreamSink sink(err);
        clsTruss truss(sink);
        truss.setParameters(parameters);
        truss.setOpenfile(parser.value(QStringLiteral("output")));
        if (const std::optional<atomicSave::Failure> failure = truss.saveFile()) {
            err << "kvrtool: Error while saving file " << truss.openfile() << ": " << atomicSave::describe(*failure) << '\n';
            return kvrExit::notWritten;
        }
        out << "wrote " << truss.openfile() << ": " << truss.noNodes() << " nodes, " << truss.noMembers() << " members\n";
        return kvrExit::ok;
    } catch (const OptionError& error) {
        err << "kvrtool: " << error.text << '\n';
    } catch (const TrussBuildError& error) {
        err << "kvrtool: " << buildFailure(error, options.type()) << '\n';
    }
    return kvrExit::failed;
}

