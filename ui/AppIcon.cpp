#include "ui/AppIcon.h"

#include <QDirIterator>

QIcon ambrellIcon()
{
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("ambrell-*.png")}, QDir::Files);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    return icon;
}
