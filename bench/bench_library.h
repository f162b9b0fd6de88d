// A large library to time the editors on: a feeds table of any size whose rows
// refer to auxiliary tables of another size, in the host's own line format.
#pragma once

#include <string>

// Writes the four library files into folder (which must exist).
void write_bench_library(const std::string& folder, int feeds_rows, int auxiliary_rows);
