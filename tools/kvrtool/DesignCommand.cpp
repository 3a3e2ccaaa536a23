// design: whether every member of a truss holds, to EN 1993-1-1 or AISC
// 360-16, and the sizing of its groups from a family of sections. The words
// and tables are report/DesignText's; here the options are read.
#include "design/Sizing.h"
#include "kvrfile/TrussFileEncoder.h"
#include "loads/DesignFileUse.h"
#include "loads/GeneratedCombinations.h"
#include "report/DesignText.h"
#include "report/LoadsText.h"
#include "tools/kvrtool/DesignOptions.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

namespace {

int design(bool csv, const TrussFileContent& truss, const DesignRequest& request, QTextStream& out, QTextStream& err)
{
    const std::optional<TrussSolution> solution = solvedOrRefused(truss, err);
    if (!solution)
        return kvrExit::failed;
    const Result<TrussDesign> result = designTruss(truss, *solution, request.sections, request.settings);
    if (!result.value)
        return failedBecause(err, result.error);
    if (csv)
        designText::csv(out, *solution, *result.value);
    else
        designText::report(out, truss, *solution, *result.value);
    return result.value->allHold() ? kvrExit::ok : kvrExit::notHolding;
}

int size(bool csv, const TrussFileContent& truss, const AskedDesign& choice, const QString& path, QTextStream& out,
         QTextStream& err)
{
    if (!solvedOrRefused(truss, err))
        return kvrExit::failed;
    const Result<Sizing> result =
        sizeTruss(truss, {.candidates = choice.families, .fixed = choice.request.sections, .settings = choice.request.settings});
    if (!result.value)
        return failedBecause(err, result.error);
    const Sizing& sizing = *result.value;
    if (sizing.outcome != Sizing::Outcome::Settled) {
        err << "kvrtool: " << designText::sizingFailure(sizing, choice.familyNames) << "; nothing written\n";
        return sizing.outcome == Sizing::Outcome::NoSectionHolds ? kvrExit::noSectionHolds : kvrExit::notHolding;
    }
    const std::vector<std::uint8_t> bytes = encodeTrussFile(sizing.truss);
    if (!writeOrReport(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())), err))
        return kvrExit::notWritten;
    if (csv)
        designText::csv(out, *sizing.solution, *sizing.design);
    else
        out << designText::sizingReport(sizing) << "wrote " << path << ": each member's A its group's section's area\n";
    return sizing.design->allHold() ? kvrExit::ok : kvrExit::notHolding;
}

// For the envelope of the design file's strength combinations.
int designEnvelope(bool csv, const TrussFileContent& truss, const DesignFile& file, QTextStream& out, QTextStream& err)
{
    const Result<EnvelopeStudy> study = designForEnvelope(file, truss);
    if (!study.value)
        return failedBecause(err, study.error);
    const EnvelopeDesign& envelope = study.value->envelope;
    const designText::MemberCombinations names = loadsText::governingNames(envelope);
    if (csv)
        designText::csv(out, envelope.solution, envelope.design, names);
    else
        designText::report(out, truss, envelope.solution, envelope.design, names);
    return envelope.design.allHold() ? kvrExit::ok : kvrExit::notHolding;
}

}  // namespace

const CommandForm& designForm()
{
    static const CommandForm form{
        QStringLiteral("design"),
        QStringLiteral(
            "Check every member of a Pratt truss file to EN 1993-1-1 or AISC 360-16 (LRFD) in axial force, or size "
            "its groups. Exit status 3: a member does not hold or is not checked; 4: no section of a family carries its group."),
        QStringLiteral(
            "FILE --code en1993|aisc360 [--steel GRADE] --section GROUP=DESIGNATION... [--out-of-plane GROUP=METRES...] "
            "[--gamma-m0 X] [--gamma-m1 X] [--csv]\n       kvrtool design FILE --code en1993|aisc360 --size GROUP=FAMILY... "
            "[--section GROUP=DESIGNATION...] -o SIZED.kvr [--csv]\n       kvrtool design FILE --design D.toml "
            "[--list-combinations] [--csv]"),
        [] {
            std::vector<OptionForm> options = designOptionForms();
            options.push_back({{QStringLiteral("size")},
                               QStringLiteral("GROUP=FAMILY"),
                               QStringLiteral("Size the group: the lightest section of the family (SHS, RHS, CHS, IPE, HEA, HEB, "
                                              "HSS, W) for which every member holds, re-solved until the choice settles."),
                               true});
            options.push_back(
                {{QStringLiteral("o"), QStringLiteral("output")},
                 QStringLiteral("FILE"),
                 QStringLiteral("With --size: the truss file to write, each member's A (mm2) its group's section's area.")});
            options.push_back(
                {{QStringLiteral("csv")},
                 {},
                 QStringLiteral("Print member,group,section,length_m,force_kN,resistance_kN,utilisation,governing (and "
                                "combination, with --design).")});
            options.push_back(designFileOption(
                QStringLiteral("A design file (TOML) giving the code, steel, sections and load cases: every member checked "
                               "for the strength combination of the cases that governs it, which a column names.")));
            options.push_back({{QStringLiteral("list-combinations")},
                               {},
                               QStringLiteral("With --design: print the combinations the design is for, as --combination "
                                              "of solve reads them.")});
            return options;
        }()};
    return form;
}

int designCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    return runOnFile(designForm(), arguments, out, err, [&](const QCommandLineParser& parser, const TrussFileContent& truss) {
        bool unreadable = false;
        if (const std::optional<DesignFile> file = designFileOf(parser, err, unreadable)) {
            if (parser.isSet(QStringLiteral("output")))
                return failedBecause(err, QStringLiteral("-o writes the sized truss file: it goes with --size"));
            if (!parser.isSet(QStringLiteral("list-combinations")))
                return designEnvelope(parser.isSet(QStringLiteral("csv")), truss, *file, out, err);
            out << loadsText::combinationsList(combinationsOf(*file));
            return kvrExit::ok;
        }
        if (unreadable)
            return kvrExit::failed;
        if (parser.isSet(QStringLiteral("list-combinations")))
            return failedBecause(err, QStringLiteral("--list-combinations: give the design file with --design"));
        const bool sizing = parser.isSet(QStringLiteral("size")), output = parser.isSet(QStringLiteral("output"));
        if (sizing != output)
            return failedBecause(err, sizing ? QStringLiteral("--size writes the sized truss file: give -o FILE")
                                             : QStringLiteral("-o writes the sized truss file: it goes with --size"));
        const Result<AskedDesign> choice = readDesign(designWordsOf(parser));
        if (!choice.value)
            return failedBecause(err, choice.error);
        const bool csv = parser.isSet(QStringLiteral("csv"));
        return sizing ? size(csv, truss, *choice.value, parser.value(QStringLiteral("output")), out, err)
                      : design(csv, truss, choice.value->request, out, err);
    });
}
