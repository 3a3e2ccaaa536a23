// kvrview's start for the benchmark: the program as kvrview starts it, which
// ends as soon as its drawing has been painted the first time.
//   first_window FILE
#include <QApplication>
#include <QTimer>

#include "viewer/ViewerWindow.h"

namespace {

// Ends the program once the widget it watches has painted.
class EndAfterPaint : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    ViewerWindow window;
    EndAfterPaint end;
    window.canvas().installEventFilter(&end);
    window.show();
    if (argc > 1 && !window.openFile(QString::fromLocal8Bit(argv[1])))
        return 1;
    return QApplication::exec();
}
