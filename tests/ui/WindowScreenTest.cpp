// The window on the screen it opens on, run once per screen (see
// CMakeLists.txt): it fits the available area, frame included, with no text
// cut; the font is lowered only where the screen is too small for the form
// at the size its texts need.
#include <QtTest>

#include <QScreen>

#include "WindowTestSupport.h"

class WindowScreenTest : public QObject {
    Q_OBJECT

private slots:
    void fitsTheScreenWithNothingClipped();
};

void WindowScreenTest::fitsTheScreenWithNothingClipped()
{
    TestWindow w;
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    const QRect available = w.window.screen()->availableGeometry();
    const QRect frame = w.window.frameGeometry();
    qInfo("screen %dx%d at scale %g: window %dx%d, frame %dx%d, font %gpt of %gpt", available.width(),
          available.height(), w.window.devicePixelRatioF(), w.window.width(), w.window.height(), frame.width(),
          frame.height(), w.window.font().pointSizeF(), QApplication::font().pointSizeF());

    QVERIFY2(available.contains(frame), "the window sticks out of the available area");
    const QStringList clipped = clippedControls(w.window);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u' ')));
    // A lowered font means the screen set the size: the window then fills
    // the available height or width but for rounding and the room kept for
    // a frame the window system has not shown yet (two text lines, borders).
    if (w.window.font().pointSizeF() < QApplication::font().pointSizeF()) {
        const QSize spare = available.size() - frame.size();
        QVERIFY2(std::min(spare.width(), spare.height()) <= 2 * QFontMetrics(QApplication::font()).height() + 10,
                 "the font was lowered although the screen had room");
    }
}

QTEST_MAIN(WindowScreenTest)
#include "WindowScreenTest.moc"
