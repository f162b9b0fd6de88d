// One run of an editor in the desktop front-end, for library_bench to time as a
// whole process: opens the editor, waits until its list shows every row, then
// (for "delete") deletes the first row and waits for the list to follow, and
// leaves with OK (answering Yes to the question about unsaved changes).
//
//   QT_QPA_PLATFORM=offscreen gui_bench_run PLUGIN.so DIALOG LIST ROWS open|delete
#include <QAbstractItemView>
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gui_session.h"

namespace {

int shown_rows(const QString& dialog, const QString& list_name) {
    auto* list = child<QAbstractItemView>(window_named(dialog), list_name);
    return list == nullptr || list->model() == nullptr ? -1 : list->model()->rowCount();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fputs("usage: gui_bench_run PLUGIN.so DIALOG LIST ROWS open|delete\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    const QString dialog = argv[2];
    const QString list = argv[3];
    const int rows = std::atoi(argv[4]);
    const bool remove = std::string(argv[5]) == "delete";
    Session session;
    session.step([=] { return shown_rows(dialog, list) == rows; });
    if (remove) {
        session.step([=] { return click(window_named(dialog), "BLO_ACT_2"); });
        session.step([=] { return shown_rows(dialog, list) == rows - 1; });
    }
    session.step([=] { return click(window_named(dialog), "OK"); });
    if (remove) session.step([] { return answer_box(QMessageBox::Yes); });
    return session.run(argv[1]) ? 0 : 1;
}
