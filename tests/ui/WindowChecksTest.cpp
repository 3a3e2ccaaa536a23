// What the window does while the user types, clicks and moves the pointer.
#include <QtTest>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "WindowTestSupport.h"

class WindowChecksTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void typedTextsAreCheckedAsTyped_data();
    void typedTextsAreCheckedAsTyped();
    void pastedTextsAreCheckedWhole_data();
    void pastedTextsAreCheckedWhole();
    void everyNumericBoxRefusesWhatIsNotANumber_data();
    void everyNumericBoxRefusesWhatIsNotANumber();
    void aLongNumberShowsItsStartWhenLeft_data();
    void aLongNumberShowsItsStartWhenLeft();
    void constantESwitchesTheOtherModuli();
    void loadOptionsSwitchTheLoadBoxesAndCode();
    void framesAndTheBareWindowShowHints();
};

namespace {

const char* const numericBoxes[] = {"txtSpan", "txtHeight", "txtPanels", "txtAtop", "txtEtop", "txtAbtm",
                                    "txtEbtm", "txtAweb",   "txtEweb",   "txtW",    "txtP"};

}  // namespace

void WindowChecksTest::typedTextsAreCheckedAsTyped_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("left");
    QTest::addColumn<int>("messages");

    QTest::newRow("12a") << "C" << "12a" << "" << 1;
    QTest::newRow("1.2 stays a number at every key") << "C" << "1.2" << "1.2" << 0;
    QTest::newRow("minus sign into an empty box") << "C" << "-" << "" << 1;
    QTest::newRow("minus then digits") << "C" << "-5" << "5" << 1;
    QTest::newRow("a blank alone is not yet a number") << "C" << " 7 " << "7 " << 1;
    QTest::newRow("exponent typed out") << "C" << "2e3" << "3" << 1;  // "2e" is not yet a number
    QTest::newRow("decimal comma in C") << "C" << "1,5" << "5" << 1;
    QTest::newRow("1,5 with a decimal comma") << "de_DE" << "1,5" << "1,5" << 0;
    QTest::newRow("1.5 with a decimal comma") << "de_DE" << "1.5" << "5" << 1;
}

void WindowChecksTest::typedTextsAreCheckedAsTyped()
{
    QFETCH(QString, locale);
    QFETCH(QString, keys);
    QFETCH(QString, left);
    QFETCH(int, messages);
    QLocale::setDefault(QLocale(locale));

    RecordingSink sink;
    ScriptedDialog dialog;
    frmMain window(&sink, &dialog);
    QLineEdit* span = box(window, "txtSpan");
    span->clear();
    QVERIFY(sink.messages.empty());
    QTest::keyClicks(span, keys);
    QCOMPARE(span->text(), left);
    QCOMPARE(static_cast<int>(sink.messages.size()), messages);
    for (const RecordedMessage& m : sink.messages) {
        QCOMPARE(m.text, QStringLiteral("Please enter a number"));
        QCOMPARE(m.icon, MessageIcon::Exclamation);
    }
}

void WindowChecksTest::pastedTextsAreCheckedWhole_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("kept");
    // Which texts are numbers is the number rule's own test; here, that a
    // pasted text goes through it whole, in the user's locale.
    QTest::newRow("blanks around") << "C" << " 7 " << true;
    QTest::newRow("12a") << "C" << "12a" << false;
    QTest::newRow("decimal comma") << "de_DE" << "-1,5" << true;
    QTest::newRow("group separator with a decimal comma") << "de_DE" << "1.500" << false;
}

void WindowChecksTest::pastedTextsAreCheckedWhole()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, kept);
    QLocale::setDefault(QLocale(locale));

    RecordingSink sink;
    ScriptedDialog dialog;
    frmMain window(&sink, &dialog);
    box(window, "txtHeight")->setText(text);
    QCOMPARE(box(window, "txtHeight")->text(), kept ? text : QString());
    QCOMPARE(sink.texts(), kept ? QStringList() : QStringList{QStringLiteral("Please enter a number")});
}

void WindowChecksTest::everyNumericBoxRefusesWhatIsNotANumber_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : numericBoxes)
        QTest::newRow(name) << name;
}

void WindowChecksTest::everyNumericBoxRefusesWhatIsNotANumber()
{
    QFETCH(QString, name);
    RecordingSink sink;
    ScriptedDialog dialog;
    frmMain window(&sink, &dialog);
    enableBox(window, name);
    QLineEdit* target = window.findChild<QLineEdit*>(name);

    // While the message is open the box still shows what was refused.
    QStringList shownWhileOpen;
    sink.whileShown = [&](const QString&) { shownWhileOpen << target->text(); };
    QTest::keyClicks(target, QStringLiteral("x"));

    QCOMPARE(sink.texts(), QStringList{QStringLiteral("Please enter a number")});
    QCOMPARE(shownWhileOpen.size(), 1);
    QVERIFY(shownWhileOpen[0].endsWith(u'x'));
    QCOMPARE(target->text(), QString());
    for (const char* other : numericBoxes)
        if (name != QLatin1String(other))
            QVERIFY2(!box(window, other)->text().isEmpty(), other);

    // Emptying a box by hand raises no message.
    sink.messages.clear();
    QTest::keyClicks(target, QStringLiteral("5"));
    target->selectAll();
    QTest::keyClick(target, Qt::Key_Delete);
    QCOMPARE(target->text(), QString());
    QVERIFY(sink.messages.empty());
}

void WindowChecksTest::aLongNumberShowsItsStartWhenLeft_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");  // "." for the locale's decimal separator
    QTest::newRow("span") << "txtSpan" << "123.456789";
    QTest::newRow("top chord E") << "txtEtop" << "205000.5";
}

void WindowChecksTest::aLongNumberShowsItsStartWhenLeft()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    const QString text = typed.replace(u'.', QLocale().decimalPoint());
    RecordingSink sink;
    ScriptedDialog dialog;
    frmMain window(&sink, &dialog);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QLineEdit* target = window.findChild<QLineEdit*>(name);
    target->setFocus();
    target->clear();
    QTest::keyClicks(target, text);
    QCOMPARE(target->text(), text);
    QVERIFY2(target->fontMetrics().horizontalAdvance(text) > target->contentsRect().width(), "the box shows it all");

    QTest::keyClick(target, Qt::Key_Tab);
    QVERIFY(!target->hasFocus());
    target->grab();  // paints the box, which scrolls its text as shown
    // The character at the box's left edge is the first.
    QCOMPARE(target->cursorPositionAt(QPoint(0, target->height() / 2)), 0);
    QVERIFY(sink.messages.empty());
}

void WindowChecksTest::constantESwitchesTheOtherModuli()
{
    RecordingSink sink;
    ScriptedDialog dialog;
    frmMain window(&sink, &dialog);
    auto* constant = window.findChild<QCheckBox*>(QStringLiteral("chkConstE"));
    const QStringList switched{QStringLiteral("txtEbtm"), QStringLiteral("txtEweb"), QStringLiteral("lblEbtm"),
                               QStringLiteral("lblEweb")};
    box(window, "txtEweb")->setText(QStringLiteral("190"));

    for (const bool checked : {false, true, false}) {
        constant->click();
        QCOMPARE(constant->isChecked(), checked);
        for (const QString& name : switched)
            QCOMPARE(window.findChild<QWidget*>(name)->isEnabled(), !checked);
        QCOMPARE(box(window, "txtEbtm")->text(), QStringLiteral("205"));
        QCOMPARE(box(window, "txtEweb")->text(), QStringLiteral("190"));
        QVERIFY(box(window, "txtEtop")->isEnabled());
    }
}

void WindowChecksTest::loadOptionsSwitchTheLoadBoxesAndCode()
{
    RecordingSink sink;
    ScriptedDialog dialog;
    frmMain window(&sink, &dialog);
    const auto* w = window.findChild<QWidget*>(QStringLiteral("txtW"));
    const auto* wLabel = window.findChild<QWidget*>(QStringLiteral("lblW"));
    const auto* p = window.findChild<QWidget*>(QStringLiteral("txtP"));
    const auto* pLabel = window.findChild<QWidget*>(QStringLiteral("lblP"));

    const struct {
        const char* option;
        bool pointLoads;
    } clicks[] = {{"loading_1", true}, {"loading_0", false}, {"loading_0", false}, {"loading_1", true}};
    for (const auto& click : clicks) {
        window.findChild<QRadioButton*>(QString::fromUtf8(click.option))->click();
        QCOMPARE(frmMainTest::curLoadType(window), std::int16_t(click.pointLoads ? 2 : 1));
        QCOMPARE(w->isEnabled(), !click.pointLoads);
        QCOMPARE(wLabel->isEnabled(), !click.pointLoads);
        QCOMPARE(p->isEnabled(), click.pointLoads);
        QCOMPARE(pLabel->isEnabled(), click.pointLoads);
        QCOMPARE(box(window, "txtW")->text(), QStringLiteral("10"));
        QCOMPARE(box(window, "txtP")->text(), QStringLiteral("1.2"));
    }
}

void WindowChecksTest::framesAndTheBareWindowShowHints()
{
    RecordingSink sink;
    ScriptedDialog dialog;
    frmMain window(&sink, &dialog);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QLineEdit* status = box(window, "txtStatus");

    const auto moveOver = [&](const char* name, int x = 4) {
        QWidget* target = window.findChild<QWidget*>(QString::fromUtf8(name));
        // A point of the widget that no child covers.
        QPoint spot(x, target->height() - 4);
        QTest::mouseMove(target, spot);
        QCoreApplication::processEvents();
    };
    const auto moveOverWindow = [&] {
        QTest::mouseMove(&window, QPoint(2, 2));
        QCoreApplication::processEvents();
    };

    const struct {
        const char* over;
        const char* status;
    } moves[] = {
        {"Frame1", "Enter member data here"},
        {"txtAtop", "Enter member data here"},
        {"Label5", "Enter member data here"},
        {"lblEbtm", "Enter member data here"},
        {"Frame2", "Enter load data here"},
        {"loading_1", "Enter load data here"},
        {"Frame3", "Enter geometry of the truss here"},
        {"btnGenerate", "Enter geometry of the truss here"},
        {"txtStatus", "Enter geometry of the truss here"},
        {"Label4", "Enter geometry of the truss here"},
        {nullptr, "Ready"},
        {"Frame2", "Enter load data here"},
    };
    for (const auto& move : moves) {
        if (move.over)
            moveOver(move.over);
        else
            moveOverWindow();
        QCOMPARE(status->text(), QString::fromUtf8(move.status));
    }

    // Every move writes the hint again, even when it is already shown.
    box(window, "txtStatus")->setText(QStringLiteral("something else"));
    moveOver("Frame2", 8);
    QCOMPARE(status->text(), QStringLiteral("Enter load data here"));
}

QTEST_MAIN(WindowChecksTest)
#include "WindowChecksTest.moc"
