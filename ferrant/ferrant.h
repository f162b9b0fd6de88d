// ferrant: export and import of the base. Export (mode 0) writes a dated
// snapshot of the five files with spreadsheets and a manifest; import (mode 1)
// brings one back, after a preview and an automatic snapshot of what it replaces.
#pragma once

#include <string>

#include "base_files.h"

void run_export();
void run_import();

// The folder snapshots are written to and offered from, with its separator.
std::string export_parent(const BaseFolders& folders);

// Writes a snapshot of the base into folder and reports it in the listing
// window under title; false (the user told why) when it could not be written.
bool export_base_to(const std::string& folder, const FileContents& base, const char* title);

// Asks for a folder in "ferrant.dlg", showing initial; false when the user cancels.
bool ask_folder(const std::string& initial, std::string& chosen);
