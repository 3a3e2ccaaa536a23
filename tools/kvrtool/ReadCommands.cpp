// show, check and draw: the commands that read a truss file.
#include <QCommandLineParser>
#include <QFile>
#include <QBuffer>

#include "kvrfile/TrussCheck.h"
#include "kvrfile/TrussStructure.h"
#include "savefile/AtomicSave.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"
#include "tools/kvrtool/TrussDrawing.h"

namespace {

QString single(float value) { return QString::fromStdString(formatSingle(value)); }

bool parse(QCommandLineParser& parser, const QStringList& arguments, QTextStream& err)
{
    if (parser.parse(arguments))
        return true;
    err << "kvrtool: " << parser.errorText() << '\n';
    return false;
}

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

// One line of a table: each cell right-aligned to its width, the last one
// left-aligned after two blanks.
QString tableLine(const QStringList& cells, std::initializer_list<int> widths)
{
    QStringList aligned;
    auto width = widths.begin();
    for (qsizetype i = 0; i + 1 < cells.size(); ++i, ++width)
        aligned << cells[i].rightJustified(*width);
    return aligned.join(u' ') + QStringLiteral("  ") + cells.constLast() + u'\n';
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

// The picture, whole, through the one save routine of every output file.
int writePicture(const QString& path, const QByteArray& bytes, QTextStream& out, QTextStream& err)
{
    if (const std::optional<atomicSave::Failure> failure = atomicSave::save(path, bytes)) {
        err << "kvrtool: cannot write " << path << ": " << failure->description << '\n';
        return kvrExit::notWritten;
    }
    out << "wrote " << path << '\n';
    return kvrExit::ok;
}

}  // namespace

std::optional<TrussFileContent> readFileArgument(const QStringList& positional, QTextStream& err)
{
    if (positional.size() != 1) {
        err << "kvrtool: give exactly one truss file\n";
        return std::nullopt;
    }
    const TrussFileRead read = readTrussFile(QFile::encodeName(positional[0]).toStdString());
    if (!read.content) {
        err << "kvrtool: " << QString::fromStdString(read.error) << '\n';
        return std::nullopt;
    }
    return read.content;
}

int showCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("csv"), QStringLiteral("Print the two tables as CSV.")});
    if (!parse(parser, arguments, err))
        return kvrExit::failed;
    const std::optional<TrussFileContent> truss = readFileArgument(parser.positionalArguments(), err);
    if (!truss)
        return kvrExit::cannotRead;
    if (!truss->hasTables) {
        showSize(*truss, err);
        err << "kvrtool: the tables cannot be read: the file does not hold what its counts call for\n";
        return kvrExit::failed;
    }
    if (parser.isSet(QStringLiteral("csv"))) {
        showCsv(*truss, out);
    } else {
        showSize(*truss, out);
        showTables(*truss, out);
    }
    return kvrExit::ok;
}

int checkCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    if (!parse(parser, arguments, err))
        return kvrExit::failed;
    const std::optional<TrussFileContent> truss = readFileArgument(parser.positionalArguments(), err);
    if (!truss)
        return kvrExit::cannotRead;
    const TrussCheckReport report = checkTruss(*truss);
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
}

int drawCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The picture to write."),
                      QStringLiteral("PICTURE")});
    if (!parse(parser, arguments, err))
        return kvrExit::failed;
    const QString picture = parser.value(QStringLiteral("output"));
    const bool png = picture.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    if (picture.isEmpty() || (!png && !picture.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))) {
        err << "kvrtool: -o: name a picture ending in .svg or .png\n";
        return kvrExit::failed;
    }
    const std::optional<TrussFileContent> truss = readFileArgument(parser.positionalArguments(), err);
    if (!truss)
        return kvrExit::cannotRead;
    if (!truss->hasTables) {
        err << "kvrtool: the tables cannot be read: the file does not hold what its counts call for\n";
        return kvrExit::failed;
    }

    const TrussDrawing drawing = drawTruss(*truss);
    QByteArray bytes;
    if (png) {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly) || !toImage(drawing).save(&buffer, "PNG")) {
            err << "kvrtool: cannot write " << picture << ": the PNG encoder failed\n";
            return kvrExit::notWritten;
        }
    } else {
        bytes = toSvg(drawing).toUtf8();
    }
    return writePicture(picture, bytes, out, err);
}
