// generate: the truss file that the window writes, from options.
// The options are read, and their mistakes worded, by truss/TrussWords.
#include <QCommandLineParser>

#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"
#include "truss/TrussWords.h"
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

OptionForm valued(const char* name, const QString& description)
{
    return {{QString::fromLatin1(name)}, QStringLiteral("VALUE"), description};
}

}  // namespace

const CommandForm& generateForm()
{
    static const CommandForm form{
        QStringLiteral("generate"), QStringLiteral("Write the truss file of a Pratt truss, as the window does, or of another type."),
        QStringLiteral("[--type NAME] --span L --height H --panels N --area A --e E (--udl W | --point-load P) -o FILE.kvr"),
        {{{QStringLiteral("type")}, QStringLiteral("NAME"),
          QStringLiteral("The truss type: %1; pratt when not given. The README draws each.").arg(trussTypeNames())},
         valued("span", QStringLiteral("Span L in m, greater than 0.")),
         valued("height", QStringLiteral("Height h in m, greater than 0: the depth of a parallel-chord truss, the rise at mid-span of a roof truss (pratt-roof to fan).")),
         valued("panels", QStringLiteral("Number of panels (of the top chord, for a roof truss); 7.5 is rounded to 8, 6.5 to 6, as in the window: %1. "
                                         "A type of one layout needs none.")
                              .arg(panelCountsOfTypes())),
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

    const TrussWords words = givenValues(generateForm(), parser);
    std::optional<QString> refusal = incompleteTruss(words);
    if (!refusal && !parser.positionalArguments().isEmpty())
        refusal = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst());
    const std::variant<TrussParameters, QString> parameters = refusal ? *refusal : trussParametersOf(words);
    if (const QString* mistake = std::get_if<QString>(&parameters))
        return failedBecause(err, *mistake);
    StreamSink sink(err);
    clsTruss truss(sink);
    truss.setParameters(std::get<TrussParameters>(parameters));
    truss.setOpenfile(parser.value(QStringLiteral("output")));
    try {
        if (const std::optional<atomicSave::Failure> failure = truss.saveFile()) {
            err << "kvrtool: Error while saving file " << truss.openfile() << ": " << atomicSave::describe(*failure) << '\n';
            return kvrExit::notWritten;
        }
    } catch (const TrussBuildError& error) {
        return failedBecause(err, buildRefusal(error, std::get<TrussParameters>(parameters)));
    }
    out << "wrote " << truss.openfile() << ": " << truss.noNodes() << " nodes, " << truss.noMembers() << " members\n";
    return kvrExit::ok;
}
