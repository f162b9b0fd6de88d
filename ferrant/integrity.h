// The integrity check of a base, as both reports show it: feeds rows whose cut
// method, part material or tool material matches no row of its table (by the
// rule the feeds editor finds them: the same reference in any case of Latin
// letters, else a reference the stored one contains), references that occur
// twice in one table, and rows a save would change.
#pragma once

#include <string>

#include "base_files.h"

// The report's text: each kind counted, the first 20 listed, then the count of the rest.
std::string integrity_report(const FileContents& base);
