#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>

std::optional<QString> ScriptedDialog::exec()
{
    showings.push_back({fileName(), dialogTitle(), defaultExt(), initDir(), filter(), flags(), cancelError()});
    if (whileShown)
        whileShown();
    if (answers.empty())
        return std::nullopt;
    // Taken apart rather than copied whole: GCC 12 at -O2 takes a copied
    // std::optional<QString> for uninitialized.
    const bool cancelled = !answers.front().has_value();
    const QString name = answers.front().value_or(QString());
    answers.pop_front();
    if (cancelled)
        return std::nullopt;
    return name;
}

void enableBox(frmMain& window, const QString& name)
{
    const auto click = [&](const char* button) { window.findChild<QAbstractButton*>(QString::fromUtf8(button))->click(); };
    if (name == QLatin1String("txtEbtm") || name == QLatin1String("txtEweb"))
        click("chkConstE");
    if (name == QLatin1String("txtP"))
        click("loading_1");
}

void TestWindow::click(const char* name) { window.findChild<QAbstractButton*>(QString::fromUtf8(name))->click(); }

QStringList clippedControls(const frmMain& window)
{
    QStringList clipped;
    const auto expect = [&](bool holds, const QString& what) {
        if (!holds)
            clipped << what;
    };
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        // A popup, such as the combo box's list, is a window of its own,
        // placed on the screen rather than in its parent.
        if (w->window() != &window)
            continue;
        const QString name = w->objectName();
        const QFontMetrics metrics = w->fontMetrics();
        const QRect inParent(w->pos(), w->size());
        expect(w->parentWidget()->rect().contains(inParent), name + " lies outside its container");
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            expect(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(), name);
            expect(metrics.height() <= label->contentsRect().height(), name);
        } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
            // The indicator keeps its size whatever the font; it must show whole.
            QStyleOptionButton option;
            option.initFrom(w);
            const bool check = qobject_cast<const QCheckBox*>(w);
            const QRect indicator = w->style()->subElementRect(
                check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &option, w);
            expect(w->width() >= w->sizeHint().width(), name);
            expect(w->rect().contains(indicator) && metrics.height() <= w->height(), name);
        } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field =
                combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            expect(w->width() >= w->sizeHint().width(), name);
            expect(metrics.height() <= field.height(), name);
        } else if (qobject_cast<const QAbstractButton*>(w)) {
            expect(w->width() >= w->sizeHint().width(), name);
            expect(w->height() >= w->sizeHint().height(), name);
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(w)) {
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            option.text = frame->title();
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect title =
                frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
            expect(frame->minimumSizeHint().width() <= frame->width(), name);
            expect(frame->rect().contains(title), name);
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            // The text is drawn inside the frame, 2 pixels in from each side.
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
            const QRect text = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
            expect(metrics.height() <= text.height(), name);
            expect(metrics.horizontalAdvance(edit->text()) <= text.width() - 4, name);
        }
    }
    return clipped;
}
