#include <clocale>
#include <cstdio>
#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>

#include "tools/kvrtool/Kvrtool.h"
#include "version/Version.h"

int main(int argc, char* argv[])
{
    // Only drawing a PNG needs fonts; it runs on the offscreen platform, so
    // no display is needed.
    bool png = false;
    for (int i = 1; i < argc; ++i)
        png = png || QByteArray(argv[i]).toLower().endsWith(".png");
    std::unique_ptr<QCoreApplication> application;
    if (png) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("kvrtool"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ambrellVersion::text));
    // Numbers in and out are in the C locale, whatever the user's is.
    std::setlocale(LC_NUMERIC, "C");

    QTextStream out(stdout);
    QTextStream err(stderr);
    return runKvrtool(QCoreApplication::arguments(), out, err);
}
