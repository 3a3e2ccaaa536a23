// show and check, and the reading of the FILE argument that every reading
// command shares.
#include <QCommandLineParser>

#include "kvrfile/TrussCheck.h"
#include "kvrfile/TrussStructure.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"
#include "tools/kvrtool/TextTable.h"

namespace {

QString single(float value) { return QString::fromStdString(formatSingle(value)); }

QString supportName(float code)
{
    if (code == SupportCode::Pin)
        return QStringLiteral("1 (pin)");
    if (code == SupportCode::Roller)
        return QStringLiteral("2 (roller)");
    return code == 0.0f ? QStringLiteral("-") : single(code);
}

void showSize(const TrussFileContent& t, QTextStream& out)
{
    out << "counts: noMax " << t.noMax << ", noNodes " << t.noNodes << ", noMembers " << t.noMembers << '\n';
    out << "size: " << t.size << " bytes";
    if (t.expectedSize == 0)
        out << "; negative counts call for no layout\n";
    else if (t.size == t.expectedSize)
        out << ", as the counts call for\n";
    else
        out << "; the counts call for " << t.expectedSize << '\n';
}

void showTables(const TrussFileContent& t, QTextStream& out)
{
    const auto nodeLine = [&](const QStringList& cells) { out << tableLine(cells, {6, 14, 14, 14}); };
    out << "\nnodes\n";
    nodeLine({QStringLiteral("node"), QStringLiteral("x (m)"), QStringLiteral("y (m)"), QStringLiteral("load (kN)"),
              QStringLiteral("support")});
    for (int n = 1; n <= t.noNodes; ++n)
        nodeLine({QString::number(n), single(t.node(n, NodeColumn::X)), single(t.node(n, NodeColumn::Y)),
                  single(t.node(n, NodeColumn::Load)), supportName(t.node(n, NodeColumn::Support))});

    const auto memberLine = [&](const QStringList& cells) { out << tableLine(cells, {6, 6, 6, 12, 12}); };
    out << "\nmembers\n";
    memberLine({QStringLiteral("member"), QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("E (kN/mm2)"),
                QStringLiteral("A (mm2)"), QStringLiteral("group")});
    for (int m = 1; m <= t.noMembers; ++m)
        memberLine({QString::number(m), single(t.member(m, MemberColumn::First)), single(t.member(m, MemberColumn::Second)),
                    single(t.member(m, MemberColumn::E)), single(t.member(m, MemberColumn::A)),
                    QString::fromLatin1(groupName(groupOf(t, m)))});
}

void showCsv(const TrussFileContent& t, QTextStream& out)
{
    out << "node,x,y,load,support\n";
    for (int n = 1; n <= t.noNodes; ++n)
        out << n << ',' << single(t.node(n, NodeColumn::X)) << ',' << single(t.node(n, NodeColumn::Y)) << ','
            << single(t.node(n, NodeColumn::Load)) << ',' << single(t.node(n, NodeColumn::Support)) << '\n';
    out << "\nmember,first,second,E,A,group\n";
    for (int m = 1; m <= t.noMembers; ++m)
        out << m << ',' << single(t.member(m, MemberColumn::First)) << ',' << single(t.member(m, MemberColumn::Second))
            << ',' << single(t.member(m, MemberColumn::E)) << ',' << single(t.member(m, MemberColumn::A)) << ','
            << groupName(groupOf(t, m)) << '\n';
}

std::optional<TrussFileContent> readFileArgument(const QStringList& positional, QTextStream& err)
{
    if (positional.size() != 1) {
        err << "kvrtool: give exactly one truss file\n";
        return std::nullopt;
    }
    const TrussFileRead read = readTrussFile(positional[0].toStdString());
    if (!read.content) {
        err << "kvrtool: " << QString::fromStdString(read.error) << '\n';
        return std::nullopt;
    }
    return read.content;
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

bool hasTables(const TrussFileContent& truss, QTextStream& err)
{
    if (truss.hasTables)
        return true;
    err << "kvrtool: the tables cannot be read: the file does not hold what its counts call for\n";
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
        if (!truss.hasTables) {
            showSize(truss, err);
            hasTables(truss, err);
            return kvrExit::failed;
        }
        if (parser.isSet(QStringLiteral("csv"))) {
            showCsv(truss, out);
        } else {
            showSize(truss, out);
            showTables(truss, out);
        }
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
        for (const Finding& finding : report.findings)
            out << QString::fromStdString(finding.where) << ": " << QString::fromStdString(finding.what) << '\n';
        for (const std::string& line : report.statics)
            out << QString::fromStdString(line) << '\n';
        if (!report.findings.empty()) {
            out << report.findings.size() << (report.findings.size() == 1 ? " finding\n" : " findings\n");
            return kvrExit::failed;
        }
        out << "consistent\n";
        return kvrExit::ok;
    });
}
