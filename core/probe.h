// Finds the library directory and checks the running editor's own table file:
// 0 when it can be read, -1 when the directory variable is not set, -2 when the
// file cannot be read. Sets the table paths and SaveFlag.
#pragma once

int probe_data_directory();
