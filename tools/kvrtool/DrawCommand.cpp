// draw: the truss of a file to scale, as an SVG or PNG picture, or as DXF for CAD.
#include <algorithm>

#include <QCommandLineParser>

#include "analysis/TrussSolver.h"
#include "drawing/TrussDrawing.h"
#include "drawing/TrussDxf.h"
#include "report/TrussStudy.h"
#include "tools/kvrtool/KvrCommands.h"
#include "tools/kvrtool/Kvrtool.h"

namespace {

constexpr int maxPictureSide = 4096;  // px: a thumbnail, or a picture for a page

// size: the PNG's longer side in pixels; 0 for one pixel a point.
QByteArray encoded(const TrussDrawing& drawing, bool png, int size)
{
    if (!png)
        return toSvg(drawing).toUtf8();
    return toPng(drawing, size > 0 ? size / std::max(drawing.size.width(), drawing.size.height()) : 1.0);
}

// The earlier picture stays as it was unless the new one is written whole.
int writePicture(const QString& path, const QByteArray& bytes, QTextStream& out, QTextStream& err)
{
    if (!writeOrReport(path, bytes, err, "the picture"))
        return kvrExit::notWritten;
    out << "wrote " << path << '\n';
    return kvrExit::ok;
}

}  // namespace

const CommandForm& drawForm()
{
    static const CommandForm form{
        QStringLiteral("draw"), QStringLiteral("Draw the truss of a file to scale, as an SVG or PNG picture, or as a DXF drawing."),
        QStringLiteral("FILE -o PICTURE.svg|PICTURE.png|PICTURE.dxf [--forces] [--size N]"),
        {{{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("PICTURE"),
          QStringLiteral("The picture to write: .svg or .png, sizes in pt, one pixel each in a PNG; .dxf, in m, a layer for "
                         "each member group.")},
         {{QStringLiteral("forces")}, {},
          QStringLiteral("Colour the members by the sign of their force, tension or compression, and label them with it in kN.")},
         {{QStringLiteral("size")}, QStringLiteral("N"),
          QStringLiteral("A PNG N pixels on its longer side (1 to 4096), as for a thumbnail; a PNG whatever the name of PICTURE, "
                         "unless it ends in .svg or .dxf.")}}};
    return form;
}

int drawCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    return runOnFile(drawForm(), arguments, out, err, [&](const QCommandLineParser& parser, const TrussFileContent& truss) {
        const QString picture = parser.value(QStringLiteral("output"));
        // With --size the picture is a PNG whatever its name: a file
        // manager names its thumbnails as it likes.
        const bool svg = picture.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
        const bool dxf = picture.endsWith(QLatin1String(".dxf"), Qt::CaseInsensitive);
        const bool png = picture.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)
                         || (!svg && !dxf && !picture.isEmpty() && parser.isSet(QStringLiteral("size")));
        if (picture.isEmpty() || (!png && !svg && !dxf))
            return failedBecause(err, QStringLiteral("-o: name a picture ending in .svg, .png or .dxf"));
        int size = 0;
        if (parser.isSet(QStringLiteral("size"))) {
            bool whole = false;
            size = parser.value(QStringLiteral("size")).toInt(&whole);
            if (!png || !whole || size < 1 || size > maxPictureSide)
                return failedBecause(
                    err, QStringLiteral("--size: give a whole number of pixels from 1 to %1, for a .png").arg(maxPictureSide));
        }
        if (!hasTables(truss, err))
            return kvrExit::failed;
        TrussStudy study{truss, {}, std::nullopt, {}};
        if (parser.isSet(QStringLiteral("forces")) && !(study.solution = solvedOrRefused(truss, err)))
            return kvrExit::failed;
        return writePicture(picture, dxf ? toDxf(truss, study.forces()) : encoded(drawTruss(truss, study.forces()), png, size),
                            out, err);
    });
}
