#include "IcoFile.h"

#include <QtEndian>

namespace {

void append16(QByteArray& out, quint16 value)
{
    const quint16 little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void append32(QByteArray& out, quint32 value)
{
    const quint32 little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

}  // namespace

QByteArray icoFile(const QList<IcoImage>& images)
{
    constexpr int headerSize = 6;
    constexpr int entrySize = 16;
    QByteArray out;
    append16(out, 0);  // reserved
    append16(out, 1);  // an icon, not a cursor
    append16(out, static_cast<quint16>(images.size()));
    quint32 offset = headerSize + entrySize * static_cast<quint32>(images.size());
    for (const IcoImage& image : images) {
        const char side = static_cast<char>(image.size >= 256 ? 0 : image.size);  // 0 stands for 256
        out.append(side).append(side);
        out.append('\0').append('\0');  // no palette; reserved
        append16(out, 1);               // colour planes
        append16(out, 32);              // bits per pixel
        append32(out, static_cast<quint32>(image.png.size()));
        append32(out, offset);
        offset += static_cast<quint32>(image.png.size());
    }
    for (const IcoImage& image : images)
        out.append(image.png);
    return out;
}
