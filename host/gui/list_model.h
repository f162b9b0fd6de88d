// A host list item's lines as a model for a list view: the view asks only for
// the lines it draws, read from the host's own text, so a list of a million
// lines costs no widget item per line and no copy of its text.
#pragma once

#include <QAbstractListModel>

#include "dialog.h"

namespace ughost {

class ListModel : public QAbstractListModel {
public:
    ListModel(const Item& item, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The host has already changed the item's lines; the view is told here.
    void line_inserted(int row);
    void line_removed(int row);
    // The lines changed wholesale: emptied, refilled.
    void lines_replaced();

private:
    const Item& item_;
    int rows_ = 0;  // what the view was last told, which the item's lines are ahead of until it is
};

}  // namespace ughost
