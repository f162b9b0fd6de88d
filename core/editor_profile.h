// What sets the four editors apart at their entry, as data.
#pragma once

enum class LibraryTable { feeds, tool_materials, part_materials, cut_methods };

struct EditorProfile {
    const char* dialog_file;
    LibraryTable own_table;
    // The feeds-and-speeds editor also reads the three other tables.
    bool reads_other_tables;
    // Shown when the own table file cannot be read.
    const char* unavailable_text;
    bool dialog_after_failed_probe;
    // Shown when the dialog cannot be created; null shows nothing.
    const char* dialog_failure_text;
    bool sets_return_code;
    // Whether a loader's failure message names the table or says "the database".
    bool load_failure_names_table;
};

// The profile of the running editor, set by its entry.
extern const EditorProfile* active_editor;
