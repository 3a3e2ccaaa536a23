#pragma once

#include <memory>

#include <QAbstractTableModel>

#include "viewer/StudyDesign.h"

// The design of every member, a row each in member order, as kvrtool design
// --csv writes it: the cells' text to show, their values to sort by
// (sortRole), the CSV's column names (csvHeadRole) and the utilisation's
// colour behind it; for the envelope of the design file's combinations, a
// last column names each member's governing one.
class DesignTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setDesign(std::shared_ptr<const StudyDesign> design);
    const std::shared_ptr<const StudyDesign>& design() const { return design_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static int numberOf(int row) { return row + 1; }

private:
    std::shared_ptr<const StudyDesign> design_;
};
