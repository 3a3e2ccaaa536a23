// Whole generations through the window, each checked by the file it writes.
#include <QtTest>

#include <cerrno>
#include <cstring>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "TrussTestSupport.h"
#include "WindowTestSupport.h"

class WindowGenerateTest : public QObject {
    Q_OBJECT

private slots:
    // The window in a C-locale session, whatever the one running the test;
    // the rows about other locales set theirs.
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void defaultWindowWritesTheDefaultTruss();
    void inputsReachTheTrussObject_data();
    void inputsReachTheTrussObject();
    void generatesInTheUsersLocale_data();
    void generatesInTheUsersLocale();
    void secondGenerationProposesTheFirstPath();
    void cancelWritesNothing();
    void anEmptyNameIsAskedForAgain();
    void boxesThatDoNotConvertAreNamed_data();
    void boxesThatDoNotConvertAreNamed();
    void builderFailuresWriteNothing_data();
    void builderFailuresWriteNothing();
    void aFailedWriteIsNotReportedAsSuccess();
    void aLongPastedNumberStaysWhole();
    void realSaveDialogAddsTheExtensionAndAsksBeforeReplacing();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir_;
};

namespace {

// The file that the truss object writes for the given parameters.
QByteArray expectedFile(const TrussParameters& input)
{
    RecordingSink sink;
    clsTruss truss(sink);
    apply(truss, input, {});
    truss.generate();
    return encoded(truss);
}

QStringList filesIn(const QString& dir) { return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

const QString success = QStringLiteral("Generation Completed Successfully");

// Runs action on the modal widget of type T as soon as it is shown.
template <typename T>
void whenModal(std::function<void(T*)> action, int attemptsLeft = 500)
{
    QTimer::singleShot(10, qApp, [action, attemptsLeft] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget()); widget && widget->isVisible())
            action(widget);
        else if (attemptsLeft > 0)
            whenModal<T>(action, attemptsLeft - 1);
    });
}

}  // namespace

void WindowGenerateTest::init() { dir_ = std::make_unique<QTemporaryDir>(); }

void WindowGenerateTest::defaultWindowWritesTheDefaultTruss()
{
    TestWindow w;
    const QString target = path(QStringLiteral("default.kvr"));
    w.dialog.answers.push_back(target);
    QStringList statusWhileDialog, statusWhileMessage;
    w.dialog.whileShown = [&] { statusWhileDialog << w.status(); };
    w.sink.whileShown = [&](const QString&) { statusWhileMessage << w.status(); };

    w.generate();

    const QByteArray file = readAll(target);
    QCOMPARE(file.size(), 1530);
    QCOMPARE(file.left(6), QByteArray::fromHex("1e0010001e00"));
    QCOMPARE(file, expectedFile(windowStart()));

    QCOMPARE(w.sink.texts(), QStringList{success});
    QCOMPARE(w.sink.messages[0].icon, MessageIcon::Information);
    QCOMPARE(statusWhileDialog, QStringList{QStringLiteral("Generating truss file....")});
    QCOMPARE(statusWhileMessage, QStringList{QStringLiteral("Generation completed")});
    QCOMPARE(w.status(), QStringLiteral("Generation completed"));

    QCOMPARE(w.dialog.showings.size(), std::size_t{1});
    const ScriptedDialog::Showing& shown = w.dialog.showings[0];
    QCOMPARE(shown.title, QStringLiteral("Save"));
    QCOMPARE(shown.flags, 2);
    QVERIFY(shown.cancelError);
    QCOMPARE(shown.defaultExt, QStringLiteral("kvr"));
    QCOMPARE(shown.initDir, QStringLiteral("C:\\windows\\desktop\\KVR"));
    QCOMPARE(shown.filter, QStringLiteral("Kelvor files|*.kvr|All files|*.*"));
    QVERIFY(shown.proposed.isEmpty());

    QCOMPARE(frmMainTest::fileName(w.window), target);
    QCOMPARE(frmMainTest::curLoadValue(w.window), 10.0f);
}

void WindowGenerateTest::inputsReachTheTrussObject_data()
{
    QTest::addColumn<QStringList>("steps");  // "click:NAME", "set:NAME=TEXT", "combo:INDEX"
    QTest::addColumn<int>("np");
    QTest::addColumn<float>("btmE");
    QTest::addColumn<float>("webE");
    QTest::addColumn<int>("loadType");
    QTest::addColumn<float>("loadValue");

    QTest::newRow("constant E ignores the other E boxes, even empty")
        << QStringList{"click:chkConstE", "set:txtEbtm=", "set:txtEweb=", "click:chkConstE"} << 7 << 205.0f << 205.0f
        << 1 << 10.0f;
    QTest::newRow("E boxes of their own")
        << QStringList{"click:chkConstE", "set:txtEbtm=210", "set:txtEweb=190"} << 7 << 210.0f << 190.0f << 1 << 10.0f;
    QTest::newRow("point loads with w empty") << QStringList{"set:txtW=", "click:loading_1"} << 7 << 205.0f << 205.0f
                                              << 2 << 1.2f;
    QTest::newRow("back to the UDL with P empty")
        << QStringList{"click:loading_1", "set:txtP=", "click:loading_0", "set:txtW=2.5"} << 7 << 205.0f << 205.0f << 1
        << 2.5f;
    QTest::newRow("Pratt Truss chosen") << QStringList{"combo:0"} << 7 << 205.0f << 205.0f << 1 << 10.0f;
    QTest::newRow("Others to follow chosen") << QStringList{"combo:1"} << 7 << 205.0f << 205.0f << 1 << 10.0f;
    QTest::newRow("7.5 panels round to 8") << QStringList{"set:txtPanels=7.5"} << 8 << 205.0f << 205.0f << 1 << 10.0f;
    QTest::newRow("6.5 panels round to 6") << QStringList{"set:txtPanels=6.5"} << 6 << 205.0f << 205.0f << 1 << 10.0f;
}

void WindowGenerateTest::inputsReachTheTrussObject()
{
    QFETCH(QStringList, steps);
    QFETCH(int, np);
    QFETCH(float, btmE);
    QFETCH(float, webE);
    QFETCH(int, loadType);
    QFETCH(float, loadValue);

    TestWindow w;
    for (const QString& step : steps) {
        const QString what = step.section(u':', 1);
        if (step.startsWith(QLatin1String("click:")))
            w.click(qPrintable(what));
        else if (step.startsWith(QLatin1String("set:")))
            w.set(qPrintable(what.section(u'=', 0, 0)), what.section(u'=', 1));
        else
            w.window.findChild<QComboBox*>(QStringLiteral("cmbTrussType"))->setCurrentIndex(what.toInt());
    }
    const QString target = path(QStringLiteral("truss.kvr"));
    w.dialog.answers.push_back(target);
    w.generate();

    TrussParameters expected = windowStart();
    expected.np = static_cast<std::int16_t>(np);
    expected.btmE = btmE;
    expected.webE = webE;
    expected.loadType = loadType;
    expected.loadValue = loadValue;
    QCOMPARE(w.sink.texts(), QStringList{success});
    QCOMPARE(readAll(target), expectedFile(expected));
}

void WindowGenerateTest::generatesInTheUsersLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("steps");  // "click:NAME", "set:NAME=TEXT"
    QTest::addColumn<int>("loadType");
    QTest::addColumn<float>("loadValue");
    QTest::addColumn<float>("span");

    for (const char* locale : {"de_DE", "fr_FR"}) {
        const QString name = QString::fromLatin1(locale);
        QTest::addRow("%s: UDL at the start values", locale) << name << QStringList{} << 1 << 10.0f << 6.0f;
        QTest::addRow("%s: point loads at the start values", locale)
            << name << QStringList{"click:loading_1"} << 2 << 1.2f << 6.0f;
        QTest::addRow("%s: decimal commas typed", locale)
            << name << QStringList{"click:loading_1", "set:txtP=2,75", "set:txtSpan=7,5"} << 2 << 2.75f << 7.5f;
    }
}

void WindowGenerateTest::generatesInTheUsersLocale()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, steps);
    QFETCH(int, loadType);
    QFETCH(float, loadValue);
    QFETCH(float, span);
    QLocale::setDefault(QLocale(locale));
    const auto restoreLocale = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });

    TestWindow w;
    QCOMPARE(box(w.window, "txtP")->text(), QStringLiteral("1,2"));
    QCOMPARE(box(w.window, "txtEtop")->text(), QStringLiteral("205"));
    for (const QString& step : steps) {
        const QString what = step.section(u':', 1);
        if (step.startsWith(QLatin1String("click:")))
            w.click(qPrintable(what));
        else
            w.set(qPrintable(what.section(u'=', 0, 0)), what.section(u'=', 1));
    }
    const QString target = path(QStringLiteral("truss.kvr"));
    w.dialog.answers.push_back(target);
    w.generate();

    TrussParameters expected = windowStart();
    expected.loadType = loadType;
    expected.loadValue = loadValue;
    expected.L = span;
    QCOMPARE(w.sink.texts(), QStringList{success});
    QCOMPARE(readAll(target), expectedFile(expected));
}

void WindowGenerateTest::secondGenerationProposesTheFirstPath()
{
    TestWindow w;
    const QString first = path(QStringLiteral("first.kvr"));
    w.dialog.answers = {first, first};
    w.generate();
    const clsTruss* firstTruss = frmMainTest::truss(w.window);
    w.set("txtPanels", QStringLiteral("4"));
    w.generate();

    QCOMPARE(w.dialog.showings.size(), std::size_t{2});
    QCOMPARE(w.dialog.showings[1].proposed, first);
    QVERIFY(frmMainTest::truss(w.window) != firstTruss);
    TrussParameters four = windowStart();
    four.np = 4;
    QCOMPARE(readAll(first), expectedFile(four));
    QCOMPARE(w.sink.texts(), (QStringList{success, success}));
}

void WindowGenerateTest::cancelWritesNothing()
{
    TestWindow w;
    // Cancel before any file was chosen: nothing anywhere.
    w.dialog.answers = {std::nullopt};
    w.generate();
    QVERIFY(filesIn(dir_->path()).isEmpty());
    QVERIFY(w.sink.messages.empty());
    QCOMPARE(w.status(), QStringLiteral("Generation cancelled"));
    QVERIFY(frmMainTest::fileName(w.window).isEmpty());

    // Cancel after a generation: the earlier file stays as it is.
    const QString earlier = path(QStringLiteral("earlier.kvr"));
    w.dialog.answers = {earlier, std::nullopt};
    w.generate();
    QVERIFY(writeAll(earlier, "the user's own content"));
    w.generate();
    QCOMPARE(readAll(earlier), QByteArray("the user's own content"));
    QCOMPARE(frmMainTest::fileName(w.window), earlier);
    QCOMPARE(w.status(), QStringLiteral("Generation cancelled"));
    QCOMPARE(w.sink.texts(), QStringList{success});
}

void WindowGenerateTest::anEmptyNameIsAskedForAgain()
{
    TestWindow w;
    const QString target = path(QStringLiteral("named.kvr"));
    w.dialog.answers = {QString(), QString(), target};
    w.generate();
    QCOMPARE(w.dialog.showings.size(), std::size_t{3});
    QCOMPARE(w.sink.texts(),
             (QStringList{QStringLiteral("Please Name a File"), QStringLiteral("Please Name a File"), success}));
    QCOMPARE(w.sink.messages[0].icon, MessageIcon::Information);
    QCOMPARE(readAll(target), expectedFile(windowStart()));
}

void WindowGenerateTest::boxesThatDoNotConvertAreNamed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    for (const BoxName& f : boxNames)
        QTest::addRow("%s empty", f.box) << f.box << "" << QStringLiteral("%1 is empty. Please enter a number.").arg(QString::fromUtf8(f.name));
    QTest::newRow("span beyond Single") << "txtSpan" << "1e39"
                                        << "Span (m) is too large. Please enter a number between -3.4E+38 and 3.4E+38.";
    QTest::newRow("span beyond double") << "txtSpan" << "1e400"
                                        << "Span (m) is too large. Please enter a number between -3.4E+38 and 3.4E+38.";
    QTest::newRow("E beyond Single") << "txtEtop" << "-4e38"
                                     << "Top Chord: E (kN/mm2) is too large. Please enter a number between -3.4E+38 and 3.4E+38.";
    QTest::newRow("panels beyond 16 bits") << "txtPanels" << "32768" << "No. Web Panels must be a whole number from 1 to 8191.";
    QTest::newRow("panels far below") << "txtPanels" << "-1e9" << "No. Web Panels must be a whole number from 1 to 8191.";
    // A truss stands only on a positive span, height, area and modulus.
    QTest::newRow("height 0") << "txtHeight" << "0" << "Height (m) must be greater than 0. Please enter a number greater than 0.";
    QTest::newRow("span -6") << "txtSpan" << "-6" << "Span (m) must be greater than 0. Please enter a number greater than 0.";
    QTest::newRow("web area -0") << "txtAweb" << "-0" << "Web Area (mm2) must be greater than 0. Please enter a number greater than 0.";
    QTest::newRow("bottom E 0") << "txtEbtm" << "0" << "Btm Chord: E (kN/mm2) must be greater than 0. Please enter a number greater than 0.";
    QTest::newRow("top area below any Single")
        << "txtAtop" << "1e-50" << "Top Chord: Area (mm2) is too small: 1e-50 rounds to 0 as a Single. Please enter a number greater than 0.";
}

void WindowGenerateTest::boxesThatDoNotConvertAreNamed()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, message);

    TestWindow w;
    enableBox(w.window, name);
    w.set(qPrintable(name), text);
    QVERIFY(w.sink.messages.empty());
    w.dialog.answers.push_back(path(QStringLiteral("never.kvr")));
    QString statusWhileShown;
    w.sink.whileShown = [&](const QString&) { statusWhileShown = w.status(); };

    w.generate();
    QCOMPARE(w.sink.texts(), QStringList{message});
    QCOMPARE(statusWhileShown, QStringLiteral("Ready"));
    QCOMPARE(w.sink.messages[0].icon, MessageIcon::Exclamation);
    QVERIFY2(w.dialog.showings.empty(), "no file is chosen for a generation that cannot happen");
    QVERIFY(filesIn(dir_->path()).isEmpty());
    QCOMPARE(w.status(), QStringLiteral("Ready"));
    QVERIFY(w.window.findChild<QWidget*>(QStringLiteral("btnGenerate"))->isEnabled());
}

void WindowGenerateTest::builderFailuresWriteNothing_data()
{
    QTest::addColumn<QString>("panels");
    QTest::addColumn<QString>("span");
    QTest::addColumn<QString>("w");
    QTest::addColumn<QString>("message");
    const QString panelRange = QStringLiteral("No. Web Panels must be a whole number from 1 to 8191.\nNo file was written.");
    QTest::newRow("no panels") << "0" << "6" << "10" << panelRange;
    QTest::newRow("0.4 panels round to none") << "0.4" << "6" << "10" << panelRange;
    QTest::newRow("negative panels") << "-3" << "6" << "10" << panelRange;
    QTest::newRow("8192 panels") << "8192" << "6" << "10" << panelRange;
    QTest::newRow("load beyond Single")
        << "1" << "3e38" << "10"
        << "The load per node (w times the panel length) is too large for the truss file. Please enter a smaller w "
           "(kN/m) or more web panels.\nNo file was written.";
}

void WindowGenerateTest::builderFailuresWriteNothing()
{
    QFETCH(QString, panels);
    QFETCH(QString, span);
    QFETCH(QString, w);
    QFETCH(QString, message);

    TestWindow window;
    window.set("txtPanels", panels);
    window.set("txtSpan", span);
    window.set("txtW", w);
    const QString existing = path(QStringLiteral("existing.kvr"));
    QVERIFY(writeAll(existing, "kept"));
    window.dialog.answers.push_back(existing);
    window.generate();

    QCOMPARE(window.sink.texts(), QStringList{message});
    QCOMPARE(window.sink.messages[0].icon, MessageIcon::Exclamation);
    QVERIFY2(window.dialog.showings.empty(), "no file is chosen for a truss that cannot be built");
    QCOMPARE(readAll(existing), QByteArray("kept"));
    QCOMPARE(filesIn(dir_->path()), QStringList{QStringLiteral("existing.kvr")});
    QCOMPARE(window.status(), QStringLiteral("Ready"));

    // The window stays usable: the next generation succeeds.
    window.set("txtPanels", QStringLiteral("7"));
    window.set("txtSpan", QStringLiteral("6"));
    window.set("txtW", QStringLiteral("10"));
    window.dialog.answers.push_back(existing);
    window.generate();
    QCOMPARE(readAll(existing), expectedFile(windowStart()));
}

void WindowGenerateTest::aFailedWriteIsNotReportedAsSuccess()
{
    TestWindow w;
    const QString folder = path(QStringLiteral("folder.kvr"));
    QVERIFY(QDir().mkdir(folder));
    w.dialog.answers.push_back(folder);
    w.generate();

    QCOMPARE(w.sink.messages.size(), std::size_t{1});
    QVERIFY(w.sink.messages[0].text.startsWith(QStringLiteral("Error while saving file ") + folder + QStringLiteral("\r\n")));
    QCOMPARE(w.sink.messages[0].text.mid(QStringLiteral("Error while saving file \r\n").size() + folder.size()),
             QString::fromLocal8Bit(std::strerror(EISDIR)));
    QCOMPARE(w.sink.messages[0].icon, MessageIcon::Critical);
    QCOMPARE(w.status(), QStringLiteral("Truss file not written"));
    QCOMPARE(filesIn(dir_->path()), QStringList{QStringLiteral("folder.kvr")});
}

// The real dialog, driven as a user drives it: type a name, press Enter,
// confirm the replacement.
void WindowGenerateTest::aLongPastedNumberStaysWhole()
{
    // 60 written in 40 000 characters: 0.000...06e39993. Cut anywhere in its
    // zeros, it would read 0.
    const QString sixty = QStringLiteral("0") + QLocale().decimalPoint() + QString(39991, u'0') + QStringLiteral("6e39993");
    QCOMPARE(sixty.size(), 40000);
    TestWindow w;
    QLineEdit* load = box(w.window, "txtW");
    QGuiApplication::clipboard()->setText(sixty);
    load->selectAll();
    load->paste();
    QCOMPARE(load->text().size(), sixty.size());
    QVERIFY(load->text() == sixty);

    w.dialog.answers.push_back(path(QStringLiteral("long.kvr")));
    w.generate();
    QCOMPARE(w.sink.texts(), QStringList{success});
    QCOMPARE(frmMainTest::curLoadValue(w.window), 60.0f);
}

void WindowGenerateTest::realSaveDialogAddsTheExtensionAndAsksBeforeReplacing()
{
    RecordingSink sink;
    frmMain window(&sink, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString expected = path(QStringLiteral("bridge.kvr"));

    QStringList titles, prompts;
    const auto typeNameAndEnter = [&](QFileDialog* dialog) {
        titles << dialog->windowTitle();
        dialog->setDirectory(dir_->path());  // as the user would browse there
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("bridge"));
        QTest::keyClick(name, Qt::Key_Return);
    };
    const auto answerYes = [&](QMessageBox* box) {
        prompts << box->text();
        box->button(QMessageBox::Yes)->click();
    };

    whenModal<QFileDialog>(typeNameAndEnter);
    window.findChild<QPushButton*>(QStringLiteral("btnGenerate"))->click();
    QCOMPARE(sink.texts(), QStringList{success});
    QCOMPARE(readAll(expected), expectedFile(windowStart()));
    QVERIFY(prompts.isEmpty());

    // Again, with other values, over the same file: the dialog adds the
    // extension before it asks, so the question comes.
    box(window, "txtPanels")->setText(QStringLiteral("3"));
    whenModal<QFileDialog>([&](QFileDialog* dialog) {
        QCOMPARE(dialog->selectedFiles().value(0), expected);  // the first path, proposed
        whenModal<QMessageBox>(answerYes);
        typeNameAndEnter(dialog);
    });
    window.findChild<QPushButton*>(QStringLiteral("btnGenerate"))->click();
    TrussParameters three = windowStart();
    three.np = 3;
    QCOMPARE(readAll(expected), expectedFile(three));
    QCOMPARE(prompts.size(), 1);
    QVERIFY(prompts[0].contains(QStringLiteral("bridge.kvr")));
    QCOMPARE(titles, (QStringList{QStringLiteral("Save"), QStringLiteral("Save")}));
    QCOMPARE(filesIn(dir_->path()), QStringList{QStringLiteral("bridge.kvr")});
}

QTEST_MAIN(WindowGenerateTest)
#include "WindowGenerateTest.moc"
