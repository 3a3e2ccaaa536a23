#include "viewer/TrussTableModel.h"

TrussTableModel::TrussTableModel(ResultTable::Kind kind, QObject* parent) : QAbstractTableModel(parent), kind(kind) {}

void TrussTableModel::setStudy(std::shared_ptr<const TrussStudy> next)
{
    beginResetModel();
    study = std::move(next);
    table.reset();
    if (study)
        table.emplace(*study, kind);
    endResetModel();
}

int TrussTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !table ? 0 : table->rows();
}

int TrussTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(ResultTable::headsOf(kind).size());
}

QVariant TrussTableModel::data(const QModelIndex& index, int role) const
{
    if (!table || !index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return table->cell(index.row(), index.column()).text;
    case sortRole:
        return table->value(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TrussTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return ResultTable::headsOf(kind).value(section);
}

QString TrussTableModel::factsOf(int row) const
{
    if (!table || row < 0 || row >= table->rows())
        return {};
    const QStringList heads = table->heads();
    QStringList facts;
    for (int c = 1; c < table->columns(); ++c)
        if (const QString text = table->cell(row, c).text; !text.isEmpty())
            facts << heads[c] + u' ' + text;
    return heads[0] + u' ' + table->cell(row, 0).text + QStringLiteral(": ") + facts.join(QStringLiteral(", "));
}

QString csvOf(const QAbstractItemModel& model, const QList<int>& rows)
{
    const auto quoted = [](QString text) {
        if (!text.contains(u',') && !text.contains(u'"'))
            return text;
        return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
    };
    QStringList lines;
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c) {
        const QVariant csvHead = model.headerData(c, Qt::Horizontal, csvHeadRole);
        cells << quoted(csvHead.isValid() ? csvHead.toString() : model.headerData(c, Qt::Horizontal).toString());
    }
    lines << cells.join(u',');
    for (const int row : rows) {
        cells.clear();
        for (int c = 0; c < model.columnCount(); ++c)
            cells << quoted(model.index(row, c).data().toString());
        lines << cells.join(u',');
    }
    return lines.join(u'\n') + u'\n';
}
