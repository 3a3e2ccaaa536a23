// The window on the screen it opens on, run once per screen (see
// CMakeLists.txt): it fits the available area, frame included, with no text
// cut; the font is lowered only where the screen is too small for the form
// at the size its texts need, and then in the proportion the window shrinks.
#include <QtTest>

#include <QScreen>

#include "WindowTestSupport.h"

class WindowScreenTest : public QObject {
    Q_OBJECT

private slots:
    void fitsTheScreenWithNothingClipped();
    void fontShrinksWithTheWindow();
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

// The measure is the window at its natural size, on a second, larger screen
// with room for it.
void WindowScreenTest::fontShrinksWithTheWindow()
{
    QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2)
        QSKIP("no second screen to show the window at its natural size");
    std::sort(screens.begin(), screens.end(), [](const QScreen* a, const QScreen* b) {
        return a->size().width() * a->size().height() < b->size().width() * b->size().height();
    });
    const auto showOn = [](frmMain& window, QScreen* screen) {
        window.setScreen(screen);
        window.move(screen->availableGeometry().topLeft());
        window.show();
        return QTest::qWaitForWindowExposed(&window) && window.screen() == screen;
    };
    TestWindow natural, w;
    QVERIFY(showOn(natural.window, screens.last()));
    QVERIFY(showOn(w.window, screens.first()));
    QCOMPARE(natural.window.font().pointSizeF(), QApplication::font().pointSizeF());

    const double window = double(w.window.width()) / natural.window.width();
    const double font = w.window.font().pointSizeF() / natural.window.font().pointSizeF();
    qInfo("window %dx%d of %dx%d (%.3f), font %.3f of the natural size", w.window.width(), w.window.height(),
          natural.window.width(), natural.window.height(), window, font);
    // No smaller than the window's share of its natural size; where glyphs
    // come in whole pixel sizes, one pixel smaller at most.
    const double pixel = 1.0 / QFontInfo(QApplication::font()).pixelSize();
    QVERIFY2(font >= window - pixel - 0.005, "the font is lowered further than the window shrinks");
}

QTEST_MAIN(WindowScreenTest)
#include "WindowScreenTest.moc"
