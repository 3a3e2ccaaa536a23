// The generate command: from the typed texts through the Save dialog to the
// truss file.
#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpression>

#include "numbers/NumberRule.h"
#include "ui/CommonDialog.h"
#include "ui/frmMain.h"

namespace {

QString panelCountRange()
{
    return QStringLiteral("No. Web Panels must be a whole number from 1 to %1.").arg(TrussParameters::largestPanelCount);
}

// What the user is told about a box whose text the command cannot use.
QString refusal(const QString& field, numberRule::Conversion status)
{
    switch (status) {
    case numberRule::Conversion::Empty:
        return QStringLiteral("%1 is empty. Please enter a number.").arg(field);
    case numberRule::Conversion::OutOfRange:
        return QStringLiteral("%1 is too large. Please enter a number between -3.4E+38 and 3.4E+38.").arg(field);
    case numberRule::Conversion::NotANumber:
    case numberRule::Conversion::Ok:
        break;
    }
    return QStringLiteral("%1 is not a number. Please enter a number.").arg(field);
}

// A span, height, area or modulus: a truss stands only on positive ones.
QString notPositive(const QString& field, const QString& text, float value)
{
    if (value == 0.0f && !text.trimmed().startsWith(u'-') && text.contains(QRegularExpression(QStringLiteral("^[^eE]*[1-9]"))))
        return QStringLiteral("%1 is too small: %2 rounds to 0 as a Single. Please enter a number greater than 0.").arg(field, text.trimmed());
    return QStringLiteral("%1 must be greater than 0. Please enter a number greater than 0.").arg(field);
}

}  // namespace

// Converts every box that the command reads, in the order it reads them, and
// names the first field that cannot be used.
std::optional<TrussParameters> frmMain::readInputs()
{
    bool ok = true;
    // A field is named as a screen reader names its box: by the captions of
    // its row and column.
    const auto single = [&](const QLineEdit* box) {
        const QString field = box->accessibleName();
        if (!ok)
            return 0.0f;
        const numberRule::SingleResult result = numberRule::toSingle(box->text());
        if (result.status != numberRule::Conversion::Ok) {
            refuse(refusal(field, result.status));
            ok = false;
        }
        return result.value;
    };
    const auto positive = [&](const QLineEdit* box) {
        const float value = single(box);
        if (ok && !(value > 0.0f)) {
            refuse(notPositive(box->accessibleName(), box->text(), value));
            ok = false;
        }
        return value;
    };

    TrussParameters in;
    // Every generation builds a Pratt truss, whatever the configuration list shows.
    in.config = clsTruss::prattTruss;
    in.topE = positive(txtEtop);
    if (chkConstE->isChecked()) {
        in.btmE = in.topE;
        in.webE = in.topE;
    } else {
        in.btmE = positive(txtEbtm);
        in.webE = positive(txtEweb);
    }
    in.topA = positive(txtAtop);
    in.btmA = positive(txtAbtm);
    in.webA = positive(txtAweb);
    in.loadType = curLoadType;
    in.loadValue = curLoadType == 1 ? single(txtW) : single(txtP);
    in.L = positive(txtSpan);
    in.h = positive(txtHeight);
    if (!ok)
        return std::nullopt;
    const std::optional<std::int16_t> np = readPanelCount();
    if (!np)
        return std::nullopt;
    in.np = *np;
    return in;
}

std::optional<std::int16_t> frmMain::readPanelCount()
{
    const numberRule::IntegerResult panels = numberRule::toInteger(txtPanels->text());
    switch (panels.status) {
    case numberRule::Conversion::Ok:
        return panels.value;
    case numberRule::Conversion::OutOfRange:
        refuse(panelCountRange());
        return std::nullopt;
    case numberRule::Conversion::Empty:
    case numberRule::Conversion::NotANumber:
        refuse(refusal(txtPanels->accessibleName(), panels.status));
        return std::nullopt;
    }
    return std::nullopt;
}

void frmMain::refuse(const QString& text)
{
    setStatus(QStringLiteral("Ready"));
    messages_.showMessage(text, MessageIcon::Exclamation);
}

void frmMain::btnGenerate_Click()
{
    setStatus(QStringLiteral("Generating truss file...."));

    // Every box is converted before the Save dialog opens, so the engineer
    // never chooses a file for a generation that cannot happen.
    const std::optional<TrussParameters> in = readInputs();
    if (!in)
        return;

    Truss = std::make_unique<clsTruss>(messages_);
    clsTruss& truss = *Truss;
    curLoadValue = in->loadValue;
    truss.setParameters(*in);

    // A trial build, cheap even for the largest truss, tells of a truss that
    // cannot be built before the engineer is asked for a file.
    if (!buildOrReport(&clsTruss::generate))
        return;

    if (!getFileName()) {
        // Nothing is written, neither to an earlier path nor to none.
        setStatus(QStringLiteral("Generation cancelled"));
        return;
    }
    truss.setOpenfile(fileName);

    std::optional<atomicSave::Failure> failure;
    if (!buildOrReport([&failure](clsTruss& t) { failure = t.saveFile(); }))
        return;
    if (failure) {
        // A failure is never reported as success.
        setStatus(QStringLiteral("Truss file not written"));
        reportSaveFailure(*failure);
        return;
    }

    setStatus(QStringLiteral("Generation completed"));
    messages_.showMessage(QStringLiteral("Generation Completed Successfully"), MessageIcon::Information);
}

bool frmMain::buildOrReport(const std::function<void(clsTruss&)>& build)
{
    try {
        build(*Truss);
        return true;
    } catch (const TrussBuildError& error) {
        reportBuildFailure(error);
        return false;
    }
}

void frmMain::reportBuildFailure(const TrussBuildError& error)
{
    QString text;
    switch (error.cause()) {
    case TrussBuildError::Cause::PanelCount:
        text = panelCountRange();
        break;
    case TrussBuildError::Cause::Load:
        text = QStringLiteral("The load per node (w times the panel length) is too large for the truss file. "
                              "Please enter a smaller w (kN/m) or more web panels.");
        break;
    case TrussBuildError::Cause::Span:
        text = QStringLiteral("Span (m) is too large for the truss file. Please enter a smaller span.");
        break;
    case TrussBuildError::Cause::Height:
    case TrussBuildError::Cause::MemberProperty:
        text = QStringLiteral("The truss cannot be built: %1.").arg(QString::fromStdString(error.what()));
        break;
    }
    refuse(text + QStringLiteral("\nNo file was written."));
}

void frmMain::reportSaveFailure(const atomicSave::Failure& failure)
{
    messages_.showMessage(QStringLiteral("Error while saving file ") + Truss->openfile() + QStringLiteral("\r\n")
                              + atomicSave::describe(failure),
                          MessageIcon::Critical);
}

// Asks for the path of the truss file until the user names one or cancels.
// Returns false on cancel; fileName then keeps its earlier value.
bool frmMain::getFileName()
{
    for (;;) {
        CommonDialog1.setDialogTitle(QStringLiteral("Save"));
        CommonDialog1.setFlags(CommonDialog::OverwritePrompt);
        CommonDialog1.setCancelError(true);
        CommonDialog1.setDefaultExt(QStringLiteral("kvr"));
        CommonDialog1.setInitDir(QStringLiteral("C:\\windows\\desktop\\KVR"));
        CommonDialog1.setFilter(QStringLiteral("Kelvor files|*.kvr|All files|*.*"));
        if (!CommonDialog1.showSave())
            return false;
        if (!CommonDialog1.fileName().isEmpty()) {
            fileName = CommonDialog1.fileName();
            return true;
        }
        messages_.showMessage(QStringLiteral("Please Name a File"), MessageIcon::Information);
    }
}
