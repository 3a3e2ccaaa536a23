#include "viewer/DesignTableModel.h"

#include <limits>

#include "viewer/TrussTableModel.h"

namespace {

// The columns of designText::tableHeads, and for the envelope the governing combination's.
namespace column {
enum : int { member, group, section, length, force, resistance, utilisation, governing, combination };
}

}  // namespace

void DesignTableModel::setDesign(std::shared_ptr<const StudyDesign> design)
{
    beginResetModel();
    design_ = std::move(design);
    endResetModel();
}

int DesignTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !design_ ? 0 : static_cast<int>(design_->design.members.size());
}

int DesignTableModel::columnCount(const QModelIndex& parent) const
{
    const bool named = design_ && !design_->combinations.empty();
    return parent.isValid() ? 0 : static_cast<int>(designText::tableHeads().size()) + (named ? 1 : 0);
}

QVariant DesignTableModel::data(const QModelIndex& index, int role) const
{
    if (!design_ || !index.isValid())
        return {};
    const MemberDesign& m = design_->design.members[std::size_t(index.row())];
    const Verdict& v = m.verdict();
    const bool checked = v.governing != CheckKind::NotChecked;
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == column::combination)
            return design_->combinations[std::size_t(m.member)];
        return designText::memberCells(*design_->study->solution, m).value(index.column());
    case TrussTableModel::sortRole:
        switch (index.column()) {
        case column::member:
            return m.member;
        case column::length:
            return m.length;
        case column::force:
            return m.force;
        case column::resistance:
            return v.resistance;
        case column::utilisation:
            // A member not checked ranks above every utilisation, as it governs its group.
            return checked ? v.utilisation : std::numeric_limits<double>::infinity();
        default:
            return data(index, Qt::DisplayRole);
        }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            (index.column() == column::group || index.column() == column::section || index.column() >= column::governing
                 ? Qt::AlignLeft
                 : Qt::AlignRight)
            | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (index.column() == column::utilisation) {
            QColor tint = bandColour(designText::bandOf(v));
            tint.setAlpha(70);  // the text stays readable over it
            return tint;
        }
        return {};
    default:
        return {};
    }
}

QVariant DesignTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == column::combination && (role == Qt::DisplayRole || role == csvHeadRole))
        return QStringLiteral("combination");
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return designText::tableHeads().value(section);
    if (orientation == Qt::Horizontal && role == csvHeadRole)
        return designText::csvHeads().value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
