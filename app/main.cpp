#include <QApplication>

#include "savefile/AtomicSave.h"
#include "ui/AppIcon.h"
#include "ui/frmMain.h"
#include "version/Version.h"

int main(int argc, char* argv[])
{
    atomicSave::reportFileSizeLimitAsFailure();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ambrell"));
    QApplication::setApplicationVersion(QString::fromLatin1(ambrellVersion::text));
    QApplication::setWindowIcon(ambrellIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("ambrell"));

    frmMain window;
    window.show();
    return QApplication::exec();
}
