#include "ui/CommonDialog.h"

#include <QDir>
#include <QFileDialog>

bool CommonDialog::showSave()
{
    const std::optional<QString> chosen = exec();
    if (!chosen) {
        if (cancelError_)
            return false;
        fileName_.clear();
        return true;
    }
    fileName_ = *chosen;
    return true;
}

QStringList QtCommonDialog::nameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        result << QStringLiteral("%1 (%2)").arg(parts[i], pattern.replace(u';', u' '));
    }
    return result;
}

std::optional<QString> QtCommonDialog::exec()
{
    QFileDialog dialog(parent_, dialogTitle());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Native dialogs on Linux neither add the default extension nor ask
    // before replacing the file it names; Qt's own does both, in that order.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (flags() & OverwritePrompt) == 0);
    dialog.setDefaultSuffix(defaultExt());
    const QStringList filters = nameFilters(filter());
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!initDir().isEmpty() && QDir(initDir()).exists())
        dialog.setDirectory(initDir());
    if (!fileName().isEmpty())
        dialog.selectFile(fileName());

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}
