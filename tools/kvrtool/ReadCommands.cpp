// show and check, the reading of the FILE argument that every reading
// command shares, and the writing of what a command makes.
#include <QCommandLineParser>

#include "report/FileText.h"
#include "savefile/AtomicSave.h"
#include "savefile/FileName.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

namespace {

std::optional<TrussFileContent> readFileArgument(const QStringList& positional, QTextStream& err)
{
    if (positional.size() != 1) {
        err << "kvrtool: give exactly one truss file\n";
        return std::nullopt;
    }
    const TrussFileRead read = readTrussFile(fileName::toBytes(positional[0]).toStdString());
    if (!read.value) {
        err << "kvrtool: " << QString::fromStdString(read.error) << '\n';
        return std::nullopt;
    }
    return read.value;
}

}  // namespace

std::variant<TrussFileContent, int> parseAndRead(const CommandForm& form, QCommandLineParser& parser,
                                                 const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (const std::optional<int> done = parseCommand(form, parser, arguments, out, err))
        return *done;
    std::optional<TrussFileContent> truss = readFileArgument(parser.positionalArguments(), err);
    if (!truss)
        return kvrExit::cannotRead;
    return std::move(*truss);
}

bool writeOrReport(const QString& path, const QByteArray& bytes, QTextStream& err, const char* what)
{
    if (bytes.isEmpty()) {
        err << "kvrtool: cannot write " << path << ": " << what << " could not be made\n";
        return false;
    }
    const atomicSave::Result saved = atomicSave::save(path, bytes);
    if (const atomicSave::Failure* failure = std::get_if<atomicSave::Failure>(&saved)) {
        err << "kvrtool: cannot write " << path << ": " << atomicSave::describe(*failure) << '\n';
        return false;
    }
    return true;
}

int failedBecause(QTextStream& err, const QString& why)
{
    err << "kvrtool: " << why << '\n';
    return kvrExit::failed;
}

int failedBecause(QTextStream& err, const std::string& why) { return failedBecause(err, QString::fromStdString(why)); }

bool hasTables(const TrussFileContent& truss, QTextStream& err)
{
    if (truss.hasTables())
        return true;
    err << "kvrtool: " << noTablesText() << '\n';
    return false;
}

const CommandForm& showForm()
{
    static const CommandForm form{
        QStringLiteral("show"), QStringLiteral("Show a truss file: its counts, size, node table and member table."),
        QStringLiteral("FILE [--csv]"),
        {{{QStringLiteral("csv")}, {}, QStringLiteral("Print the two tables as CSV: x and y in m, load in kN, E in kN/mm2, A in mm2.")}}};
    return form;
}

int showCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    return runOnFile(showForm(), arguments, out, err, [&](const QCommandLineParser& parser, const TrussFileContent& truss) {
        if (!truss.hasTables()) {
            err << fileSizeText(truss);
            hasTables(truss, err);
            return kvrExit::failed;
        }
        if (parser.isSet(QStringLiteral("csv")))
            out << fileCsv(truss);
        else
            out << fileSizeText(truss) << fileTablesText(truss);
        return kvrExit::ok;
    });
}

const CommandForm& checkForm()
{
    static const CommandForm form{
        QStringLiteral("check"),
        QStringLiteral("Check a truss file's consistency; sum its node loads (kN) and support reactions (kN)."),
        QStringLiteral("FILE"), {}};
    return form;
}

int checkCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    return runOnFile(checkForm(), arguments, out, err, [&](const QCommandLineParser&, const TrussFileContent& truss) {
        const TrussCheckReport report = checkTruss(truss);
        out << checkText(truss, report);
        return report.findings.empty() ? kvrExit::ok : kvrExit::failed;
    });
}
