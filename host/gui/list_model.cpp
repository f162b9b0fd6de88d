#include "list_model.h"

#include <QApplication>
#include <QBrush>
#include <QFont>
#include <QPalette>

#include <algorithm>

#include "gui_text.h"

namespace ughost {

ListModel::ListModel(const Item& item, QObject* parent)
    : QAbstractListModel(parent), item_(item), lines_(static_cast<int>(item.lines.size())) {}

int ListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return filtering() ? static_cast<int>(shown_.size()) : lines_;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    const int line = index.isValid() ? line_at(index.row()) : -1;
    if (line < 0 || static_cast<std::size_t>(line) >= item_.lines.size()) return {};
    if (role == Qt::DisplayRole) return qt(item_.lines[static_cast<std::size_t>(line)]);
    if (role != Qt::FontRole && role != Qt::ForegroundRole && role != Qt::ToolTipRole) return {};
    if (!kept_for_selection(line)) return {};
    switch (role) {
        case Qt::FontRole: {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        case Qt::ForegroundRole: return QBrush(QApplication::palette().color(QPalette::Disabled, QPalette::Text));
        default: return QString("Строка не подходит под фильтр: она показана, потому что выбрана");
    }
}

bool ListModel::kept_for_selection(int line) const {
    return filtering() && !filter_.found_in(item_.lines[static_cast<std::size_t>(line)]);
}

template <class Test>
QModelIndexList ListModel::rows_where(const QModelIndex& start, int hits, bool wrap, Test test) const {
    QModelIndexList found;
    const int rows = rowCount();
    const int first = start.isValid() ? start.row() : 0;
    const int end = wrap ? first + rows : rows;
    for (int i = first; i < end && (hits < 0 || found.size() < hits); ++i) {
        const int row = i % rows;
        const int line = line_at(row);
        if (line >= 0 && static_cast<std::size_t>(line) < item_.lines.size() &&
            test(item_.lines[static_cast<std::size_t>(line)])) {
            found.push_back(index(row, 0));
        }
    }
    return found;
}

QModelIndexList ListModel::match(const QModelIndex& start, int role, const QVariant& value, int hits,
                                 Qt::MatchFlags flags) const {
    const auto kind = static_cast<Qt::MatchFlag>((flags & Qt::MatchTypeMask).toInt());
    if (role != Qt::DisplayRole || flags.testFlag(Qt::MatchCaseSensitive) ||
        (kind != Qt::MatchStartsWith && kind != Qt::MatchContains)) {
        return QAbstractListModel::match(start, role, value, hits, flags);
    }
    const LineSearch search(value.toString());
    const bool wrap = flags.testFlag(Qt::MatchWrap);
    const auto holding = [&search](std::string_view line) { return search.found_in(line); };
    if (kind == Qt::MatchContains) return rows_where(start, hits, wrap, holding);
    QModelIndexList found =
        rows_where(start, hits, wrap, [&search](std::string_view line) { return search.starts(line); });
    return found.isEmpty() ? rows_where(start, hits, wrap, holding) : found;
}

void ListModel::line_inserted(int line) {
    if (!filtering()) {
        beginInsertRows(QModelIndex(), line, line);
        ++lines_;
        endInsertRows();
        return;
    }
    ++lines_;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), line);
    std::for_each(at, shown_.end(), [](int& later) { ++later; });
    if (static_cast<std::size_t>(line) >= item_.lines.size() ||
        !filter_.found_in(item_.lines[static_cast<std::size_t>(line)])) {
        return;
    }
    const int row = static_cast<int>(at - shown_.begin());
    beginInsertRows(QModelIndex(), row, row);
    shown_.insert(at, line);
    endInsertRows();
}

void ListModel::line_removed(int line) {
    if (!filtering()) {
        beginRemoveRows(QModelIndex(), line, line);
        --lines_;
        endRemoveRows();
        return;
    }
    --lines_;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), line);
    const bool shown = at != shown_.end() && *at == line;
    // The lines after it move up before the view hears of the row going, so what
    // it asks for then is already the item's lines as they stand.
    std::for_each(shown ? at + 1 : at, shown_.end(), [](int& later) { --later; });
    if (!shown) return;
    const int row = static_cast<int>(at - shown_.begin());
    beginRemoveRows(QModelIndex(), row, row);
    shown_.erase(shown_.begin() + row);
    endRemoveRows();
}

void ListModel::lines_replaced() {
    beginResetModel();
    lines_ = static_cast<int>(item_.lines.size());
    find_shown_lines();
    endResetModel();
}

void ListModel::set_filter(const QString& text) {
    LineSearch filter(text);
    beginResetModel();
    if (filtering() && filter.narrows(filter_)) {
        // Typed on: the lines left are among those shown.
        std::erase_if(shown_, [this, &filter](int line) {
            return !filter.found_in(item_.lines[static_cast<std::size_t>(line)]);
        });
        filter_ = std::move(filter);
    } else {
        filter_ = std::move(filter);
        find_shown_lines();
    }
    endResetModel();
}

void ListModel::find_shown_lines() {
    if (!filtering()) {
        std::vector<int>().swap(shown_);
        return;
    }
    shown_.clear();
    const int lines = std::min(lines_, static_cast<int>(item_.lines.size()));
    for (int line = 0; line < lines; ++line) {
        if (filter_.found_in(item_.lines[static_cast<std::size_t>(line)])) shown_.push_back(line);
    }
}

int ListModel::line_at(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    return filtering() ? shown_[static_cast<std::size_t>(row)] : row;
}

int ListModel::row_of(int line) const {
    if (line < 0 || line >= lines_) return -1;
    if (!filtering()) return line;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), line);
    return at != shown_.end() && *at == line ? static_cast<int>(at - shown_.begin()) : -1;
}

int ListModel::show_line(int line) {
    if (line < 0 || line >= lines_) return -1;
    if (const int row = row_of(line); row >= 0) return row;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), line);
    const int row = static_cast<int>(at - shown_.begin());
    beginInsertRows(QModelIndex(), row, row);
    shown_.insert(at, line);
    endInsertRows();
    return row;
}

}  // namespace ughost
