// design: whether every member of a truss holds, to EN 1993-1-1 or AISC
// 360-16, and the sizing of its groups from a family of sections. The words
// and tables are report/DesignText's; here the options are read.
#include <cmath>
#include <map>
#include <vector>

#include <QCommandLineParser>
#include <QLocale>

#include "design/SectionTable.h"
#include "design/Sizing.h"
#include "kvrfile/TrussFileEncoder.h"
#include "numbers/NumberRule.h"
#include "report/DesignText.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

namespace {

struct OptionError {
    QString text;
};

const QString groupNames = QStringLiteral("top, bottom, verticals, diagonals or web");

class Options {
public:
    explicit Options(const QCommandLineParser& parser) : parser_(parser) {}

    bool isSet(const char* name) const { return parser_.isSet(QLatin1String(name)); }
    QString value(const char* name) const { return parser_.value(QLatin1String(name)); }

    DesignCode code() const
    {
        if (!isSet("code"))
            throw OptionError{QStringLiteral("--code is missing: en1993 or aisc360")};
        const QString code = value("code").toLower();
        if (code == QLatin1String("en1993"))
            return DesignCode::En1993;
        if (code == QLatin1String("aisc360"))
            return DesignCode::Aisc360;
        throw OptionError{QStringLiteral("--code: expected en1993 or aisc360, got '%1'").arg(value("code"))};
    }

    DesignSettings settings(DesignCode code) const
    {
        DesignSettings settings;
        settings.code = code;
        settings.grade = value("steel").toStdString();
        for (const char* gamma : {"gamma-m0", "gamma-m1"})
            if (isSet(gamma) && code != DesignCode::En1993)
                throw OptionError{QStringLiteral("--%1 is a factor of EN 1993-1-1; AISC 360-16 takes its own phi").arg(QLatin1String(gamma))};
        if (isSet("gamma-m0"))
            settings.factors.gammaM0 = positive("gamma-m0", value("gamma-m0"));
        if (isSet("gamma-m1"))
            settings.factors.gammaM1 = positive("gamma-m1", value("gamma-m1"));
        for (const auto& [group, text] : byGroup("out-of-plane", QStringLiteral("METRES")))
            settings.outOfPlane[group] = positive("out-of-plane", text);
        return settings;
    }

    GroupSections sections(DesignCode code) const
    {
        GroupSections sections;
        for (const auto& [group, designation] : byGroup("section", QStringLiteral("DESIGNATION"))) {
            const Section* section = findSection(code, designation.toStdString());
            if (section == nullptr)
                throw OptionError{QStringLiteral("--section: %1 (kvrtool sections lists them)")
                                      .arg(designText::unknownSection(code, designation))};
            sections[group] = section;
        }
        return sections;
    }

    std::map<MemberGroup, std::vector<const Section*>> families(DesignCode code, QString& named) const
    {
        std::map<MemberGroup, std::vector<const Section*>> families;
        QStringList names;
        for (const auto& [group, text] : byGroup("size", QStringLiteral("FAMILY"))) {
            const std::optional<SectionFamily> family = familyNamed(text.toStdString());
            if (!family)
                throw OptionError{QStringLiteral("--size: '%1' is not a family: SHS, RHS, CHS, IPE, HEA, HEB, HSS or W").arg(text)};
            const std::string_view familyName = nameOf(*family);
            const QString name = QString::fromUtf8(familyName.data(), qsizetype(familyName.size()));
            if (codeOf(*family) != code)
                throw OptionError{QStringLiteral("--size: %1 is a family of the %2 tables, not of %3")
                                      .arg(name, QLatin1String(codeName(codeOf(*family))), QLatin1String(codeName(code)))};
            families[group] = sectionsOf(code, *family);
            if (families[group].empty())
                throw OptionError{QStringLiteral("--size: the %1 tables hold no %2 sections").arg(QLatin1String(codeName(code)), name)};
            if (!names.contains(name))
                names << name;
        }
        named = names.join(QStringLiteral(" or "));
        return families;
    }

private:
    // GROUP=VALUE of every time the option is given, each group once.
    std::map<MemberGroup, QString> byGroup(const char* option, const QString& what) const
    {
        std::map<MemberGroup, QString> values;
        for (const QString& given : parser_.values(QLatin1String(option))) {
            const qsizetype equals = given.indexOf(u'=');
            if (equals < 0)
                throw OptionError{QStringLiteral("--%1: expected GROUP=%2, got '%3'").arg(QLatin1String(option), what, given)};
            const QString name = given.left(equals).trimmed().toLower();
            const QString text = given.mid(equals + 1).trimmed();
            std::vector<MemberGroup> groups;
            if (name == QLatin1String("top"))
                groups = {MemberGroup::TopChord};
            else if (name == QLatin1String("bottom"))
                groups = {MemberGroup::BottomChord};
            else if (name == QLatin1String("verticals"))
                groups = {MemberGroup::Vertical};
            else if (name == QLatin1String("diagonals"))
                groups = {MemberGroup::Diagonal};
            else if (name == QLatin1String("web"))
                groups = {MemberGroup::Vertical, MemberGroup::Diagonal};
            else
                throw OptionError{QStringLiteral("--%1: '%2' is not a group: %3").arg(QLatin1String(option), given.left(equals), groupNames)};
            for (const MemberGroup group : groups)
                if (!values.emplace(group, text).second)
                    throw OptionError{QStringLiteral("--%1: a second value for the %2").arg(QLatin1String(option), designText::groupTitle(group))};
        }
        return values;
    }

    static double positive(const char* option, const QString& text)
    {
        bool ok = false;
        const double value = numberRule::isNumber(text, QLocale::c()) ? QLocale::c().toDouble(text.trimmed(), &ok) : 0.0;
        if (!ok || !std::isfinite(value) || value <= 0)
            throw OptionError{QStringLiteral("--%1: expected a number greater than 0, got '%2'").arg(QLatin1String(option), text)};
        return value;
    }

    const QCommandLineParser& parser_;
};

// The groups every member's section must come from: given or sized, not both, none left out.
void requireEveryGroup(const GroupSections& given, const std::map<MemberGroup, std::vector<const Section*>>& sized)
{
    for (const MemberGroup group : designGroups) {
        const bool isGiven = given.contains(group), isSized = sized.contains(group);
        if (isGiven && isSized)
            throw OptionError{QStringLiteral("the %1: --section or --size, not both").arg(designText::groupTitle(group))};
        if (!isGiven && !isSized)
            throw OptionError{QStringLiteral("no section for the %1: give --section %2=DESIGNATION%3")
                                  .arg(designText::groupTitle(group), designText::groupTitle(group).section(u' ', 0, 0),
                                       sized.empty() ? QString() : QStringLiteral(" or --size %1=FAMILY").arg(designText::groupTitle(group).section(u' ', 0, 0)))};
    }
}

int design(const QCommandLineParser& parser, const TrussFileContent& truss, const Options& options, QTextStream& out, QTextStream& err)
{
    const DesignCode code = options.code();
    const DesignSettings settings = options.settings(code);
    const GroupSections sections = options.sections(code);
    requireEveryGroup(sections, {});
    const std::optional<TrussSolution> solution = solvedOrRefused(truss, err);
    if (!solution)
        return kvrExit::failed;
    const Result<TrussDesign> result = designTruss(truss, *solution, sections, settings);
    if (!result.value)
        throw OptionError{QString::fromStdString(result.error)};
    out << (parser.isSet(QStringLiteral("csv")) ? designText::csv(*solution, *result.value)
                                                 : designText::report(truss, *solution, *result.value));
    return result.value->allHold() ? kvrExit::ok : kvrExit::notHolding;
}

int size(const QCommandLineParser& parser, const TrussFileContent& truss, const Options& options, QTextStream& out, QTextStream& err)
{
    if (!options.isSet("output"))
        throw OptionError{QStringLiteral("--size writes the sized truss file: give -o FILE")};
    const DesignCode code = options.code();
    SizingRequest request;
    request.settings = options.settings(code);
    request.fixed = options.sections(code);
    QString families;
    request.candidates = options.families(code, families);
    requireEveryGroup(request.fixed, request.candidates);
    if (!solvedOrRefused(truss, err))
        return kvrExit::failed;
    const Result<Sizing> result = sizeTruss(truss, request);
    if (!result.value)
        throw OptionError{QString::fromStdString(result.error)};
    const Sizing& sizing = *result.value;
    if (sizing.outcome != Sizing::Outcome::Settled) {
        err << "kvrtool: " << designText::sizingFailure(sizing, families) << "; nothing written\n";
        return sizing.outcome == Sizing::Outcome::NoSectionHolds ? kvrExit::noSectionHolds : kvrExit::notHolding;
    }
    const QString path = options.value("output");
    const std::vector<std::uint8_t> bytes = encodeTrussFile(sizing.truss);
    if (!writeOrReport(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())), err))
        return kvrExit::notWritten;
    if (parser.isSet(QStringLiteral("csv"))) {
        out << designText::csv(*sizing.solution, *sizing.design);
    } else {
        out << designText::sizingReport(sizing);
        out << "wrote " << path << ": each member's A its group's section's area\n";
    }
    return sizing.design->allHold() ? kvrExit::ok : kvrExit::notHolding;
}

OptionForm valued(const char* name, const char* valueName, const QString& description, bool repeatable = false)
{
    return {{QLatin1String(name)}, QLatin1String(valueName), description, repeatable};
}

}  // namespace

const CommandForm& designForm()
{
    static const CommandForm form{
        QStringLiteral("design"),
        QStringLiteral("Check every member of a Pratt truss file to EN 1993-1-1 or AISC 360-16 (LRFD) in axial force, or size "
                       "its groups. Exit status 3: a member does not hold or is not checked; 4: no section of a family carries its group."),
        QStringLiteral("FILE --code en1993|aisc360 [--steel GRADE] --section GROUP=DESIGNATION... [--out-of-plane GROUP=METRES...] "
                       "[--gamma-m0 X] [--gamma-m1 X] [--csv]\n       kvrtool design FILE --code en1993|aisc360 --size GROUP=FAMILY... "
                       "[--section GROUP=DESIGNATION...] -o SIZED.kvr [--csv]"),
        {valued("code", "CODE", QStringLiteral("en1993 (EN 1993-1-1) or aisc360 (AISC 360-16 LRFD).")),
         valued("steel", "GRADE",
                QStringLiteral("S235, S275, S355, S420 or S460 (en1993, fy by thickness per Table 3.1; default S355); A992, "
                               "A500 Gr. C or A500 Gr. B (aisc360; default A992 for W shapes, A500 Gr. C for HSS).")),
         valued("section", "GROUP=DESIGNATION",
                QStringLiteral("The section of a group: top, bottom, verticals, diagonals or web (both), as kvrtool sections "
                               "writes it (\"SHS 100x100x5\"); once a group."),
                true),
         valued("out-of-plane", "GROUP=METRES",
                QStringLiteral("The distance between the group's lateral restraints, m: its buckling length out of the "
                               "truss's plane (default the member's length)."),
                true),
         valued("gamma-m0", "X", QStringLiteral("gamma_M0 for a national annex (en1993; default 1.0).")),
         valued("gamma-m1", "X", QStringLiteral("gamma_M1 for a national annex (en1993; default 1.0).")),
         valued("size", "GROUP=FAMILY",
                QStringLiteral("Size the group: the lightest section of the family (SHS, RHS, CHS, IPE, HEA, HEB, HSS, W) for "
                               "which every member holds, re-solved until the choice settles."),
                true),
         {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE"),
          QStringLiteral("With --size: the truss file to write, each member's A (mm2) its group's section's area.")},
         {{QStringLiteral("csv")}, {},
          QStringLiteral("Print member,group,section,length_m,force_kN,resistance_kN,utilisation,governing.")}}};
    return form;
}

int designCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    return runOnFile(designForm(), arguments, out, err, [&](const QCommandLineParser& parser, const TrussFileContent& truss) {
        const Options options(parser);
        try {
            if (options.isSet("size"))
                return size(parser, truss, options, out, err);
            if (options.isSet("output"))
                throw OptionError{QStringLiteral("-o writes the sized truss file: it goes with --size")};
            return design(parser, truss, options, out, err);
        } catch (const OptionError& error) {
            err << "kvrtool: " << error.text << '\n';
        }
        return kvrExit::failed;
    });
}
