#include "savefile/FileName.h"

#include <QFile>

namespace fileName {

#ifdef Q_OS_UNIX
namespace {

constexpr char16_t firstEscape = 0xDC80;  // stands for the byte 0x80; 0xDCFF for 0xFF

// The length of the valid UTF-8 sequence at the start of bytes, or 0: no
// overlong forms, no surrogates, nothing beyond U+10FFFF.
qsizetype sequenceLength(QByteArrayView bytes)
{
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() < length || at(1) < low || at(1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (at(i) < 0x80 || at(i) > 0xBF)
            return 0;
    return length;
}

}  // namespace

QString fromBytes(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    qsizetype validFrom = 0, i = 0;
    while (i < bytes.size()) {
        const qsizetype length = sequenceLength(bytes.sliced(i));
        if (length > 0) {
            i += length;
            continue;
        }
        name += QString::fromUtf8(bytes.sliced(validFrom, i - validFrom));
        name += QChar(static_cast<char16_t>(firstEscape + static_cast<unsigned char>(bytes[i]) - 0x80));
        validFrom = ++i;
    }
    name += QString::fromUtf8(bytes.sliced(validFrom));
    return name;
}

QByteArray toBytes(const QString& name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype textFrom = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        const bool escaped = unit >= firstEscape && unit <= 0xDCFF && (i == 0 || !name[i - 1].isHighSurrogate());
        if (!escaped)
            continue;
        bytes += QStringView(name).sliced(textFrom, i - textFrom).toUtf8();
        bytes += static_cast<char>(unit - firstEscape + 0x80);
        textFrom = i + 1;
    }
    bytes += QStringView(name).sliced(textFrom).toUtf8();
    return bytes;
}

#elif defined(Q_OS_WIN)
// Windows names are text; the programs hand them on as UTF-8, which the truss
// file reader opens through the system's wide-character calls.
QString fromBytes(QByteArrayView bytes) { return QString::fromUtf8(bytes); }
QByteArray toBytes(const QString& name) { return name.toUtf8(); }

#else
// Elsewhere names are text, and Qt's own conversion is the system's.
QString fromBytes(QByteArrayView bytes) { return QFile::decodeName(bytes.toByteArray()); }
QByteArray toBytes(const QString& name) { return QFile::encodeName(name); }
#endif

}  // namespace fileName
