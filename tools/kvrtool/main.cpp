#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIODevice>

#include "savefile/AtomicSave.h"
#include "savefile/FileName.h"
#include "tools/kvrtool/Kvrtool.h"
#include "tools/kvrtool/Utf8Console.h"
#include "version/Version.h"

namespace {

// The standard output, each piece flushed as it is written, keeping the
// errno of the first write that failed: the system's own words for it.
class StandardOutput : public QIODevice {
public:
    StandardOutput() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    int failure() const { return failure_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        errno = 0;
        if (std::fwrite(data, 1, static_cast<size_t>(size), stdout) == static_cast<size_t>(size) && std::fflush(stdout) == 0)
            return size;
        failure_ = errno != 0 ? errno : EIO;
        return -1;
    }

private:
    int failure_ = 0;
};

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

// A reader that leaves early (kvrtool show big.kvr | head -c1) ends kvrtool
// quietly, as it ends the shell's own tools: by SIGPIPE, even when the
// parent had it ignored or blocked.
void endQuietlyWhenTheReaderLeaves()
{
#ifdef Q_OS_UNIX
    std::signal(SIGPIPE, SIG_DFL);
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    sigprocmask(SIG_UNBLOCK, &pipe, nullptr);
#endif
}

// kvrtool says what it has to say itself; the toolkit's own notes (such as
// "QStandardPaths: XDG_RUNTIME_DIR not set") are not for its users.
void dropToolkitMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// The arguments as given: file names are bytes, not always UTF-8.
QStringList argumentsOf(int argc, char* argv[])
{
#ifdef Q_OS_UNIX
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fileName::fromBytes(argv[i]);
    return arguments;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return QCoreApplication::arguments();
#endif
}

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
    const int status = runKvrtool(argumentsOf(argc, argv), out, err);
    return withOutputWritten(status, out, standardOutput, err);
}
