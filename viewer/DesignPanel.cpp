#include "viewer/DesignPanel.h"

#include <cmath>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFileInfo>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "design/SectionTable.h"
#include "numbers/NumberRule.h"
#include "viewer/DesignChoiceFile.h"
#include "viewer/TrussDocument.h"

namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QString capitalised(QString s)
{
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

QStringList gradesOf(DesignCode code)
{
    QStringList grades;
    for (const std::string& grade : code == DesignCode::En1993 ? en1993::gradeNames() : aisc360::gradeNames())
        grades << QString::fromStdString(grade);
    return grades;
}

QStringList designationsOf(DesignCode code)
{
    QStringList designations;
    for (const Section& section : sectionsOf(code))
        designations << QString::fromStdString(section.designation);
    return designations;
}

}  // namespace

DesignPanel::DesignPanel(const TrussDocument& document, QWidget* parent)
    : QWidget(parent),
      document(document),
      code(new QComboBox),
      grade(new QComboBox),
      designations(new QStringListModel(this)),
      colour(new QCheckBox(tr("Colour the members by utilisation"))),
      message_(new QLabel),
      kept(new QLabel)
{
    code->setObjectName(QStringLiteral("designCode"));
    for (const DesignCode c : {DesignCode::En1993, DesignCode::Aisc360})
        code->addItem(QLatin1String(codeName(c)), int(c));
    grade->setObjectName(QStringLiteral("designGrade"));
    for (QComboBox* box : {code, grade}) {
        box->setMinimumContentsLength(12);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    auto* form = new QFormLayout;
    form->addRow(tr("Code"), code);
    form->addRow(tr("Steel"), grade);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Section")), 0, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Out of plane (m)")), 0, 3);
    int r = 1;
    for (const MemberGroup group : designGroups) {
        const QString key = groupKey(group);
        GroupRow row{new QComboBox, new QComboBox, new QLineEdit};
        row.family->setObjectName(QStringLiteral("family-") + key);
        row.section->setObjectName(QStringLiteral("section-") + key);
        row.section->setEditable(true);
        row.section->setInsertPolicy(QComboBox::NoInsert);
        row.section->setMinimumContentsLength(12);
        row.section->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        row.section->lineEdit()->setPlaceholderText(tr("choose or type"));
        // Any section of the code, by any part of its designation.
        auto* completer = new QCompleter(designations, row.section);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setFilterMode(Qt::MatchContains);
        completer->setCompletionMode(QCompleter::PopupCompletion);
        row.section->setCompleter(completer);
        row.outOfPlane->setObjectName(QStringLiteral("outOfPlane-") + key);
        row.outOfPlane->setPlaceholderText(tr("member length"));
        row.outOfPlane->setMaximumWidth(row.outOfPlane->fontMetrics().horizontalAdvance(tr("member length")) + 16);
        row.outOfPlane->setToolTip(tr("The distance between the lateral restraints of the %1, m: the buckling length out "
                                      "of the truss's plane. Empty: the member's length.")
                                       .arg(designText::groupTitle(group)));
        grid->addWidget(new QLabel(capitalised(designText::groupTitle(group))), r, 0);
        grid->addWidget(row.family, r, 1);
        grid->addWidget(row.section, r, 2);
        grid->addWidget(row.outOfPlane, r, 3);
        ++r;
        rows.emplace(group, row);

        connect(row.family, &QComboBox::currentIndexChanged, this, [this, group] { chooseFamily(group); });
        connect(row.section, &QComboBox::activated, this,
                [this, group, box = row.section](int index) { chooseSection(group, box->itemText(index)); });
        connect(row.section->lineEdit(), &QLineEdit::editingFinished, this,
                [this, group, box = row.section] { chooseSection(group, box->currentText()); });
        connect(completer, qOverload<const QString&>(&QCompleter::activated), this,
                [this, group](const QString& picked) { chooseSection(group, picked); });
        connect(row.outOfPlane, &QLineEdit::editingFinished, this, [this, group] { chooseRestraint(group); });
    }
    grid->setColumnStretch(2, 1);

    colour->setObjectName(QStringLiteral("colourByUtilisation"));
    colour->setChecked(true);
    message_->setObjectName(QStringLiteral("designMessage"));
    message_->setWordWrap(true);
    message_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // wraps to the controls' width
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(grid);
    layout->addWidget(colour);
    layout->addWidget(message_);
    kept->setObjectName(QStringLiteral("designKept"));
    kept->setWordWrap(true);
    kept->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    kept->setTextInteractionFlags(Qt::TextSelectableByMouse);
    kept->setEnabled(false);  // a note, greyed beside the verdict
    layout->addWidget(kept);
    layout->addStretch(1);

    connect(code, &QComboBox::currentIndexChanged, this, &DesignPanel::chooseCode);
    connect(grade, &QComboBox::currentIndexChanged, this, [this] {
        choice_.ofCode().grade = grade->currentData().toString();
        changed();
    });
    connect(colour, &QCheckBox::toggled, this, &DesignPanel::showColours);
    connect(&document, &TrussDocument::designFileChanged, this, &DesignPanel::takeDesignFile);
    showChoice();
    design();
}

QString DesignPanel::message() const { return message_->text(); }

QString DesignPanel::whereKept() const { return kept->text(); }

void DesignPanel::showStudy(bool sameFile)
{
    if (!sameFile) {
        // A file without a choice of its own starts from the one shown; its
        // design file's, once read, replaces it.
        if (std::optional<DesignChoice> stored = loadDesignChoice(document.filePath()))
            choice_ = std::move(*stored);
        badRestraints.clear();
        notWritten.reset();
        showChoice();
        sayWhereKept();
    }
    design();
}

// The design file read (again): its choice is shown, unless it holds the
// one shown already (as after the panel wrote it; a section typed that no
// table holds, which it cannot hold, stays as typed).
void DesignPanel::takeDesignFile()
{
    const DesignFileWatch& file = document.designFile();
    if (file.state() == DesignFileWatch::State::Read && !(withChoice(*file.design(), choice_) == *file.design())) {
        choice_ = choiceOf(*file.design(), choice_);
        badRestraints.clear();
        notWritten.reset();
        showChoice();
        design();
    }
    sayWhereKept();
}

void DesignPanel::sayWhereKept()
{
    const DesignFileWatch& file = document.designFile();
    const QString name = file.fileName();
    switch (file.state()) {
    case DesignFileWatch::State::None:
        return kept->clear();
    case DesignFileWatch::State::Reading:
        return kept->setText(tr("Reading %1…").arg(name));
    case DesignFileWatch::State::Absent:
        return kept->setText(
            tr("No design file %1 beside the truss file: the choice is kept in the viewer's settings.").arg(name));
    case DesignFileWatch::State::Refused:
    case DesignFileWatch::State::Read:
        break;
    }
    if (notWritten)
        kept->setText(tr("The choice is not written into %1: %2").arg(name, *notWritten));
    else if (file.state() == DesignFileWatch::State::Refused)
        kept->setText(tr("%1 has a mistake: nothing is written into it; once it is mended, the panel shows its choice.").arg(name));
    else
        kept->setText(tr("The choice is kept in %1.").arg(name));
}

void DesignPanel::showChoice()
{
    {
        const QSignalBlocker blocked(code);
        code->setCurrentIndex(code->findData(int(choice_.code)));
    }
    designations->setStringList(designationsOf(choice_.code));
    fillGrades();
    for (const MemberGroup group : designGroups) {
        fillSections(group);
        const auto metres = choice_.outOfPlane.find(group);
        rows.at(group).outOfPlane->setText(metres == choice_.outOfPlane.end()
                                               ? QString()
                                               : QLocale().toString(metres->second, 'g', QLocale::FloatingPointShortest));
    }
}

// EN 1993-1-1's grades, S355 unless another is chosen; AISC 360-16's by the
// shape unless one is chosen.
void DesignPanel::fillGrades()
{
    const QSignalBlocker blocked(grade);
    grade->clear();
    if (choice_.code == DesignCode::Aisc360)
        grade->addItem(designText::defaultGrade(DesignCode::Aisc360), QString());
    for (const QString& name : gradesOf(choice_.code))
        grade->addItem(name, name);
    const QString chosen = std::as_const(choice_).ofCode().grade;
    const QString wanted =
        chosen.isEmpty() && choice_.code == DesignCode::En1993 ? designText::defaultGrade(DesignCode::En1993) : chosen;
    if (grade->findData(wanted) < 0)
        grade->addItem(wanted, wanted);  // kept from elsewhere: the design says what is wrong with it
    grade->setCurrentIndex(grade->findData(wanted));
}

// The families of the code, the chosen section's selected; that family's
// sections to choose from.
void DesignPanel::fillSections(MemberGroup group)
{
    const GroupRow& row = rows.at(group);
    const DesignChoice::OfCode ofCode = std::as_const(choice_).ofCode();
    const auto named = ofCode.sections.find(group);
    const QString chosen = named == ofCode.sections.end() ? QString() : named->second;
    const Section* section = findSection(choice_.code, chosen.toStdString());
    const QSignalBlocker blockFamily(row.family), blockSection(row.section);
    const QVariant shown = row.family->currentData();
    row.family->clear();
    for (const SectionFamily family : familiesOf(choice_.code))
        row.family->addItem(text(nameOf(family)), int(family));
    const int at = row.family->findData(section != nullptr ? QVariant(int(section->family)) : shown);
    row.family->setCurrentIndex(std::max(at, 0));
    row.section->clear();
    for (const Section* s : sectionsOf(choice_.code, SectionFamily(row.family->currentData().toInt())))
        row.section->addItem(QString::fromStdString(s->designation));
    row.section->setCurrentIndex(section != nullptr ? row.section->findText(QString::fromStdString(section->designation)) : -1);
    row.section->setEditText(section != nullptr ? QString::fromStdString(section->designation) : chosen);
}

void DesignPanel::chooseCode()
{
    choice_.code = DesignCode(code->currentData().toInt());
    badRestraints.clear();
    showChoice();
    changed();
}

// Another family: its sections to choose from; the group's section, of
// another family, is no longer chosen.
void DesignPanel::chooseFamily(MemberGroup group)
{
    auto& sections = choice_.ofCode().sections;
    const auto named = sections.find(group);
    const Section* section = named == sections.end() ? nullptr : findSection(choice_.code, named->second.toStdString());
    const bool dropped =
        named != sections.end() && (section == nullptr || int(section->family) != rows.at(group).family->currentData().toInt());
    if (dropped)
        sections.erase(named);
    fillSections(group);
    if (dropped)
        changed();
}

// A section picked or typed: one of the code's, whatever its family,
// matched ignoring case and blanks; what matches none stays as typed, and
// the design says so.
void DesignPanel::chooseSection(MemberGroup group, const QString& typed)
{
    const Section* section = findSection(choice_.code, typed.trimmed().toStdString());
    const QString now = section != nullptr ? QString::fromStdString(section->designation) : typed.trimmed();
    auto& sections = choice_.ofCode().sections;
    const auto named = sections.find(group);
    const QString before = named == sections.end() ? QString() : named->second;
    if (now.isEmpty())
        sections.erase(group);
    else
        sections[group] = now;
    fillSections(group);
    if (now != before)
        changed();
}

// A length in m greater than 0, in the user's way of writing numbers; empty: the member's length.
void DesignPanel::chooseRestraint(MemberGroup group)
{
    const QString typed = rows.at(group).outOfPlane->text().trimmed();
    const DesignChoice before = choice_;
    const bool wasBad = badRestraints.erase(group) > 0;
    bool ok = false;
    const double metres = numberRule::isNumber(typed) ? QLocale().toDouble(typed, &ok) : 0.0;
    if (typed.isEmpty())
        choice_.outOfPlane.erase(group);
    else if (ok && std::isfinite(metres) && metres > 0)
        choice_.outOfPlane[group] = metres;
    else
        badRestraints[group] = typed;
    if (!(choice_ == before) || wasBad || badRestraints.contains(group))
        changed();
}

void DesignPanel::changed()
{
    if (!document.filePath().isEmpty()) {
        const QString designFile = document.designFile().path();
        if (QFileInfo::exists(designFile)) {
            notWritten = saveIntoDesignFile(designFile, choice_);
        } else {
            notWritten.reset();
            saveDesignChoice(document.filePath(), choice_);
        }
        sayWhereKept();
    }
    design();
}

// The checks of every member take a while on a large truss: they run away
// from the window's thread, and a design asked for since drops this one.
void DesignPanel::design()
{
    const int asked = ++ticket;
    designing_ = false;
    const std::shared_ptr<const TrussStudy> study = document.shown();
    if (!study)
        return showDesign(nullptr, tr("Open a truss file to check its members."));
    const bool envelope = document.loadsShown().kind == LoadsShown::Kind::Envelope;
    if (study->toStudy() || (envelope && study->solution && !document.envelope())) {
        designing_ = true;  // the study comes again once solved
        return showDesign(nullptr, tr("The members are checked once the truss is solved…"));
    }
    if (!study->solution && envelope)
        return showDesign(nullptr, capitalised(QString::fromStdString(study->refusal)) + u'.');
    if (!study->solution)
        return showDesign(
            nullptr,
            tr("The members are not checked: the truss is not solved (%1).").arg(QString::fromStdString(study->refusal)));
    if (envelope) {
        // The design file's own design, made with the envelope.
        std::shared_ptr<const StudyDesign> made = document.envelope();
        const QString said = designText::verdict(made->design) + designText::areaNote(made->study->truss, made->design);
        return showDesign(std::move(made), said.trimmed());
    }
    if (!badRestraints.empty()) {
        const auto& [group, typed] = *badRestraints.begin();
        return showDesign(
            nullptr, tr("Out of plane, %1: '%2' is not a length in m greater than 0.").arg(designText::groupTitle(group), typed));
    }
    const Result<DesignInput> input = designInputOf(choice_);
    if (!input.value)
        return showDesign(nullptr, capitalised(QString::fromStdString(input.error)) + u'.');
    designing_ = true;
    message_->setText(tr("Checking the members…"));
    auto* watcher = new QFutureWatcher<Result<StudyDesign>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, asked] {
        watcher->deleteLater();
        if (asked != ticket)
            return;
        designing_ = false;
        Result<StudyDesign> result = watcher->future().takeResult();
        if (!result.value)
            return showDesign(nullptr, capitalised(QString::fromStdString(result.error)) + u'.');
        auto made = std::make_shared<const StudyDesign>(std::move(*result.value));
        const QString said = designText::verdict(made->design) + designText::areaNote(made->study->truss, made->design);
        showDesign(std::move(made), said.trimmed());
    });
    watcher->setFuture(QtConcurrent::run([study, input = *input.value] { return designStudy(study, input); }));
}

void DesignPanel::showDesign(std::shared_ptr<const StudyDesign> made, const QString& said)
{
    if (made || model.design())
        model.setDesign(std::move(made));
    message_->setText(said);
    showColours();
}

void DesignPanel::showColours()
{
    const std::shared_ptr<const StudyDesign>& made = model.design();
    emit coloursChanged(colour->isChecked() && made ? std::shared_ptr<const MemberColours>(made, &made->colours) : nullptr);
}
