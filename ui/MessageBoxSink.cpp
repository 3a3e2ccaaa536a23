#include "ui/MessageBoxSink.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void MessageBoxSink::showMessage(const QString& text, MessageIcon icon)
{
    QMessageBox box(toQt(icon), QStringLiteral("Ambrell"), text, QMessageBox::Ok, parent_);
    box.exec();
}
