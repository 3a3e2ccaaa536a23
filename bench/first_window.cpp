// kvrview's start for the benchmark: the program as kvrview starts it, which
// says "painted" as soon as its drawing has been painted the first time, and
// ends.
//   first_window FILE
#include <cstdio>

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
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            // Painted once the event has been handled: say so right after.
            QTimer::singleShot(0, qApp, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted = false;
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
