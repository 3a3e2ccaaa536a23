#include <cerrno>
#include <clocale>
#include <cstring>
#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>

#include "console/ProgramArguments.h"
#include "console/StandardOutput.h"
#include "console/Utf8Console.h"
#include "savefile/AtomicSave.h"
#include "tools/kvrtool/Kvrtool.h"
#include "version/Version.h"

namespace {

// What a command printed is its result: when it could not all be written
// (a full disk, a device error), the command failed and says why.
int withOutputWritten(int status, QTextStream& out, const StandardOutput& device, QTextStream& err)
{
    out.flush();
    if (out.status() == QTextStream::Ok)
        return status;
    err << "kvrtool: cannot write the standard output: " << std::strerror(device.failure() != 0 ? device.failure() : EIO)
        << '\n';
    return kvrExit::notWritten;
}

// kvrtool says what it has to say itself; the toolkit's own notes (such as
// "QStandardPaths: XDG_RUNTIME_DIR not set") are not for its users.
void dropToolkitMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

int main(int argc, char* argv[])
{
    atomicSave::reportFileSizeLimitAsFailure();
    endQuietlyWhenTheReaderLeaves();
    qInstallMessageHandler(dropToolkitMessages);
    // Only a PNG (named so, or asked for by --size) and the calculation pages
    // need fonts. They are made on the offscreen platform, so no display is
    // needed; on Windows on the system's own platform, which needs none either
    // and has the system's fonts, which the offscreen one lacks there.
    bool fonts = argc > 1 && QByteArray(argv[1]) == "report";
    for (int i = 1; i < argc; ++i)
        fonts = fonts || QByteArray(argv[i]).toLower().endsWith(".png") || QByteArray(argv[i]).startsWith("--size");
#ifdef Q_OS_UNIX
    int toolkitArgc = 1;  // the toolkit gets the program's name only: every argument is kvrtool's
#else
    int toolkitArgc = argc;  // where the toolkit reads the arguments from the system's wide text
#endif
    std::unique_ptr<QCoreApplication> application;
    if (fonts) {
#ifndef Q_OS_WIN
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        application = std::make_unique<QGuiApplication>(toolkitArgc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(toolkitArgc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("kvrtool"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ambrellVersion::text));
    // Numbers in and out are in the C locale, whatever the user's is.
    std::setlocale(LC_NUMERIC, "C");

    const Utf8Console console;
    StandardOutput standardOutput;
    QTextStream out(&standardOutput);
    QTextStream err(stderr);
    const int status = runKvrtool(programArguments(argc, argv), out, err);
    return withOutputWritten(status, out, standardOutput, err);
}
