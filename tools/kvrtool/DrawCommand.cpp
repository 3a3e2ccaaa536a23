// draw: the truss of a file to scale, as an SVG or PNG picture.
#include <QBuffer>
#include <QCommandLineParser>

#include "analysis/TrussSolver.h"
#include "drawing/TrussDrawing.h"
#include "savefile/AtomicSave.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

namespace {

// The member forces, or none when the truss cannot be solved (the refusal
// reported to err).
std::optional<std::vector<double>> forcesOf(const TrussFileContent& truss, QTextStream& err)
{
    const std::optional<TrussSolution> solution = solvedOrRefused(truss, err);
    if (!solution)
        return std::nullopt;
    std::vector<double> forces;
    forces.reserve(solution->members.size());
    for (const MemberResult& member : solution->members)
        forces.push_back(member.force);
    return forces;
}

QByteArray encoded(const TrussDrawing& drawing, bool png)
{
    if (!png)
        return toSvg(drawing).toUtf8();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!toImage(drawing).save(&buffer, "PNG"))
        return {};
    return bytes;
}

// The one place a picture reaches the disk, through the save routine of
// every output file: the earlier picture stays as it was unless the new one
// is written whole.
int writePicture(const QString& path, const QByteArray& bytes, QTextStream& out, QTextStream& err)
{
    if (bytes.isEmpty()) {
        err << "kvrtool: cannot write " << path << ": the picture could not be encoded\n";
        return kvrExit::notWritten;
    }
    if (const std::optional<atomicSave::Failure> failure = atomicSave::save(path, bytes)) {
        err << "kvrtool: cannot write " << path << ": " << failure->description << '\n';
        return kvrExit::notWritten;
    }
    out << "wrote " << path << '\n';
    return kvrExit::ok;
}

}  // namespace

const CommandForm& drawForm()
{
    static const CommandForm form{
        QStringLiteral("draw"), QStringLiteral("Draw the truss of a file to scale, as an SVG or PNG picture."),
        QStringLiteral("FILE -o PICTURE.svg|PICTURE.png [--forces]"),
        {{{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("PICTURE"),
          QStringLiteral("The picture to write, .svg or .png; sizes in pt, one pixel each in a PNG.")},
         {{QStringLiteral("forces")}, {},
          QStringLiteral("Colour the members by the sign of their force, tension or compression, and label them with it in kN.")}}};
    return form;
}

int drawCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    return runOnFile(drawForm(), arguments, out, err, [&](const QCommandLineParser& parser, const TrussFileContent& truss) {
        const QString picture = parser.value(QStringLiteral("output"));
        const bool png = picture.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
        if (picture.isEmpty() || (!png && !picture.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))) {
            err << "kvrtool: -o: name a picture ending in .svg or .png\n";
            return kvrExit::failed;
        }
        if (!hasTables(truss, err))
            return kvrExit::failed;
        std::optional<std::vector<double>> forces = std::vector<double>{};
        if (parser.isSet(QStringLiteral("forces")) && !(forces = forcesOf(truss, err)))
            return kvrExit::failed;
        return writePicture(picture, encoded(drawTruss(truss, *forces), png), out, err);
    });
}
