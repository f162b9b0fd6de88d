// One run of an editor in the desktop front-end, for library_bench to time as a
// whole process: opens the editor, waits until its list shows every row, then
// (for "filter") types a reference's beginning into the list's filter key by
// key and waits for the list to narrow, (for "delete") deletes the first row and
// waits for the list to follow, and leaves with OK (answering Yes to the
// question about unsaved changes).
//
//   QT_QPA_PLATFORM=offscreen gui_bench_run PLUGIN.so DIALOG LIST ROWS open|delete|filter|filter-delete
#include <QAbstractItemView>
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gui_session.h"

namespace {

// Typed in lower case, found in upper: the filter's search folds case on every line.
constexpr const char* filter_text = "fsdo_0012";

QAbstractItemView* list_view(const QString& dialog, const QString& list_name) {
    return child<QAbstractItemView>(window_named(dialog), list_name);
}

int shown_rows(const QString& dialog, const QString& list_name) {
    auto* list = list_view(dialog, list_name);
    return list == nullptr || list->model() == nullptr ? -1 : list->model()->rowCount();
}

// The first line the list shows starts with the text.
bool first_shown(const QString& dialog, const QString& list_name, const QString& text) {
    auto* list = list_view(dialog, list_name);
    return list != nullptr && list->model()->index(0, 0).data().toString().startsWith(text);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc == 6 ? argv[5] : "";
    if (what != "open" && what != "delete" && what != "filter" && what != "filter-delete") {
        std::fputs("usage: gui_bench_run PLUGIN.so DIALOG LIST ROWS open|delete|filter|filter-delete\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    const QString dialog = argv[2];
    const QString list = argv[3];
    const int rows = std::atoi(argv[4]);
    const bool filter = what.starts_with("filter");
    const bool remove = what.ends_with("delete");
    Session session;
    session.step([=] { return shown_rows(dialog, list) == rows; });
    if (filter) {
        session.step([=] { return type_into(window_named(dialog), list + ".filter", filter_text); });
        session.step([=] { return shown_rows(dialog, list) < rows; });
    }
    if (remove) {
        session.step([=] { return click(window_named(dialog), "BLO_ACT_2"); });
        // Filtered, the list shows the row now first, which the plug-in selects, ahead of the rows found.
        session.step([=] { return filter ? first_shown(dialog, list, "FSDO_000001") : shown_rows(dialog, list) == rows - 1; });
    }
    session.step([=] { return click(window_named(dialog), "OK"); });
    if (remove) session.step([] { return answer_box(QMessageBox::Yes); });
    return session.run(argv[1]) ? 0 : 1;
}
