#pragma once

#include <map>
#include <memory>
#include <optional>

#include <QWidget>

#include "viewer/DesignChoice.h"
#include "viewer/DesignTableModel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QStringListModel;
class TrussDocument;

// The Design panel: the code, the grade, a section from the tables and the
// distance between lateral restraints for each group of members. The
// design of the document's solved truss, under the loads shown, follows
// every change, made away from the window's thread; its table of members,
// its verdict and the members' colours by utilisation are shown; for the
// envelope of the design file's combinations, the design file's design of
// every member for its governing combination. The choice is kept in the
// design file beside the truss file, and read from it when it changes;
// without one, in the viewer's settings for the file (the viewer makes no
// file it was not asked for). It comes back when the file is opened again.
class DesignPanel : public QWidget {
    Q_OBJECT
public:
    explicit DesignPanel(const TrussDocument& document, QWidget* parent = nullptr);

    // The document has a new study: for a new file, its choice is read back;
    // the design is made again.
    void showStudy(bool sameFile);

    const DesignChoice& choice() const { return choice_; }
    DesignTableModel& table() { return model; }
    bool designing() const { return designing_; }
    QString message() const;  // the verdict, or why there is no design
    QString whereKept() const;  // where the choice is kept, or why it is not written into the design file

signals:
    // The members' colours by utilisation, or null: by their forces.
    void coloursChanged(std::shared_ptr<const MemberColours> colours);

private:
    struct GroupRow {
        QComboBox* family;
        QComboBox* section;
        QLineEdit* outOfPlane;
    };

    void takeDesignFile();
    void sayWhereKept();
    void showChoice();
    void fillGrades();
    void fillSections(MemberGroup group);
    void chooseCode();
    void chooseFamily(MemberGroup group);
    void chooseSection(MemberGroup group, const QString& text);
    void chooseRestraint(MemberGroup group);
    void changed();
    void design();
    void showDesign(std::shared_ptr<const StudyDesign> design, const QString& message);
    void showColours();

    const TrussDocument& document;
    DesignChoice choice_;
    std::map<MemberGroup, QString> badRestraints;  // what was typed, where it is not a length
    DesignTableModel model;
    QComboBox *code, *grade;
    std::map<MemberGroup, GroupRow> rows;
    QStringListModel* designations;  // of the code, for completion
    QCheckBox* colour;
    QLabel* message_;
    QLabel* kept;
    std::optional<QString> notWritten;  // why the design file does not hold the choice
    int ticket = 0;  // of the design asked for last
    bool designing_ = false;
};
