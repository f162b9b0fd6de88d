#include "script.h"

#include <charconv>
#include <set>
#include <sstream>

#include "host_faults.h"
#include "host_text.h"

namespace ughost {
namespace {

const std::set<std::string, std::less<>> verbs = {"select", "type",    "activate", "press", "ok",
                                                  "cancel", "answer",  "menu",     "numbers", "fail",
                                                  "remove", "rename", "chmod"};

std::vector<std::string> split_words(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

bool is_integer(const std::string& word) { return parse_integer(word).has_value(); }

// A file mode as chmod takes it: up to four octal digits.
bool is_mode(const std::string& word) {
    return !word.empty() && word.size() <= 4 && word.find_first_not_of("01234567") == std::string::npos;
}

// Checks the words of a line against its verb; an empty text when it fits.
std::string check(const ScriptLine& line) {
    const auto& w = line.words;
    const std::string& verb = line.verb;
    if (verb == "ok" || verb == "cancel") return w.empty() ? "" : verb + " takes nothing after it";
    if (verb == "activate") return w.size() == 1 ? "" : "expected: activate ITEM";
    if (verb == "select") {
        return w.size() == 2 && is_integer(w[1]) ? "" : "expected: select ITEM LINE";
    }
    if (verb == "press") {
        return (w.size() == 1 || (w.size() == 2 && is_integer(w[1]))) ? "" : "expected: press ITEM [BUTTON]";
    }
    if (verb == "type") return w.size() == 2 ? "" : "expected: type ITEM TEXT";
    if (verb == "answer") return w.size() == 1 && (w[0] == "yes" || w[0] == "no") ? "" : "expected: answer yes|no";
    if (verb == "menu") return w.size() == 1 && is_integer(w[0]) ? "" : "expected: menu CODE";
    if (verb == "numbers") return !w.empty() && is_integer(w[0]) ? "" : "expected: numbers CODE [VALUE...]";
    if (verb == "remove") return w.size() == 1 ? "" : "expected: remove FILE";
    if (verb == "rename") return w.size() == 2 ? "" : "expected: rename FROM TO";
    if (verb == "chmod") return w.size() == 2 && is_mode(w[0]) ? "" : "expected: chmod MODE FILE (MODE in octal)";
    if (verb == "fail") {
        const bool plain = w.size() == 1;
        const bool counted = w.size() == 3 && w[1] == "after" && parse_integer(w[2]).value_or(-1) >= 0;
        if (!plain && !counted) return "expected: fail CALL [after N]";
        return can_fail(w[0]) ? "" : "no call '" + w[0] + "' can be made to fail";
    }
    return "unknown action '" + verb + "'";
}

}  // namespace

std::optional<int> parse_integer(std::string_view word) {
    int value = 0;
    const char* last = word.data() + word.size();
    const auto [end, error] = std::from_chars(word.data(), last, value);
    if (word.empty() || error != std::errc{} || end != last) return std::nullopt;
    return value;
}

bool parse_script(std::string_view text, std::vector<ScriptLine>& lines, ScriptError& error) {
    std::istringstream in{std::string(text)};
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::size_t start = raw.find_first_not_of(" \t");
        if (start == std::string::npos || raw[start] == '#') continue;
        ScriptLine line;
        line.number = number;
        line.source = raw.substr(start);
        const std::size_t verb_end = line.source.find_first_of(" \t");
        line.verb = line.source.substr(0, verb_end);
        const std::string rest = verb_end == std::string::npos ? "" : line.source.substr(verb_end + 1);
        if (line.verb == "type") {
            // The text is everything after the item, as it stands or in quotes.
            const std::size_t item_start = rest.find_first_not_of(" \t");
            const std::size_t item_end = rest.find_first_of(" \t", item_start);
            if (item_start != std::string::npos) line.words.push_back(rest.substr(item_start, item_end - item_start));
            std::string value = item_end == std::string::npos ? "" : rest.substr(item_end + 1);
            if (!value.empty() && value.front() == '"') {
                const auto unquoted = unquote(value);
                if (!unquoted) {
                    error = {number, "malformed quoted text"};
                    return false;
                }
                value = *unquoted;
            }
            line.words.push_back(value);
        } else {
            line.words = split_words(rest);
        }
        if (!verbs.count(line.verb)) {
            error = {number, "unknown action '" + line.verb + "'"};
            return false;
        }
        if (const std::string problem = check(line); !problem.empty()) {
            error = {number, problem};
            return false;
        }
        lines.push_back(std::move(line));
    }
    return true;
}

}  // namespace ughost
