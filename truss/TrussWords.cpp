#include "truss/TrussWords.h"

#include <string_view>

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include "numbers/NumberRule.h"
#include "truss/TrussTypes.h"
#include "truss/clsTruss.h"

namespace {

// A mistake in the words, thrown to the edge of the functions below.
struct Mistake {
    QString text;
};

// The panels a type takes, as --panels is refused: Pratt's words as they always were.
QString panelRange(const TrussTypeInfo& type)
{
    if (type.type == TrussType::Pratt)
        return QStringLiteral("--panels: the truss is built for 1 to %1 panels").arg(TrussParameters::largestPanelCount);
    return QStringLiteral("--panels: the %1 is built for %2")
        .arg(QLatin1String(type.title), QString::fromStdString(type.panels.text()));
}

class Reader {
public:
    explicit Reader(const TrussWords& words) : words_(words) {}

    bool given(const char* name) const { return words_.contains(QLatin1String(name)); }
    QString text(const char* name) const { return words_.value(QLatin1String(name)); }

    const TrussTypeInfo& type() const
    {
        if (!given("type"))
            return trussTypes().front();
        if (const TrussTypeInfo* type = trussTypeNamed(text("type").toStdString()))
            return *type;
        throw Mistake{QStringLiteral("--type: no truss type '%1'; the types are %2").arg(text("type"), trussTypeNames())};
    }

    float single(const char* name) const
    {
        const numberRule::SingleResult result = numberRule::toSingle(text(name), QLocale::c());
        if (result.status == numberRule::Conversion::OutOfRange)
            throw Mistake{
                QStringLiteral("--%1: %2 is too large for a Single (at most 3.4E+38)").arg(QLatin1String(name), text(name))};
        if (result.status != numberRule::Conversion::Ok)
            throw Mistake{QStringLiteral("--%1: expected a number, got '%2'").arg(QLatin1String(name), text(name))};
        return result.value;
    }

    // A length, an area or a modulus, from the option's own value or the
    // shared one's: a truss stands only on positive ones.
    float positive(const char* own, const char* shared = nullptr) const
    {
        const char* name = shared != nullptr && !given(own) ? shared : own;
        const float value = single(name);
        if (value > 0.0f)
            return value;
        const QString digits = text(name).trimmed().section(QRegularExpression(QStringLiteral("[eE]")), 0, 0);
        if (value == 0.0f && !digits.startsWith(u'-') && digits.contains(QRegularExpression(QStringLiteral("[1-9]"))))
            throw Mistake{QStringLiteral("--%1: %2 rounds to 0 as a Single; expected a number greater than 0")
                              .arg(QLatin1String(name), text(name))};
        throw Mistake{QStringLiteral("--%1: expected a number greater than 0, got '%2'").arg(QLatin1String(name), text(name))};
    }

    // Rounded as the window rounds it: to the nearest whole number, an exact
    // half to the even one.
    std::int16_t panels() const
    {
        if (!given("panels"))
            return type().panels.smallest;
        const numberRule::IntegerResult result = numberRule::toInteger(text("panels"), QLocale::c());
        if (result.status == numberRule::Conversion::OutOfRange)
            throw Mistake{panelRange(type())};
        if (result.status != numberRule::Conversion::Ok)
            throw Mistake{QStringLiteral("--panels: expected a number, got '%1'").arg(text("panels"))};
        return result.value;
    }

private:
    const TrussWords& words_;
};

}  // namespace

std::optional<QString> incompleteTruss(const TrussWords& words)
{
    const Reader reader(words);
    try {
        const TrussTypeInfo& type = reader.type();
        for (const char* required : {"span", "height", "panels", "output"})
            if (!reader.given(required) && !(required == std::string_view("panels") && type.panels.fixed()))
                return QStringLiteral("--%1 is missing").arg(QLatin1String(required));
    } catch (const Mistake& mistake) {
        return mistake.text;
    }
    for (const auto& [own, shared] : {std::pair{"top-area", "area"},
                                      {"btm-area", "area"},
                                      {"web-area", "area"},
                                      {"top-e", "e"},
                                      {"btm-e", "e"},
                                      {"web-e", "e"}})
        if (!reader.given(own) && !reader.given(shared))
            return QStringLiteral("--%1 (or --%2) is missing").arg(QLatin1String(shared), QLatin1String(own));
    if (reader.given("udl") == reader.given("point-load"))
        return QStringLiteral("--udl or --point-load: give exactly one");
    return std::nullopt;
}

std::variant<TrussParameters, QString> trussParametersOf(const TrussWords& words)
{
    const Reader reader(words);
    try {
        const bool uniform = reader.given("udl");
        const TrussParameters parameters{
            .config = static_cast<std::int32_t>(reader.type().type),
            .topE = reader.positive("top-e", "e"),
            .btmE = reader.positive("btm-e", "e"),
            .webE = reader.positive("web-e", "e"),
            .topA = reader.positive("top-area", "area"),
            .btmA = reader.positive("btm-area", "area"),
            .webA = reader.positive("web-area", "area"),
            .loadType = uniform ? clsTruss::uniformLoad : clsTruss::pointLoads,
            .loadValue = reader.single(uniform ? "udl" : "point-load"),
            .L = reader.positive("span"),
            .h = reader.positive("height"),
            .np = reader.panels(),
        };
        // The builder's own Single division: panels of no length would stand on one spot.
        if (parameters.np >= 1 && parameters.L / static_cast<float>(parameters.np) == 0.0f)
            return QStringLiteral("--span: the panel length L/N rounds to 0 as a Single");
        return parameters;
    } catch (const Mistake& mistake) {
        return mistake.text;
    }
}

QString buildRefusal(const TrussBuildError& error, const TrussParameters& parameters)
{
    using Cause = TrussBuildError::Cause;
    const QString what = QString::fromStdString(error.what());
    const QString option = error.cause() == Cause::Span     ? QStringLiteral("--span")
                           : error.cause() == Cause::Height ? QStringLiteral("--height")
                                                            : QStringLiteral("--area/--e");
    if (error.kind() == TrussBuildError::Kind::ZeroLength)
        return QStringLiteral("%1: too small for its panels: %2").arg(option, what);
    if (error.kind() == TrussBuildError::Kind::NotPositive)  // refused before the build; named here all the same
        return QStringLiteral("%1: %2").arg(option, what);
    switch (error.cause()) {
    case Cause::PanelCount:
        return panelRange(*trussTypeOf(parameters.config));
    case Cause::Load:
        return QStringLiteral("--udl: w times the panel length is beyond the range of Single");
    case Cause::Span:
        return QStringLiteral("--span: the node coordinates are beyond the range of Single");
    case Cause::Height:
        return QStringLiteral("--height: %1").arg(what);
    case Cause::MemberProperty:
        break;
    }
    return QStringLiteral("--area/--e: %1").arg(what);
}

QString trussTypeNames()
{
    QStringList names;
    for (const TrussTypeInfo& type : trussTypes())
        names << QLatin1String(type.name);
    return names.join(QStringLiteral(", "));
}

QString panelCountsOfTypes()
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
