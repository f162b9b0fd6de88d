#include "list_model.h"

#include "gui_text.h"

namespace ughost {

ListModel::ListModel(const Item& item, QObject* parent)
    : QAbstractListModel(parent), item_(item), rows_(static_cast<int>(item.lines.size())) {}

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant ListModel::data(const QModelIndex& index, int role) const {
    const auto row = static_cast<std::size_t>(index.row());
    if (role != Qt::DisplayRole || !index.isValid() || row >= item_.lines.size()) return {};
    return qt(item_.lines[row]);
}

void ListModel::line_inserted(int row) {
    beginInsertRows(QModelIndex(), row, row);
    ++rows_;
    endInsertRows();
}

void ListModel::line_removed(int row) {
    beginRemoveRows(QModelIndex(), row, row);
    --rows_;
    endRemoveRows();
}

void ListModel::lines_replaced() {
    beginResetModel();
    rows_ = static_cast<int>(item_.lines.size());
    endResetModel();
}

}  // namespace ughost
