#include "record_dialog.h"

#include "dialog_items.h"
#include "failure_report.h"
#include "host_session.h"

long record_index = -1;

int run_record_dialog(const RecordDialog& form, long index) {
    const HostSession session;
    if (!session.open()) return -1;
    record_index = index;
    int response = 0;
    const int created = UF_STYLER_create_dialog(form.dialog_file, form.callbacks, form.count, nullptr, &response);
    if (created != 0) {
        report_dialog_not_created(created, form.failure_text);
        return -2;
    }
    return response;
}

void list_loaded_table(int dialog, const Editor& editor) {
    if (editor.table->load() != 0 || editor.table->size() == 0) return;
    insert_all_lines(dialog, editor);
    dialog_items::select_line(dialog, editor.list_item, 0);
}
