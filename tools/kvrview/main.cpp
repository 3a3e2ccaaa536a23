// kvrview [FILE]: the viewer of truss files.
#include <QApplication>
#include <QCommandLineParser>

#include "savefile/AtomicSave.h"
#include "version/Version.h"
#include "viewer/ViewerWindow.h"

int main(int argc, char* argv[])
{
    atomicSave::reportFileSizeLimitAsFailure();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvrview"));
    QApplication::setApplicationVersion(QString::fromLatin1(ambrellVersion::text));
    QApplication::setDesktopFileName(QStringLiteral("kvrview"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows a truss file drawn with its forces, its results and its findings."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The truss file to show."), QStringLiteral("[FILE]"));
    parser.process(application);

    ViewerWindow window;
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.openFile(parser.positionalArguments().constFirst());
    return QApplication::exec();
}
