#include <QApplication>
#include <QIcon>

#include "ui/frmMain.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ambrell"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/ambrell.xpm")));
    QGuiApplication::setDesktopFileName(QStringLiteral("ambrell"));

    frmMain window;
    window.show();
    return QApplication::exec();
}
