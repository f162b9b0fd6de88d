// Host variables that name directories.
#pragma once

#include <optional>
#include <string>

// The value of the variable, or nothing when it is unset or set but empty. An
// empty value would make every path built from it relative to whatever the
// current directory is, or, with a separator after it, a path at the root.
std::optional<std::string> directory_variable(const char* name);
