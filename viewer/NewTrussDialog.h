#pragma once

#include <functional>
#include <optional>

#include <QDialog>

#include "kvrfile/TrussFileContent.h"
#include "truss/TrussParameters.h"
#include "truss/TrussTypes.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TrussPreview;

// File ▸ New: a truss of any type from the generator window's parameters,
// numbers typed in the user's locale by the window's number rule. The
// preview follows every change while the values make a truss that can be
// built; otherwise the dialog says why, naming the field, and Save waits.
// Save asks where (through chooseSavePath), writes the file as kvrtool
// generate does, through the model's save routine, and says saved(path).
class NewTrussDialog : public QDialog {
    Q_OBJECT
public:
    // Where the new file goes, proposing a name; empty when the user cancels.
    using SavePathChooser = std::function<QString(QWidget* parent, const QString& proposed)>;

    explicit NewTrussDialog(QWidget* parent = nullptr, const QString& folder = {});

    // Qt's Save dialog by default; tests script it.
    void setSavePathChooser(SavePathChooser chooser) { chooseSavePath = std::move(chooser); }

    // What the values make: the truss, or why there is none.
    const std::optional<TrussFileContent>& truss() const { return truss_; }
    QString reason() const;
    const TrussPreview& preview() const { return *preview_; }
    QPushButton& saveButton() { return *save_; }

signals:
    void saved(const QString& path);

private:
    QLineEdit* numberBox(const char* name, const QString& field);
    const TrussTypeInfo& type() const;
    void typeChanged();
    void rebuild();
    // The parameters, or the reason the first field that cannot be used is refused.
    std::optional<TrussParameters> read(QString& reason) const;
    void save();
    void say(const QString& reason);

    QComboBox* type_;
    QLabel *heightLabel, *panelRule, *reason_;
    QLineEdit *span, *height, *panels, *topA, *topE, *bottomA, *bottomE, *webA, *webE, *w, *p;
    QCheckBox* constantE;
    QButtonGroup* loading;
    TrussPreview* preview_;
    QPushButton* save_;
    QString folder, panelsTyped;  // the count typed before a type of one layout set its own
    std::optional<TrussParameters> parameters_;
    std::optional<TrussFileContent> truss_;
    SavePathChooser chooseSavePath;
};
