#pragma once

#include <optional>

#include <QStringList>

#include "report/MemberResultText.h"
#include "report/TrussStudy.h"

// The node table and the member table of a study, as the viewer's tables and
// the calculation pages show them: the file's values and, when it is solved,
// the results. Rows count from 0 (node or member 1); a cell has its text and
// its value, to sort by.
struct TableCell {
    QString text;
    double value = 0.0;
};

class ResultTable {
public:
    enum class Kind { Nodes, Members };
    ResultTable(const TrussStudy& study, Kind kind);

    int rows() const;
    int columns() const { return static_cast<int>(heads().size()); }
    const QStringList& heads() const { return headsOf(kind); }
    static const QStringList& headsOf(Kind kind);
    TableCell cell(int row, int column) const;
    double value(int row, int column) const;  // NaN for a result of a truss not solved
    QStringList rowTexts(int row) const;

private:
    const TrussStudy& study;
    Kind kind;
    std::optional<MemberResultText> memberTexts;  // of the members of a truss solved
};
