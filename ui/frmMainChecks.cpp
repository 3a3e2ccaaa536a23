// What the window does while the user types, clicks and moves the pointer.
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "numbers/NumberRule.h"
#include "ui/frmMain.h"

void frmMain::connectHandlers()
{
    for (QLineEdit* box : {txtAtop, txtAbtm, txtAweb, txtEtop, txtEbtm, txtEweb, txtSpan, txtHeight, txtPanels, txtW, txtP}) {
        connect(box, &QLineEdit::textChanged, this, [this, box] { checkNumeric(box); });
        box->installEventFilter(this);  // leaving the box runs showStart
    }
    connect(chkConstE, &QCheckBox::clicked, this, &frmMain::chkConstE_Click);
    connect(loading, &QButtonGroup::idClicked, this, &frmMain::loading_Click);
    connect(btnGenerate, &QPushButton::clicked, this, &frmMain::btnGenerate_Click);
}

// Runs on every change of the text, so each intermediate text is judged as
// the user types. Emptying the box raises a change of its own, which finds
// the empty text and passes.
void frmMain::checkNumeric(QLineEdit* box)
{
    const QString text = box->text();
    if (text.isEmpty() || numberRule::isNumber(text))
        return;
    messages_.showMessage(QStringLiteral("Please enter a number"), MessageIcon::Exclamation);
    box->setText(QString());
}

void frmMain::chkConstE_Click()
{
    const bool constant = chkConstE->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(txtEbtm), static_cast<QWidget*>(txtEweb),
                             static_cast<QWidget*>(lblEbtm), static_cast<QWidget*>(lblEweb)})
        control->setEnabled(!constant);
}

void frmMain::loading_Click(int index)
{
    const bool pointLoads = index == 1;
    if (pointLoads) {
        lblW->setEnabled(false);
        txtW->setEnabled(false);
        lblP->setEnabled(true);
        txtP->setEnabled(true);
        curLoadType = 2;
    } else {
        lblP->setEnabled(false);
        txtP->setEnabled(false);
        lblW->setEnabled(true);
        txtW->setEnabled(true);
        curLoadType = 1;
    }
}

void frmMain::mouseMoveEvent(QMouseEvent* event)
{
    setStatus(QStringLiteral("Ready"));
    QWidget::mouseMoveEvent(event);
}

// A box left with its cursor at the end of a long text shows only the text's
// end: "123.456789" would read ".456789", a different number. Shown from its
// start, it shows the number's leading digits. Left for another window or
// for its context menu, the box keeps its cursor, so that typing or pasting
// goes on where it was.
void frmMain::showStart(QLineEdit* box, Qt::FocusReason reason)
{
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        box->setCursorPosition(0);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            showStart(box, static_cast<QFocusEvent*>(event)->reason());
    } else if (event->type() == QEvent::MouseMove) {
        if (watched == Frame1)
            setStatus(QStringLiteral("Enter member data here"));
        else if (watched == Frame2)
            setStatus(QStringLiteral("Enter load data here"));
        else if (watched == Frame3)
            setStatus(QStringLiteral("Enter geometry of the truss here"));
    }
    return QWidget::eventFilter(watched, event);
}
