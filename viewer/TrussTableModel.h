#pragma once

#include <memory>
#include <optional>

#include <QAbstractTableModel>

#include "report/ResultTables.h"

// The node table or the member table of a study, with its results: the
// cells' text to show and their values to sort by (sortRole).
class TrussTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int sortRole = Qt::UserRole;
    explicit TrussTableModel(ResultTable::Kind kind, QObject* parent = nullptr);

    void setStudy(std::shared_ptr<const TrussStudy> study);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The node or member number of a row of this model.
    static int numberOf(int row) { return row + 1; }
    static int rowOf(int number) { return number - 1; }
    // What a row is, in one line: "member 12: first 3, second 4, ...".
    QString factsOf(int row) const;

private:
    ResultTable::Kind kind;
    std::shared_ptr<const TrussStudy> study;
    std::optional<ResultTable> table;
};

// A column's name in CSV, where it is not its head.
inline constexpr int csvHeadRole = Qt::UserRole + 1;

// The rows, in their order, as CSV under the heads of the model's columns
// (their csvHeadRole where they have one).
QString csvOf(const QAbstractItemModel& model, const QList<int>& rows);
