// File ▸ New: the preview follows the values, what cannot be built is named,
// and Save writes kvrtool generate's bytes and opens them.
#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "KvrtoolRun.h"
#include "TrussTestSupport.h"
#include "viewer/NewTrussDialog.h"
#include "viewer/TrussPreview.h"
#include "viewer/ViewerWindow.h"

namespace {

void chooseType(NewTrussDialog& dialog, const char* name)
{
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("type"));
    types->setCurrentIndex(types->findData(static_cast<int>(trussTypeNamed(name)->type)));
}

QLineEdit& box(NewTrussDialog& dialog, const QString& name)
{
    auto* found = dialog.findChild<QLineEdit*>(name);
    if (!found)
        qFatal("no box %s", qPrintable(name));
    return *found;
}

// Typed as the user's locale writes numbers: 1,5 in German.
void type(NewTrussDialog& dialog, const QString& name, double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    box(dialog, name).setText(locale.toString(value, 'g', QLocale::FloatingPointShortest));
}

}  // namespace

class NewTrussDialogTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }
    void theStartValuesMakeAPreviewThatFollowsThem();
    void valuesThatMakeNoTrussAreNamed_data();
    void valuesThatMakeNoTrussAreNamed();
    void saveWritesKvrtoolsBytesAndTheViewerOpensThem_data();
    void saveWritesKvrtoolsBytesAndTheViewerOpensThem();

private:
    QTemporaryDir dir;
};

void NewTrussDialogTest::theStartValuesMakeAPreviewThatFollowsThem()
{
    NewTrussDialog dialog;
    QVERIFY(dialog.truss() && dialog.reason().isEmpty() && dialog.saveButton().isEnabled());
    QCOMPARE(dialog.truss()->noNodes, 16);                   // a Pratt truss of 7 panels
    QVERIFY(dialog.preview().drawing().lines.size() >= 30);  // its members at least
    type(dialog, QStringLiteral("panels"), 8);
    QCOMPARE(dialog.truss()->noNodes, 18);
    chooseType(dialog, "king-post");  // its own 4 panels
    QCOMPARE(dialog.truss()->noNodes, 6);
    QVERIFY(!box(dialog, QStringLiteral("panels")).isEnabled());
}

void NewTrussDialogTest::valuesThatMakeNoTrussAreNamed_data()
{
    QTest::addColumn<QString>("truss");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    QTest::newRow("an odd count for verticals in pairs")
        << "warren-verticals"
        << "panels"
        << "7"
        << "Panels: the Warren truss with verticals is built for an even number of panels, 2 to 8190.";
    QTest::newRow("a Fink truss of 2 panels") << "fink"
                                              << "panels"
                                              << "2"
                                              << "Panels: the Fink truss is built for an even number of panels, 4 to 8192.";
    QTest::newRow("one panel beyond the file's counts") << "pratt"
                                                        << "panels"
                                                        << "8192"
                                                        << "Panels: the Pratt truss is built for 1 to 8191 panels.";
    QTest::newRow("no height") << "howe"
                               << "height"
                               << "0"
                               << "Height (m) must be greater than 0.";
    QTest::newRow("a rise that is no number") << "pratt-roof"
                                              << "height"
                                              << "abc"
                                              << "Rise (m): 'abc' is not a number.";
    QTest::newRow("a web area left empty") << "warren"
                                           << "webArea"
                                           << ""
                                           << "Web area (mm2) is empty. Please enter a number.";
}

void NewTrussDialogTest::valuesThatMakeNoTrussAreNamed()
{
    QFETCH(QString, truss);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, reason);
    NewTrussDialog dialog;
    chooseType(dialog, truss.toLatin1().constData());
    ::box(dialog, box).setText(text);
    QCOMPARE(dialog.reason(), reason);
    QVERIFY(!dialog.truss() && !dialog.saveButton().isEnabled());
    QVERIFY(dialog.preview().drawing().size.isEmpty());
}

void NewTrussDialogTest::saveWritesKvrtoolsBytesAndTheViewerOpensThem_data()
{
    QTest::addColumn<QString>("truss");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("options");  // kvrtool generate's, beside --type and -o
    QTest::addColumn<int>("nodes");
    QTest::newRow("Howe, w") << "howe" << QLocale::c() << QStringList{"--span", "18",   "--height", "1.5", "--panels", "12",
                                                                      "--area", "1500", "--e",      "210", "--udl",    "3"}
                             << 26;
    QTest::newRow("Fink, P, an E a group, in German")
        << "fink" << QLocale(QLocale::German, QLocale::Germany)
        << QStringList{"--span",     "12.6", "--height", "3.15", "--panels", "8",   "--top-area", "900", "--btm-area",   "800",
                       "--web-area", "400",  "--top-e",  "210",  "--btm-e",  "200", "--web-e",    "190", "--point-load", "4.5"}
        << 15;
}

void NewTrussDialogTest::saveWritesKvrtoolsBytesAndTheViewerOpensThem()
{
    QFETCH(QString, truss);
    QFETCH(QLocale, locale);
    QFETCH(QStringList, options);
    QFETCH(int, nodes);
    const QString expected = dir.filePath(truss + QStringLiteral("-kvrtool.kvr")),
                  target = dir.filePath(truss + QStringLiteral(".kvr"));
    const ToolRun generated = kvrtool(QStringList{QStringLiteral("generate"), QStringLiteral("--type"), truss} + options
                                      + QStringList{QStringLiteral("-o"), expected});
    QVERIFY2(generated.status == 0, qPrintable(generated.err));

    QLocale::setDefault(locale);
    ViewerWindow window;
    window.findChild<QAction*>(QStringLiteral("newTruss"))->trigger();
    NewTrussDialog* dialog = window.findChild<NewTrussDialog*>();
    QVERIFY(dialog && dialog->isVisible());
    QString proposed;
    dialog->setSavePathChooser([&](QWidget*, const QString& name) {
        proposed = name;
        return target;
    });
    chooseType(*dialog, truss.toLatin1().constData());
    // --area and --e stand for every group's.
    const QMap<QString, QStringList> boxes{{"--span", {"span"}},
                                           {"--height", {"height"}},
                                           {"--panels", {"panels"}},
                                           {"--area", {"topArea", "bottomArea", "webArea"}},
                                           {"--e", {"topE"}},
                                           {"--top-area", {"topArea"}},
                                           {"--btm-area", {"bottomArea"}},
                                           {"--web-area", {"webArea"}},
                                           {"--top-e", {"topE"}},
                                           {"--btm-e", {"bottomE"}},
                                           {"--web-e", {"webE"}},
                                           {"--udl", {"w"}},
                                           {"--point-load", {"P"}}};
    dialog->findChild<QCheckBox*>(QStringLiteral("constantE"))->setChecked(options.contains(QStringLiteral("--e")));
    dialog
        ->findChild<QRadioButton*>(options.contains(QStringLiteral("--udl")) ? QStringLiteral("udl")
                                                                             : QStringLiteral("pointLoads"))
        ->setChecked(true);
    for (qsizetype i = 0; i + 1 < options.size(); i += 2)
        for (const QString& name : boxes.value(options[i]))
            type(*dialog, name, options[i + 1].toDouble());
    QVERIFY2(dialog->reason().isEmpty(), qPrintable(dialog->reason()));
    QTest::mouseClick(&dialog->saveButton(), Qt::LeftButton);

    QCOMPARE(QFileInfo(proposed).fileName(), truss + QStringLiteral(".kvr"));
    QCOMPARE(readAll(target), readAll(expected));
    QCOMPARE(window.filePath(), target);
    QTRY_VERIFY(!window.solving());
    QCOMPARE(window.nodeView().model()->rowCount(), nodes);
    QVERIFY(window.problem().isEmpty());
}

QTEST_MAIN(NewTrussDialogTest)
#include "NewTrussDialogTest.moc"
