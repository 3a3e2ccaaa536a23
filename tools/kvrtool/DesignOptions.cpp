#include "tools/kvrtool/DesignOptions.h"

#include <QDir>

#include "loads/DesignFileReader.h"

namespace {

OptionForm valued(const char* name, const char* valueName, const QString& description, bool repeatable = false)
{
    return {{QLatin1String(name)}, QLatin1String(valueName), description, repeatable};
}

}  // namespace

std::vector<OptionForm> designOptionForms()
{
    return {valued("code", "CODE", QStringLiteral("en1993 (EN 1993-1-1) or aisc360 (AISC 360-16 LRFD).")),
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
            valued("gamma-m1", "X", QStringLiteral("gamma_M1 for a national annex (en1993; default 1.0)."))};
}

DesignWords designWordsOf(const QCommandLineParser& parser)
{
    // Only the options given are asked for: the parser warns of any it does not have.
    const QStringList given = parser.optionNames();
    const auto one = [&](const char* name) {
        return given.contains(QLatin1String(name)) ? std::optional<QString>(parser.value(QLatin1String(name))) : std::nullopt;
    };
    const auto all = [&](const char* name) {
        return given.contains(QLatin1String(name)) ? parser.values(QLatin1String(name)) : QStringList();
    };
    return {one("code"),    one("steel"),        one("gamma-m0"), one("gamma-m1"), one("deflection-limit"),
            all("section"), all("out-of-plane"), all("size")};
}

OptionForm designFileOption(const QString& description) { return valued("design", "FILE", description); }

std::optional<DesignFile> designFileOf(const QCommandLineParser& parser, QTextStream& err, bool& refused)
{
    refused = false;
    const QStringList given = parser.optionNames();
    if (!given.contains(QLatin1String("design")))
        return std::nullopt;
    // The file gives the design: an option that would say otherwise is refused.
    for (const char* option : {"code", "steel", "section", "out-of-plane", "gamma-m0", "gamma-m1", "deflection-limit", "size"})
        if (given.contains(QLatin1String(option))) {
            err << "kvrtool: --" << option << ": the design file of --design gives the design; leave this option out\n";
            refused = true;
            return std::nullopt;
        }
    const QString path = QDir::toNativeSeparators(parser.value(QStringLiteral("design")));
    Result<DesignFile> design = readDesignFile(std::filesystem::path(path.toStdU16String()));
    if (!design.value) {
        err << "kvrtool: " << QString::fromStdString(design.error) << '\n';
        refused = true;
    }
    return std::move(design.value);
}
