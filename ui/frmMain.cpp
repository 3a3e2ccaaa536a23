#include "ui/frmMain.h"

#include <algorithm>
#include <limits>
#include <vector>

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include "ui/AppIcon.h"
#include "ui/CommonDialog.h"
#include "ui/FormLayout.h"
#include "ui/MessageBoxSink.h"

using formLayout::Kind;

frmMain::frmMain(QWidget* parent) : frmMain(nullptr, nullptr, parent) {}

frmMain::frmMain(MessageSink* messages, CommonDialog* saveDialog, QWidget* parent)
    : QWidget(parent),
      ownMessages_(messages ? nullptr : std::make_unique<MessageBoxSink>(this)),
      ownDialog_(saveDialog ? nullptr : std::make_unique<QtCommonDialog>(this)),
      messages_(messages ? *messages : *ownMessages_),
      CommonDialog1(saveDialog ? *saveDialog : *ownDialog_)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kelvor - Ambrell"));
    setWindowIcon(ambrellIcon());
    // A fixed single border: no resizing, no minimize or maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setMouseTracking(true);

    createControls();
    connectHandlers();
    Form_Load();
    applyGeometry();
}

frmMain::~frmMain() = default;

namespace {

QWidget* createControl(const formLayout::Control& control, QWidget* container)
{
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
    case Kind::Label:
        return new QLabel(text, container);
    case Kind::TextBox: {
        auto* box = new QLineEdit(container);
        // No length limit: Qt's default cuts a pasted text at 32767 characters,
        // which can leave a different number.
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setText(text);
        return box;
    }
    case Kind::Frame:
        return new QGroupBox(text, container);
    case Kind::OptionButton:
        return new QRadioButton(text, container);
    case Kind::CheckBox:
        return new QCheckBox(text, container);
    case Kind::ComboBox:
        return new QComboBox(container);
    case Kind::CommandButton:
        return new QPushButton(text, container);
    }
    return nullptr;
}

}  // namespace

void frmMain::createControls()
{
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const formLayout::Control& control : formLayout::controls()) {
        QWidget* container = control.container ? findChild<QWidget*>(QString::fromUtf8(control.container)) : this;
        QWidget* widget = createControl(control, container);
        widget->setObjectName(QString::fromUtf8(control.name));
        widget->setEnabled(control.startsEnabled);
        // Only the frames and the bare window show hints; a move over any
        // other control leaves the hint as it is.
        widget->setAttribute(Qt::WA_NoMousePropagation);
        if (widget->focusPolicy() != Qt::NoFocus)
            tabOrder.emplace_back(control.tabIndex, widget);
    }
    std::sort(tabOrder.begin(), tabOrder.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    findControls();
    nameBoxes();
    setStartStates();
}

// A screen reader would otherwise announce every box of a frame by the
// frame's title.
void frmMain::nameBoxes()
{
    const auto label = [this](const char* name) { return findChild<QLabel*>(QString::fromUtf8(name)); };
    for (const formLayout::BoxCaptions& captions : formLayout::boxCaptions()) {
        auto* box = findChild<QLineEdit*>(QString::fromUtf8(captions.box));
        QLabel* column = label(captions.column);
        column->setBuddy(box);
        box->setAccessibleName(captions.row ? label(captions.row)->text().trimmed() + u' ' + column->text()
                                            : column->text());
    }
}

void frmMain::findControls()
{
    Label4 = findChild<QLabel*>(QStringLiteral("Label4"));
    cmbTrussType = findChild<QComboBox*>(QStringLiteral("cmbTrussType"));
    btnGenerate = findChild<QPushButton*>(QStringLiteral("btnGenerate"));
    txtStatus = findChild<QLineEdit*>(QStringLiteral("txtStatus"));
    Frame1 = findChild<QGroupBox*>(QStringLiteral("Frame1"));
    Frame2 = findChild<QGroupBox*>(QStringLiteral("Frame2"));
    Frame3 = findChild<QGroupBox*>(QStringLiteral("Frame3"));
    txtSpan = findChild<QLineEdit*>(QStringLiteral("txtSpan"));
    txtHeight = findChild<QLineEdit*>(QStringLiteral("txtHeight"));
    txtPanels = findChild<QLineEdit*>(QStringLiteral("txtPanels"));
    txtAtop = findChild<QLineEdit*>(QStringLiteral("txtAtop"));
    txtEtop = findChild<QLineEdit*>(QStringLiteral("txtEtop"));
    txtAbtm = findChild<QLineEdit*>(QStringLiteral("txtAbtm"));
    lblEbtm = findChild<QLabel*>(QStringLiteral("lblEbtm"));
    txtEbtm = findChild<QLineEdit*>(QStringLiteral("txtEbtm"));
    txtAweb = findChild<QLineEdit*>(QStringLiteral("txtAweb"));
    lblEweb = findChild<QLabel*>(QStringLiteral("lblEweb"));
    txtEweb = findChild<QLineEdit*>(QStringLiteral("txtEweb"));
    chkConstE = findChild<QCheckBox*>(QStringLiteral("chkConstE"));
    lblW = findChild<QLabel*>(QStringLiteral("lblW"));
    txtW = findChild<QLineEdit*>(QStringLiteral("txtW"));
    lblP = findChild<QLabel*>(QStringLiteral("lblP"));
    txtP = findChild<QLineEdit*>(QStringLiteral("txtP"));
}

void frmMain::setStartStates()
{
    txtStatus->setReadOnly(true);
    QPalette statusPalette = txtStatus->palette();
    statusPalette.setColor(QPalette::Base, statusPalette.color(QPalette::Button));
    txtStatus->setPalette(statusPalette);

    // Start values as the user's locale writes numbers ("1,2" in German),
    // without digit grouping, which the number rule refuses.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    for (const formLayout::StartValue& start : formLayout::startValues())
        findChild<QLineEdit*>(QString::fromUtf8(start.box))
            ->setText(locale.toString(start.value, 'g', QLocale::FloatingPointShortest));

    chkConstE->setChecked(true);

    loading = new QButtonGroup(this);
    loading->setObjectName(QStringLiteral("loading"));
    loading->addButton(findChild<QRadioButton*>(QStringLiteral("loading_0")), 0);
    loading->addButton(findChild<QRadioButton*>(QStringLiteral("loading_1")), 1);
    loading->button(0)->setChecked(true);

    for (QGroupBox* frame : {Frame1, Frame2, Frame3}) {
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
    }
}

void frmMain::Form_Load()
{
    cmbTrussType->addItem(QStringLiteral("Pratt Truss"));
    cmbTrussType->addItem(QStringLiteral("Others to follow"));
    cmbTrussType->setCurrentIndex(-1);
}

void frmMain::Form_Unload() { Truss.reset(); }

void frmMain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmMain::setStatus(const QString& text) { txtStatus->setText(text); }
