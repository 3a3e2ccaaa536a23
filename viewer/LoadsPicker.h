#pragma once

#include <vector>

#include <QComboBox>

#include "viewer/LoadsShown.h"

class TrussDocument;

// The loads the drawing, the tables and the summary show: the file's own,
// each load case of the design file, each combination (generated, then the
// engineer's own) and the envelope of the strength combinations. Filled
// again whenever the design file is read; disabled, its tooltip saying why,
// while there is no design file or it gives no cases.
class LoadsPicker : public QComboBox {
    Q_OBJECT
public:
    explicit LoadsPicker(TrussDocument& document, QWidget* parent = nullptr);

    const std::vector<LoadsEntry>& entries() const { return entries_; }

private:
    void fill();

    TrussDocument& document;
    std::vector<LoadsEntry> entries_;
};
