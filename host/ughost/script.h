// A script of user actions for the scripted front-end (syntax in host/README.md).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ughost {

struct ScriptLine {
    int number = 0;
    std::string verb;                // an action, or a directive: fail, remove, rename, chmod
    std::vector<std::string> words;  // the rest, split; for type the text is words[1]
    std::string source;              // the line as written, for messages
};

struct ScriptError {
    int line = 0;
    std::string message;
};

// Parses a whole script; false (with the first error) when a line is not an action.
bool parse_script(std::string_view text, std::vector<ScriptLine>& lines, ScriptError& error);

// A whole word as an int; nothing when it is not a number or does not fit.
std::optional<int> parse_integer(std::string_view word);

}  // namespace ughost
