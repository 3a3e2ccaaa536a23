// Renders one SVG drawing to square PNGs at the given sizes, at build time:
//   iconrender DRAWING.svg OUTPUT_DIRECTORY SIZE...
// writes OUTPUT_DIRECTORY/NAME-SIZE.png for each size, NAME the drawing's
// base name, and NAME.ico with the sizes up to 256 for Windows. Exit status 1 on a drawing it cannot read or a file it cannot
// write.
#include <cstdio>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>

#include "IcoFile.h"

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "iconrender: %s\n", qPrintable(message));
    return 1;
}

QImage render(QSvgRenderer& drawing, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.render(&painter);
    return image;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

int main(int argc, char* argv[])
{
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4)
        return fail(QStringLiteral("usage: iconrender DRAWING.svg OUTPUT_DIRECTORY SIZE..."));

    QSvgRenderer drawing(arguments[1]);
    if (!drawing.isValid())
        return fail(QStringLiteral("cannot read the drawing %1").arg(arguments[1]));
    const QDir output(arguments[2]);
    if (!output.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("cannot make the directory %1").arg(arguments[2]));

    const QString name = QFileInfo(arguments[1]).completeBaseName();
    QList<IcoImage> icoImages;
    for (const QString& sizeText : arguments.mid(3)) {
        bool isNumber = false;
        const int size = sizeText.toInt(&isNumber);
        if (!isNumber || size < 1 || size > 4096)
            return fail(QStringLiteral("not a size in pixels: %1").arg(sizeText));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        const QString path = output.filePath(QStringLiteral("%1-%2.png").arg(name).arg(size));
        if (!render(drawing, size).save(&buffer, "PNG") || !writeFile(path, png))
            return fail(QStringLiteral("cannot write %1").arg(path));
        if (size <= 256)
            icoImages.append({size, png});
    }
    const QString icoPath = output.filePath(name + QStringLiteral(".ico"));
    if (!writeFile(icoPath, icoFile(icoImages)))
        return fail(QStringLiteral("cannot write %1").arg(icoPath));
    return 0;
}
