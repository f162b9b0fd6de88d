// The row of command buttons every editor carries ("BLO_ACT"), written once:
// what each button does, with the editors' differences given as data.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "record_table.h"

enum class Command { edit, create, remove, list, load, save, none };

// The editor's own table as the commands see it.
class EditorTable {
public:
    virtual ~EditorTable() = default;
    virtual std::size_t size() const = 0;
    // Puts the row's list line into line, whose storage a refill reuses from row to row.
    virtual void list_line(std::size_t row, std::string& line) const = 0;
    // The row's reference, valid while the table is unchanged.
    virtual std::string_view reference(std::size_t row) const = 0;
    virtual void remove(std::size_t row) = 0;
    virtual int load() = 0;
    virtual int save() = 0;
};

// An editor's command row, described with designated initializers; what an
// editor does not have stays null.
struct Editor {
    EditorTable* table = nullptr;
    // The editor's edit_mode (-1 browsing, 0 editing the selected row, 1 creating
    // a row); null for editors with a record dialog.
    int* edit_mode = nullptr;
    const char* list_item = nullptr;     // the list that shows the table
    std::array<Command, 7> commands{};   // by button index
    const char* reference_format = nullptr;  // of generated library references, e.g. "FSDO_%04d"
    // Editors that edit in their main dialog: the reference item and the field that
    // gets the focus for a new row. Null for editors with a record dialog.
    const char* reference_item = nullptr;
    const char* first_value_field = nullptr;
    // Shows the selected row in the fields; null when the fields are not the row's.
    void (*show_selected_row)(int dialog) = nullptr;
    // Rebuilds the whole dialog from the files (ratomir); null: reload the table only.
    void (*reload)(int dialog) = nullptr;
    // Opens the record dialog for a row (-1: a new row); returns the dialog response.
    int (*record_dialog)(int dialog, long row) = nullptr;
    void (*listing)() = nullptr;
};

// The "BLO_ACT" callback body: runs the command of the pressed button.
void dispatch_command(int dialog, const Editor& editor);

int remove_row(const Editor& editor, long index);
std::string new_libref(const Editor& editor);
void enter_edit_state(int dialog, const Editor& editor, int mode);
void leave_edit_state(int dialog, const Editor& editor);
// Empties the list and puts one line per row in it.
void refill_list(int dialog, const Editor& editor);
// Puts one line per row into the (empty) list.
void insert_all_lines(int dialog, const Editor& editor);

// Shows "Неизвестная команда": a button index that no command has.
void show_unknown_command();

// Whether a text can be stored in a field that a save keeps max_length characters
// of; if not, tells the user which field and why.
bool storable_text(const char* field_label, const std::string& value, std::size_t max_length);
// Whether a number can be written to a library file: the host takes the file's
// numbers as cutting data, and infinity or NaN is none. If not, tells the user.
bool storable_number(double value);

// An editor table over a record table, with the editor's list line.
template <class Record>
class RecordEditorTable : public EditorTable {
public:
    RecordEditorTable(RecordTable<Record>& rows, void (*line)(const Record&, std::string&), int (*load)(),
                      int (*save)())
        : rows_(rows), line_(line), load_(load), save_(save) {}

    std::size_t size() const override { return rows_.size(); }
    // Rows are read through the const table: a row handed out to change counts as changed.
    void list_line(std::size_t row, std::string& line) const override { line_(std::as_const(rows_).at(row), line); }
    std::string_view reference(std::size_t row) const override {
        const auto& reference = std::as_const(rows_).at(row).LIBRF;
        return {reference, strnlen(reference, sizeof reference)};
    }
    void remove(std::size_t row) override { rows_.remove(row); }
    int load() override { return load_(); }
    int save() override { return save_(); }

private:
    RecordTable<Record>& rows_;
    void (*line_)(const Record&, std::string&);
    int (*load_)();
    int (*save_)();
};
