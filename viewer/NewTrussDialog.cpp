#include "viewer/NewTrussDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include "numbers/NumberRule.h"
#include "truss/clsTruss.h"
#include "viewer/TrussPreview.h"

namespace {

// The model tells of a type it has no builder for; every type listed has one.
class NoticeSink : public MessageSink {
public:
    void showMessage(const QString& text, MessageIcon) override { notice = text; }
    QString notice;
};

QString typed(const QLineEdit* box) { return box->text().trimmed(); }

QString field(const QLineEdit* box) { return box->accessibleName(); }

QString askSavePath(QWidget* parent, const QString& proposed)
{
    QFileDialog dialog(parent, QObject::tr("Save the new truss file"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Qt's own dialog adds .kvr to a name typed without it before it asks
    // whether a file may be replaced; native ones on Linux do neither.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(QStringLiteral("kvr"));
    dialog.setNameFilters({QObject::tr("Truss files (*.kvr)"), QObject::tr("All files (*)")});
    dialog.selectFile(proposed);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().constFirst()
                                                                                   : QString();
}

// The builder's words for what stops it, under the field to change.
QString buildFailure(const TrussBuildError& error, const QString& fieldOfCause)
{
    const QString what = QString::fromStdString(error.what());
    if (error.kind() == TrussBuildError::Kind::ZeroLength)
        return QObject::tr("%1 is too small for its panels: %2.").arg(fieldOfCause, what);
    return QStringLiteral("%1: %2.").arg(fieldOfCause, what);
}

}  // namespace

NewTrussDialog::NewTrussDialog(QWidget* parent, const QString& folder)
    : QDialog(parent),
      type_(new QComboBox),
      heightLabel(new QLabel),
      panelRule(new QLabel),
      reason_(new QLabel),
      constantE(new QCheckBox(tr("Constant E value"))),
      loading(new QButtonGroup(this)),
      preview_(new TrussPreview),
      folder(folder),
      chooseSavePath(askSavePath)
{
    setWindowTitle(tr("New truss file"));
    type_->setObjectName(QStringLiteral("type"));
    for (const TrussTypeInfo& info : trussTypes()) {
        QString title = QString::fromLatin1(info.title);
        title[0] = title[0].toUpper();
        type_->addItem(title, static_cast<int>(info.type));
    }

    auto* geometry = new QGroupBox(tr("Truss geometry"));
    auto* geometryGrid = new QGridLayout(geometry);
    span = numberBox("span", tr("Span (m)"));
    height = numberBox("height", tr("Height (m)"));
    panels = numberBox("panels", tr("Panels"));
    geometryGrid->addWidget(new QLabel(field(span)), 0, 0);
    geometryGrid->addWidget(span, 0, 1);
    geometryGrid->addWidget(heightLabel, 1, 0);
    geometryGrid->addWidget(height, 1, 1);
    geometryGrid->addWidget(new QLabel(field(panels)), 2, 0);
    geometryGrid->addWidget(panels, 2, 1);
    geometryGrid->addWidget(panelRule, 2, 2);

    auto* members = new QGroupBox(tr("Member data"));
    auto* memberGrid = new QGridLayout(members);
    memberGrid->addWidget(new QLabel(tr("Area (mm2)")), 0, 1);
    memberGrid->addWidget(new QLabel(tr("E (kN/mm2)")), 0, 2);
    const auto memberRow = [&](int row, const QString& group, const char* name, QLineEdit*& area, QLineEdit*& modulus) {
        area = numberBox((name + QByteArray("Area")).constData(), tr("%1 area (mm2)").arg(group));
        modulus = numberBox((name + QByteArray("E")).constData(), tr("%1 E (kN/mm2)").arg(group));
        memberGrid->addWidget(new QLabel(group), row, 0);
        memberGrid->addWidget(area, row, 1);
        memberGrid->addWidget(modulus, row, 2);
    };
    memberRow(1, tr("Top chord"), "top", topA, topE);
    memberRow(2, tr("Bottom chord"), "bottom", bottomA, bottomE);
    memberRow(3, tr("Web"), "web", webA, webE);
    constantE->setObjectName(QStringLiteral("constantE"));
    constantE->setChecked(true);
    memberGrid->addWidget(constantE, 4, 0, 1, 3);

    auto* loads = new QGroupBox(tr("Loading data"));
    auto* loadGrid = new QGridLayout(loads);
    w = numberBox("w", tr("w (kN/m)"));
    p = numberBox("P", tr("P (kN)"));
    auto* uniform = new QRadioButton(tr("Top chord UDL, w (kN/m) on plan"));
    auto* nodal = new QRadioButton(tr("Top chord nodal point loads, P (kN); P/2 over a support"));
    uniform->setObjectName(QStringLiteral("udl"));
    nodal->setObjectName(QStringLiteral("pointLoads"));
    loading->addButton(uniform, clsTruss::uniformLoad);
    loading->addButton(nodal, clsTruss::pointLoads);
    uniform->setChecked(true);
    loadGrid->addWidget(uniform, 0, 0);
    loadGrid->addWidget(w, 0, 1);
    loadGrid->addWidget(nodal, 1, 0);
    loadGrid->addWidget(p, 1, 1);

    // The generator window's start values, as the user's locale writes them.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const auto start = [&](QLineEdit* box, double value) {
        box->setText(locale.toString(value, 'g', QLocale::FloatingPointShortest));
    };
    start(span, startValues::span);
    start(height, startValues::height);
    start(panels, startValues::panels);
    for (QLineEdit* area : {topA, bottomA, webA})
        start(area, startValues::area);
    for (QLineEdit* modulus : {topE, bottomE, webE})
        start(modulus, startValues::modulus);
    start(w, startValues::udl);
    start(p, startValues::pointLoad);

    preview_->setObjectName(QStringLiteral("preview"));
    reason_->setObjectName(QStringLiteral("reason"));
    reason_->setWordWrap(true);
    reason_->setStyleSheet(QStringLiteral("QLabel { color: #a00000; }"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    save_ = buttons->button(QDialogButtonBox::Save);
    save_->setText(tr("&Save…"));

    auto* form = new QVBoxLayout;
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(tr("Truss type")));
    typeRow->addWidget(type_, 1);
    form->addLayout(typeRow);
    form->addWidget(geometry);
    form->addWidget(members);
    form->addWidget(loads);
    form->addStretch();
    auto* shown = new QVBoxLayout;
    shown->addWidget(preview_, 1);
    shown->addWidget(reason_);
    auto* both = new QHBoxLayout;
    both->addLayout(form);
    both->addLayout(shown, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(both, 1);
    layout->addWidget(buttons);

    for (QLineEdit* box : {span, height, panels, topA, topE, bottomA, bottomE, webA, webE, w, p})
        connect(box, &QLineEdit::textChanged, this, &NewTrussDialog::rebuild);
    connect(type_, &QComboBox::currentIndexChanged, this, &NewTrussDialog::typeChanged);
    connect(constantE, &QCheckBox::toggled, this, &NewTrussDialog::rebuild);
    connect(loading, &QButtonGroup::idToggled, this, &NewTrussDialog::rebuild);
    connect(buttons, &QDialogButtonBox::accepted, this, &NewTrussDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    typeChanged();
}

QLineEdit* NewTrussDialog::numberBox(const char* name, const QString& fieldName)
{
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(fieldName);
    box->setMaximumWidth(110);
    return box;
}

const TrussTypeInfo& NewTrussDialog::type() const { return *trussTypeOf(type_->currentData().toInt()); }

// A roof's height is its rise; a type of one layout has its own panel count.
void NewTrussDialog::typeChanged()
{
    const TrussTypeInfo& info = type();
    const QSignalBlocker quiet(panels);
    height->setAccessibleName(info.pitched ? tr("Rise (m)") : tr("Height (m)"));
    heightLabel->setText(field(height));
    panelRule->setText(QString::fromStdString(info.panels.text()));
    if (info.panels.fixed()) {
        if (panels->isEnabled())
            panelsTyped = panels->text();
        panels->setText(QLocale().toString(info.panels.smallest));
    } else if (!panels->isEnabled()) {
        panels->setText(panelsTyped);
    }
    panels->setEnabled(!info.panels.fixed());
    rebuild();
}

void NewTrussDialog::rebuild()
{
    const bool same = constantE->isChecked();
    for (QLineEdit* modulus : {bottomE, webE})
        modulus->setEnabled(!same);
    w->setEnabled(loading->checkedId() == clsTruss::uniformLoad);
    p->setEnabled(loading->checkedId() == clsTruss::pointLoads);

    QString why;
    parameters_ = read(why);
    truss_.reset();
    if (parameters_) {
        NoticeSink notices;
        clsTruss builder(notices);
        builder.setParameters(*parameters_);
        try {
            builder.generate();
            if (notices.notice.isEmpty())
                truss_ = builder.file();
            why = notices.notice;
        } catch (const TrussBuildError& error) {
            using Cause = TrussBuildError::Cause;
            const QLineEdit* load = loading->checkedId() == clsTruss::uniformLoad ? w : p;
            const QString at = error.cause() == Cause::Span         ? field(span)
                               : error.cause() == Cause::Height     ? field(height)
                               : error.cause() == Cause::Load       ? field(load)
                               : error.cause() == Cause::PanelCount ? field(panels)
                                                                    : tr("Member data");
            why = buildFailure(error, at);
        }
    }
    if (truss_)
        preview_->setTruss(*truss_);
    else
        preview_->clear();
    say(why);
}

std::optional<TrussParameters> NewTrussDialog::read(QString& reason) const
{
    const auto single = [&](const QLineEdit* box) -> std::optional<float> {
        const numberRule::SingleResult result = numberRule::toSingle(box->text());
        switch (result.status) {
        case numberRule::Conversion::Ok:
            return result.value;
        case numberRule::Conversion::Empty:
            reason = tr("%1 is empty. Please enter a number.").arg(field(box));
            break;
        case numberRule::Conversion::OutOfRange:
            reason = tr("%1 is too large: a Single holds at most 3.4E+38.").arg(field(box));
            break;
        case numberRule::Conversion::NotANumber:
            reason = tr("%1: '%2' is not a number.").arg(field(box), typed(box));
            break;
        }
        return std::nullopt;
    };
    // A span, height, area or modulus: a truss stands only on positive ones.
    const auto positive = [&](const QLineEdit* box) -> std::optional<float> {
        const std::optional<float> value = single(box);
        if (!value || *value > 0.0f)
            return value;
        if (*value == 0.0f && !typed(box).startsWith(u'-')
            && typed(box).contains(QRegularExpression(QStringLiteral("^[^eE]*[1-9]"))))
            reason = tr("%1 is too small: %2 rounds to 0 as a Single.").arg(field(box), typed(box));
        else
            reason = tr("%1 must be greater than 0.").arg(field(box));
        return std::nullopt;
    };

    const TrussTypeInfo& info = type();
    TrussParameters in;
    in.config = static_cast<std::int32_t>(info.type);
    const std::optional<float> L = positive(span);
    const std::optional<float> h = L ? positive(height) : std::nullopt;
    if (!h)
        return std::nullopt;
    const numberRule::IntegerResult np = numberRule::toInteger(panels->text());
    if (np.status == numberRule::Conversion::Empty || np.status == numberRule::Conversion::NotANumber) {
        reason = np.status == numberRule::Conversion::Empty ? tr("%1 is empty. Please enter a number.").arg(field(panels))
                                                            : tr("%1: '%2' is not a number.").arg(field(panels), typed(panels));
        return std::nullopt;
    }
    if (np.status == numberRule::Conversion::OutOfRange || !info.panels.takes(np.value)) {
        reason = tr("%1: the %2 is built for %3.")
                     .arg(field(panels), QLatin1String(info.title), QString::fromStdString(info.panels.text()));
        return std::nullopt;
    }
    // Pratt's own builder divides the span in Singles: panels of no length would stand on one spot.
    if (*L / static_cast<float>(np.value) == 0.0f) {
        reason = tr("%1: the panel length L/N rounds to 0 as a Single.").arg(field(span));
        return std::nullopt;
    }
    in.L = *L;
    in.h = *h;
    in.np = np.value;

    const bool same = constantE->isChecked();
    std::optional<float> values[6];
    QLineEdit* const boxes[6] = {topA, topE, bottomA, same ? topE : bottomE, webA, same ? topE : webE};
    for (int i = 0; i < 6; ++i)
        if (!(values[i] = positive(boxes[i])))
            return std::nullopt;
    in.topA = *values[0];
    in.topE = *values[1];
    in.btmA = *values[2];
    in.btmE = *values[3];
    in.webA = *values[4];
    in.webE = *values[5];

    in.loadType = loading->checkedId();
    const std::optional<float> load = single(in.loadType == clsTruss::uniformLoad ? w : p);
    if (!load)
        return std::nullopt;
    in.loadValue = *load;
    return in;
}

QString NewTrussDialog::reason() const { return reason_->text(); }

void NewTrussDialog::say(const QString& reason)
{
    reason_->setText(reason);
    reason_->setVisible(!reason.isEmpty());
    save_->setEnabled(truss_.has_value());
}

void NewTrussDialog::save()
{
    if (!parameters_ || !truss_)
        return;
    const QString proposed =
        QDir(folder.isEmpty() ? QDir::currentPath() : folder).filePath(QLatin1String(type().name) + QStringLiteral(".kvr"));
    const QString path = chooseSavePath(this, proposed);
    if (path.isEmpty())
        return;  // cancelled: nothing is written
    NoticeSink notices;
    clsTruss builder(notices);
    builder.setParameters(*parameters_);
    builder.setOpenfile(path);
    try {
        if (const std::optional<atomicSave::Failure> failure = builder.saveFile()) {
            say(tr("%1 was not written: %2").arg(QDir::toNativeSeparators(path), atomicSave::describe(*failure)));
            return;
        }
    } catch (const TrussBuildError& error) {  // the parameters built the preview: not to be expected
        say(tr("%1 was not written: %2").arg(QDir::toNativeSeparators(path), QString::fromStdString(error.what())));
        return;
    }
    emit saved(path);
    accept();
}
