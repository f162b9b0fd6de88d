// A host list item's lines as a model for a list view: the view asks only for
// the lines it draws, read from the host's own text, so a list of a million
// lines costs no widget item per line and no copy of its text.
//
// A filter narrows the rows to the lines holding its text. The host and the
// plug-in go on counting the item's own lines, so a row and the line it shows
// are told apart (line_at, row_of). With no filter a row is its line, and the
// filter costs nothing.
#pragma once

#include <QAbstractListModel>

#include <string_view>
#include <vector>

#include "dialog.h"
#include "line_search.h"

namespace ughost {

class ListModel : public QAbstractListModel {
public:
    ListModel(const Item& item, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Type-ahead asks for the next line starting with what was typed; where no
    // line does, the next line holding it is found, so a reference's number
    // typed without its prefix finds the reference.
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits,
                          Qt::MatchFlags flags) const override;

    // The host has already changed the item's lines; the view is told here.
    void line_inserted(int line);
    void line_removed(int line);
    // The lines changed wholesale: emptied, refilled.
    void lines_replaced();

    void set_filter(const QString& text);
    // -1 for a row that is not there.
    int line_at(int row) const;
    // -1 for a line that is not there or that the filter hides.
    int row_of(int line) const;
    // The row of the line, which is shown even where the filter would hide it
    // (the host's selected line: the user sees what Edit and Delete act on);
    // -1 for a line that is not there. It stays until the filter or the lines
    // change wholesale, so no row moves under the pointer when the selection does.
    int show_line(int line);

private:
    bool filtering() const { return !filter_.empty(); }
    // Shown though the filter would hide it.
    bool kept_for_selection(int line) const;
    void find_shown_lines();
    template <class Test>
    QModelIndexList rows_where(const QModelIndex& start, int hits, bool wrap, Test test) const;

    const Item& item_;
    int lines_ = 0;  // what the view was last told, which the item's lines are ahead of until it is
    LineSearch filter_;
    std::vector<int> shown_;  // while filtering: the lines shown, in order
};

}  // namespace ughost
