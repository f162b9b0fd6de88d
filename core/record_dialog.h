// The record dialog of the editors whose main dialog is only a list (the
// cut-method and tool-material editors): Edit and New open a second dialog over
// the list for one row, which its OK stores back into the table.
//
//   const RecordDialog form = {"strakeledit.dlg", callbacks, 8, " Невозможно загрузить ..."};
//   int response = run_record_dialog(form, row);  // row < 0: a new row; 2: OK stored it
//
// The editor's callbacks of that dialog fill it with record_to_show and store it
// with store_record; both read record_index.
#pragma once

#include <span>

#include "command_set.h"
#include "in_dialog_edit.h"
#include "record_table.h"
#include "uf.h"

struct RecordDialog {
    const char* dialog_file;
    UF_STYLER_callback_info_t* callbacks;
    int count;                 // entries of callbacks, the terminator included
    const char* failure_text;  // told the user when the dialog cannot be created
};

// The row the record dialog shows and stores; negative for a new row. Set
// afresh by every run_record_dialog.
extern long record_index;

// -1 when no host session opens, -2 when the dialog cannot be created (the user
// has been told), otherwise the response the dialog ended with.
int run_record_dialog(const RecordDialog& form, long index);

// The constructor of a main dialog that is only a list: the table read from its
// file, one line per row, the first line selected. A file that cannot be read
// leaves the list empty (the loader has said why).
void list_loaded_table(int dialog, const Editor& editor);

// Asks a text field for a record field, which holds all but its terminator;
// false (the user told why) when the value cannot be stored.
inline bool ask_record_text(int dialog, const char* item, const char* label, std::span<char> field) {
    return ask_storable_text(dialog, item, label, field.size() - 1, field);
}

// What the record dialog shows: a copy of the row it edits or, for a new row,
// the editor's defaults under a fresh library reference.
template <class Record>
Record record_to_show(const Editor& editor, const RecordTable<Record>& table, const Record& defaults) {
    if (table.has_row(record_index)) return table.copy_of(static_cast<std::size_t>(record_index));
    Record fresh = defaults;
    copy_text(fresh.LIBRF, new_libref(editor));
    return fresh;
}

// The body of the record dialog's OK: the fields read over a copy of the row
// (or a new "DATA" row) and stored over the row (or appended). A value the file
// cannot hold stores nothing and keeps the dialog open, so the user can put it
// right or cancel.
template <class Record>
int store_record(int dialog, RecordTable<Record>& table, bool (*read_fields)(int, Record&)) {
    const bool existing = table.has_row(record_index);
    Record row = existing ? table.copy_of(static_cast<std::size_t>(record_index)) : Record{};
    if (!existing) copy_text(row.tag, "DATA");
    if (!read_fields(dialog, row)) return UF_UI_CB_CONTINUE_DIALOG;
    if (existing) {
        table.at(static_cast<std::size_t>(record_index)) = row;
    } else {
        table.append(row);
    }
    return UF_UI_CB_EXIT_DIALOG;
}
