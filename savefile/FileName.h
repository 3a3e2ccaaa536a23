#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// A file name on Linux and other Unix systems is bytes, not always valid UTF-8. It travels through
// the programs as a QString in which each byte that is no part of a valid
// UTF-8 sequence stands as the lone surrogate U+DC80..U+DCFF, which decoded
// text never holds (the convention Python calls surrogateescape), so that the
// name reaches the system again byte for byte. Valid UTF-8 reads and comes
// back as QFile::decodeName and QFile::encodeName have it; a message that
// shows such a name shows each stray byte as U+FFFD. Elsewhere this is
// QFile::decodeName and QFile::encodeName.
namespace fileName {

QString fromBytes(QByteArrayView bytes);
QByteArray toBytes(const QString& name);

}  // namespace fileName
