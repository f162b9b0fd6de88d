// The launcher's routines. The host enters the launcher through ufusr
// (entry.cpp); everything else runs inside its host session.
#pragma once

#include <string>

// Checks the two directory variables and the read and write access of the five
// library files; shows a report when a file is not accessible and logs the paths.
// Returns -1 when a directory variable is unset or empty (no menu follows), else 0.
int check_environment();

// Shows the main menu until the user backs out or cancels; returns 0.
int run_main_menu();

// Finds file_name in the application folder under the library search variables,
// loads it, enters its ufusr with mode and unloads it; returns 0.
int run_editor_library(const std::string& file_name, int mode);

// Writes the quick guide to the listing window and holds the user in a menu; returns 0.
int show_quick_guide();

// Shows a non-zero host status on the status line and the error stream; returns it.
int report_launcher_failure(int status);
