// Reading and setting the items of an open dialog: one host request each, the
// value record freed on every path. A request the host refuses, or a value of
// another type than asked for, throws HostCallFailed (callback_guard.h): the
// rest of the callback's work is dropped and its guard reports the failure.
#pragma once

#include <string>
#include <vector>

namespace dialog_items {

void set_sensitive(int dialog, const char* item, bool sensitive);
// All buttons of a button layout at once.
void set_buttons_sensitive(int dialog, const char* item, bool sensitive);
void set_text(int dialog, const char* item, const std::string& text);
void set_real(int dialog, const char* item, double value);
void select_line(int dialog, const char* item, int line);
void give_focus(int dialog, const char* item);
void set_entries(int dialog, const char* item, const std::vector<std::string>& entries);
// The host's interface wants a writable text; the host copies it and changes
// nothing, so a caller's line is passed as it is.
void insert_line(int dialog, const char* item, int line, std::string& text);
void delete_all_lines(int dialog, const char* item);

// The selected line of a list, entry of an option list, or button of a layout; -1 for none.
int ask_index(int dialog, const char* item);
double ask_real(int dialog, const char* item);
std::string ask_text(int dialog, const char* item);

}  // namespace dialog_items
