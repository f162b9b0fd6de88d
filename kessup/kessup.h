// kessup: the tool library editor. Its main dialog lists the data rows of
// tool_database.dat; a row is shown, created and changed in "kessupedit.dlg" as
// "column = value" lines and one field for the selected column's value.
#pragma once

#include <string>

#include "command_set.h"
#include "table_store.h"
#include "tool_library.h"
#include "uf.h"

extern ToolLibrary tool_library;
extern std::string tool_library_path;
extern TableSync tool_library_sync;
// 0: saving allowed; -1: tool_database.dat did not open for appending.
extern int SaveFlag;
extern const Editor tool_editor;

std::string tool_list_line(const ToolRow& row);
int open_tool_record_dialog(int dialog, long index);
void tool_listing();
// Whether the rows differ from the file as last loaded or saved.
bool tool_library_changed();

// The work of the main dialog's callbacks, each run inside a host session.
void tool_construct_cb(int dialog);
void tool_command_cb(int dialog);
