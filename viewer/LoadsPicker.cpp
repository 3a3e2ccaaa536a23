#include "viewer/LoadsPicker.h"

#include "viewer/TrussDocument.h"

LoadsPicker::LoadsPicker(TrussDocument& document, QWidget* parent) : QComboBox(parent), document(document)
{
    setObjectName(QStringLiteral("loads"));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(&document, &TrussDocument::designFileChanged, this, &LoadsPicker::fill);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && std::size_t(index) < entries_.size())
            this->document.showLoads(entries_[std::size_t(index)].loads);
    });
    fill();
}

void LoadsPicker::fill()
{
    const DesignFileWatch& file = document.designFile();
    const bool read = file.state() == DesignFileWatch::State::Read;
    entries_ = read ? loadsEntries(*file.design()) : std::vector<LoadsEntry>{{{}, tr("the file's own loads")}};
    const QSignalBlocker blocked(this);
    clear();
    for (const LoadsEntry& entry : entries_)
        addItem(entry.label);
    const LoadsShown shown = document.loadsShown();
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].loads == shown)
            setCurrentIndex(int(i));

    const QString name = file.fileName();
    setEnabled(entries_.size() > 1);
    switch (file.state()) {
    case DesignFileWatch::State::None:
        setToolTip(tr("Open a truss file to show it under the load cases of the design file beside it."));
        break;
    case DesignFileWatch::State::Reading:
        setToolTip(tr("Reading %1…").arg(name));
        break;
    case DesignFileWatch::State::Absent:
        setToolTip(tr("No design file %1 beside the truss file: its load cases, their combinations and their envelope "
                      "are chosen here once there is one.")
                       .arg(name));
        break;
    case DesignFileWatch::State::Refused:
        setToolTip(
            tr("The truss is shown under its file's own loads until the mistake in %1 is mended: %2").arg(name, file.problem()));
        break;
    case DesignFileWatch::State::Read:
        setToolTip(isEnabled() ? tr("The loads the drawing, the tables and the summary show, from %1.").arg(name)
                               : tr("%1 has no load cases ([[case]]).").arg(name));
        break;
    }
}
