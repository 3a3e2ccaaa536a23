#pragma once

#include <optional>

#include <QString>

class QWidget;

// The window's Save-file dialog: its settings, and the file name that it keeps
// from one showing to the next, so that a second generation proposes the path
// chosen the first time. Subclasses show a real dialog (QtCommonDialog) or a
// scripted one in tests.
class CommonDialog {
public:
    // Ask before replacing a file that exists.
    static constexpr int OverwritePrompt = 0x2;

    virtual ~CommonDialog() = default;

    QString dialogTitle() const { return dialogTitle_; }
    void setDialogTitle(const QString& value) { dialogTitle_ = value; }
    int flags() const { return flags_; }
    void setFlags(int value) { flags_ = value; }
    bool cancelError() const { return cancelError_; }
    void setCancelError(bool value) { cancelError_ = value; }
    QString defaultExt() const { return defaultExt_; }
    void setDefaultExt(const QString& value) { defaultExt_ = value; }
    QString initDir() const { return initDir_; }
    void setInitDir(const QString& value) { initDir_ = value; }
    // Entries "description|pattern" joined by '|', e.g. "Kelvor files|*.kvr|All files|*.*".
    QString filter() const { return filter_; }
    void setFilter(const QString& value) { filter_ = value; }
    QString fileName() const { return fileName_; }
    void setFileName(const QString& value) { fileName_ = value; }

    // Shows the dialog modally. Returns false when the user cancelled and
    // cancelError() is set; otherwise fileName() holds the chosen name.
    bool showSave();

protected:
    // Shows the dialog for the current settings, proposing fileName().
    // Returns the chosen name, or nothing when the user cancelled.
    virtual std::optional<QString> exec() = 0;

private:
    QString dialogTitle_;
    int flags_ = 0;
    bool cancelError_ = false;
    QString defaultExt_;
    QString initDir_;
    QString filter_;
    QString fileName_;
};

// The dialog of the toolkit: Qt's own file dialog, which appends the default
// extension to a name typed without one before it asks whether an existing
// file may be replaced.
class QtCommonDialog : public CommonDialog {
public:
    explicit QtCommonDialog(QWidget* parent) : parent_(parent) {}

    // "Kelvor files|*.kvr|All files|*.*" as Qt's name filters. "*.*" means
    // every file, as "*" does here.
    static QStringList nameFilters(const QString& filter);

protected:
    std::optional<QString> exec() override;

private:
    QWidget* parent_;
};
