#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>

#include "savefile/AtomicSave.h"
#include "tools/kvrtool/Kvrtool.h"
#include "tools/kvrtool/Utf8Console.h"
#include "version/Version.h"

namespace {

// What a command printed is its result: when it could not all be written
// (a full disk, a closed pipe), the command failed.
int withOutputWritten(int status, QTextStream& out, QTextStream& err)
{
    errno = 0;
    out.flush();
    if (out.status() == QTextStream::Ok && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    err << "kvrtool: cannot write the standard output: " << std::strerror(errno != 0 ? errno : EIO) << '\n';
    return kvrExit::notWritten;
}

}  // namespace

int main(int argc, char* argv[])
{
    atomicSave::reportFileSizeLimitAsFailure();
    // Only drawing a PNG needs fonts; it runs on the offscreen platform, so
    // no display is needed. Windows' own platform needs none either and has
    // the system's fonts, which the offscreen one lacks there.
    bool png = false;
    for (int i = 1; i < argc; ++i)
        png = png || QByteArray(argv[i]).toLower().endsWith(".png");
    std::unique_ptr<QCoreApplication> application;
    if (png) {
#ifndef Q_OS_WIN
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("kvrtool"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ambrellVersion::text));
    // Numbers in and out are in the C locale, whatever the user's is.
    std::setlocale(LC_NUMERIC, "C");

    const Utf8Console console;
    QTextStream out(stdout);
    QTextStream err(stderr);
    return withOutputWritten(runKvrtool(QCoreApplication::arguments(), out, err), out, err);
}
