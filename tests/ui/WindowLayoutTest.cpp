// The window as it opens: controls, texts, states, tab order, and room for
// every caption.
#include <QtTest>

#include <QAbstractButton>
#include <QAccessible>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "WindowTestSupport.h"

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    // The window in a C-locale session, whatever the one running the test;
    // the rows about other locales set theirs.
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void controlsStartWithTheirTextsAndStates_data();
    void controlsStartWithTheirTextsAndStates();
    void startsWithAnEmptyConfigurationChoice();
    void fieldsStartAtTheirValues();
    void windowIsFixedInSize();
    void focusFollowsTheTabOrder();
    void everyTextFits_data();
    void everyTextFits();
    void everyBoxHasANameOfItsOwn_data();
    void everyBoxHasANameOfItsOwn();
    void closingReleasesTheTrussObject();
};

namespace {

QString textOf(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(w))
        return frame->title();
    if (const auto* combo = qobject_cast<const QComboBox*>(w))
        return combo->currentText();
    return {};
}

}  // namespace

void WindowLayoutTest::controlsStartWithTheirTextsAndStates_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");

    const struct {
        const char *name, *kind, *container, *text;
        bool enabled;
    } rows[] = {
        {"Label4", "QLabel", "frmMain", "Truss web configuration", true},
        {"cmbTrussType", "QComboBox", "frmMain", "", true},
        {"btnGenerate", "QPushButton", "frmMain", "Generate Truss File", true},
        {"txtStatus", "QLineEdit", "frmMain", "Ready", true},
        {"Frame3", "QGroupBox", "frmMain", "Truss Geometry", true},
        {"Frame1", "QGroupBox", "frmMain", "Member Data", true},
        {"Frame2", "QGroupBox", "frmMain", "Loading Data", true},
        {"Label1", "QLabel", "Frame3", "Span (m)", true},
        {"txtSpan", "QLineEdit", "Frame3", "6", true},
        {"Label2", "QLabel", "Frame3", "Height (m)", true},
        {"txtHeight", "QLineEdit", "Frame3", "1", true},
        {"Label3", "QLabel", "Frame3", "No. Web Panels", true},
        {"txtPanels", "QLineEdit", "Frame3", "7", true},
        {"Label5", "QLabel", "Frame1", "Top Chord:", true},
        {"Label6", "QLabel", "Frame1", "Area (mm2)", true},
        {"txtAtop", "QLineEdit", "Frame1", "100", true},
        {"Label7", "QLabel", "Frame1", "E (kN/mm2)", true},
        {"txtEtop", "QLineEdit", "Frame1", "205", true},
        {"Label8", "QLabel", "Frame1", "Btm Chord:", true},
        {"Label9", "QLabel", "Frame1", "Area (mm2)", true},
        {"txtAbtm", "QLineEdit", "Frame1", "100", true},
        {"lblEbtm", "QLabel", "Frame1", "E (kN/mm2)", false},
        {"txtEbtm", "QLineEdit", "Frame1", "205", false},
        {"Label11", "QLabel", "Frame1", "Web ", true},
        {"Label12", "QLabel", "Frame1", "Area (mm2)", true},
        {"txtAweb", "QLineEdit", "Frame1", "100", true},
        {"lblEweb", "QLabel", "Frame1", "E (kN/mm2)", false},
        {"txtEweb", "QLineEdit", "Frame1", "205", false},
        {"chkConstE", "QCheckBox", "Frame1", "Constant E value", true},
        {"loading_0", "QRadioButton", "Frame2", "Top Chord UDL", true},
        {"lblW", "QLabel", "Frame2", "w (kN/m)", true},
        {"txtW", "QLineEdit", "Frame2", "10", true},
        {"loading_1", "QRadioButton", "Frame2", "Top Chord Nodal Point Loads", true},
        {"lblP", "QLabel", "Frame2", "P (kN)", false},
        {"txtP", "QLineEdit", "Frame2", "1.2", false},
        {"Label16", "QLabel", "Frame2", "Note that 0.5P is applied to the end nodes of the top chord", true},
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << row.name << row.kind << row.container << row.text << row.enabled;
}

void WindowLayoutTest::controlsStartWithTheirTextsAndStates()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, container);
    QFETCH(QString, text);
    QFETCH(bool, enabled);

    RecordingSink sink;
    ScriptedDialog dialog;
    const frmMain window(&sink, &dialog);
    const QWidget* control = window.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->metaObject()->className(), kind);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(textOf(control), text);
    QCOMPARE(control->isEnabled(), enabled);
    QVERIFY(sink.messages.empty());
}

void WindowLayoutTest::startsWithAnEmptyConfigurationChoice()
{
    RecordingSink sink;
    ScriptedDialog dialog;
    const frmMain window(&sink, &dialog);
    const auto* combo = window.findChild<QComboBox*>(QStringLiteral("cmbTrussType"));
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("Pratt Truss"));
    QCOMPARE(combo->itemText(1), QStringLiteral("Others to follow"));
    QCOMPARE(combo->currentIndex(), -1);
    QVERIFY(!combo->isEditable());

    QVERIFY(window.findChild<QCheckBox*>(QStringLiteral("chkConstE"))->isChecked());
    const auto* loading = window.findChild<QButtonGroup*>(QStringLiteral("loading"));
    QVERIFY(loading);
    QCOMPARE(loading->checkedId(), 0);
    QCOMPARE(loading->button(0)->objectName(), QStringLiteral("loading_0"));
    QCOMPARE(loading->button(1)->objectName(), QStringLiteral("loading_1"));
    QVERIFY(!loading->button(1)->isChecked());

    const auto* status = box(window, "txtStatus");
    QVERIFY(status->isReadOnly());
    QCOMPARE(status->palette().color(QPalette::Base), status->palette().color(QPalette::Button));
}

void WindowLayoutTest::fieldsStartAtTheirValues()
{
    RecordingSink sink;
    ScriptedDialog dialog;
    const frmMain window(&sink, &dialog);
    QCOMPARE(frmMainTest::curLoadType(window), std::int16_t{1});
    QCOMPARE(frmMainTest::curLoadValue(window), 0.0f);
    QVERIFY(frmMainTest::fileName(window).isEmpty());
    QVERIFY(!frmMainTest::truss(window));
}

void WindowLayoutTest::windowIsFixedInSize()
{
    RecordingSink sink;
    ScriptedDialog dialog;
    frmMain window(&sink, &dialog);
    QCOMPARE(window.windowTitle(), QStringLiteral("Kelvor - Ambrell"));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
    // The client area keeps the proportions of 6120 by 7335 twips.
    QVERIFY(qAbs(window.width() * 7335.0 / window.height() - 6120.0) < 20.0);
    const QPixmap icon = window.windowIcon().pixmap(32, 32);
    QCOMPARE(icon.size(), QSize(32, 32));
    // Every size the build rendered from the drawing, its yellow ground in the corner.
    for (const int size : {16, 32, 48, 64, 128, 256})
        QVERIFY2(window.windowIcon().availableSizes().contains(QSize(size, size)), QByteArray::number(size));
    QCOMPARE(icon.toImage().pixelColor(0, 0), QColor(0xFF, 0xFF, 0x00));
}

void WindowLayoutTest::focusFollowsTheTabOrder()
{
    RecordingSink sink;
    ScriptedDialog dialog;
    frmMain window(&sink, &dialog);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QWidget* first = window.findChild<QWidget*>(QStringLiteral("cmbTrussType"));
    first->setFocus();
    QStringList order{first->objectName()};
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString name = QApplication::focusWidget()->objectName();
        if (name == order.constFirst())
            break;
        order << name;
    }
    // Disabled boxes are skipped; of the option group, the selected option
    // takes the stop.
    const QStringList expected{
        QStringLiteral("cmbTrussType"), QStringLiteral("btnGenerate"), QStringLiteral("txtAtop"),
        QStringLiteral("txtEtop"),      QStringLiteral("txtAbtm"),     QStringLiteral("txtAweb"),
        QStringLiteral("chkConstE"),    QStringLiteral("loading_0"),   QStringLiteral("txtW"),
        QStringLiteral("txtHeight"),    QStringLiteral("txtSpan"),     QStringLiteral("txtPanels"),
        QStringLiteral("txtStatus"),
    };
    QCOMPARE(order, expected);
}

void WindowLayoutTest::everyTextFits_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::newRow("default font") << 0;
    QTest::newRow("14 pt") << 14;
    QTest::newRow("20 pt") << 20;
}

void WindowLayoutTest::everyTextFits()
{
    QFETCH(int, pointSize);
    const QFont original = QApplication::font();
    const auto restoreFont = qScopeGuard([&] { QApplication::setFont(original); });
    if (pointSize > 0) {
        QFont larger = original;
        larger.setPointSize(pointSize);
        QApplication::setFont(larger);
    }
    RecordingSink sink;
    ScriptedDialog dialog;
    const frmMain window(&sink, &dialog);
    const QStringList clipped = clippedControls(window);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u' ')));
}

void WindowLayoutTest::everyBoxHasANameOfItsOwn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    for (const BoxName& row : boxNames)
        QTest::newRow(row.box) << row.box << row.name;
}

void WindowLayoutTest::everyBoxHasANameOfItsOwn()
{
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    RecordingSink sink;
    ScriptedDialog dialog;
    const frmMain window(&sink, &dialog);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(window.findChild<QLineEdit*>(name));
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), spoken);
}

void WindowLayoutTest::closingReleasesTheTrussObject()
{
    RecordingSink sink;
    ScriptedDialog dialog;
    QTemporaryDir dir;
    dialog.answers.push_back(dir.filePath(QStringLiteral("a.kvr")));
    frmMain window(&sink, &dialog);
    window.show();
    window.findChild<QPushButton*>(QStringLiteral("btnGenerate"))->click();
    QVERIFY(frmMainTest::truss(window));
    QVERIFY(window.close());
    QVERIFY(!frmMainTest::truss(window));
}

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
