#pragma once

#include <QByteArray>
#include <QList>

// A Windows icon file holding PNG images, one per size (1 to 256 pixels,
// square), as Windows Vista and later read them.
struct IcoImage {
    int size;
    QByteArray png;
};

QByteArray icoFile(const QList<IcoImage>& images);
