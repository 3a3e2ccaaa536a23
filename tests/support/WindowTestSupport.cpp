#include "WindowTestSupport.h"

#include <QAbstractButton>

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
