#include "dialog_file.h"

#include <array>
#include <optional>
#include <set>
#include <sstream>

namespace ughost {
namespace {

struct KindName {
    ItemKind kind;
    const char* name;
};

constexpr std::array<KindName, 8> kind_names = {{
    {ItemKind::list, "list"},
    {ItemKind::option, "option"},
    {ItemKind::text, "text"},
    {ItemKind::real, "real"},
    {ItemKind::button, "button"},
    {ItemKind::buttons, "buttons"},
    {ItemKind::choice, "choice"},
    {ItemKind::container, "container"},
}};

std::optional<ItemKind> kind_of(std::string_view word) {
    for (const auto& entry : kind_names) {
        if (word == entry.name) return entry.kind;
    }
    return std::nullopt;
}

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits a line into words and "quoted texts" (with \" and \\ escapes).
bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& problem) {
    std::size_t pos = 0;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++pos;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token token{"", true};
            ++pos;
            bool closed = false;
            while (pos < line.size()) {
                const char q = line[pos++];
                if (q == '"') {
                    closed = true;
                    break;
                }
                if (q == '\\' && pos < line.size()) {
                    const char escaped = line[pos++];
                    token.text += escaped == 'n' ? '\n' : escaped;
                } else {
                    token.text += q;
                }
            }
            if (!closed) {
                problem = "unterminated quoted text";
                return false;
            }
            tokens.push_back(std::move(token));
        } else {
            const std::size_t end = line.find_first_of(" \t\r#\"", pos);
            const std::size_t stop = end == std::string_view::npos ? line.size() : end;
            tokens.push_back({std::string(line.substr(pos, stop - pos)), false});
            pos = stop;
        }
    }
    return true;
}

bool is_identifier(const std::string& word) {
    if (word.empty()) return false;
    for (const char c : word) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                        c == '_';
        if (!ok) return false;
    }
    return true;
}

// Reads a dialog file line by line. Each step returns what is wrong with the
// line, or an empty text when it fits.
struct DialogFileReader {
    DialogDefinition& definition;
    std::vector<std::string> open_containers{};
    std::set<std::string> ids{};
    bool have_title = false;

    std::string read_line(std::string_view line) {
        std::vector<Token> tokens;
        std::string problem;
        if (!tokenize(line, tokens, problem)) return problem;
        if (tokens.empty()) return "";
        const Token& head = tokens.front();
        if (head.quoted) return "a line must start with a keyword";
        if (head.text == "dialog") return title_line(tokens);
        if (head.text == "end") return end_line(tokens);
        return item_line(tokens);
    }

    std::string title_line(const std::vector<Token>& tokens) {
        if (have_title) return "a second 'dialog' line";
        if (tokens.size() != 2 || !tokens[1].quoted) return "expected: dialog \"title\"";
        definition.title = tokens[1].text;
        have_title = true;
        return "";
    }

    std::string end_line(const std::vector<Token>& tokens) {
        if (tokens.size() != 1) return "'end' takes nothing after it";
        if (open_containers.empty()) return "'end' without a container";
        open_containers.pop_back();
        return "";
    }

    std::string item_line(const std::vector<Token>& tokens) {
        const std::string& keyword = tokens.front().text;
        const auto kind = kind_of(keyword);
        if (!kind) return "unknown item kind '" + keyword + "'";
        if (!have_title) return "the 'dialog' line must come first";
        if (tokens.size() < 3 || tokens[1].quoted || !tokens[2].quoted) {
            return "expected: " + keyword + " IDENTIFIER \"label\"";
        }
        ItemDefinition item;
        item.kind = *kind;
        item.id = tokens[1].text;
        item.label = tokens[2].text;
        if (!is_identifier(item.id)) return "bad item identifier '" + item.id + "'";
        if (!ids.insert(item.id).second) return "item '" + item.id + "' is defined twice";
        if (!open_containers.empty()) item.container = open_containers.back();
        if (std::string problem = item_options(tokens, item); !problem.empty()) return problem;
        if (item.kind == ItemKind::container) open_containers.push_back(item.id);
        definition.items.push_back(std::move(item));
        return "";
    }

    // The labels of a button layout or choice, and the word insensitive.
    static std::string item_options(const std::vector<Token>& tokens, ItemDefinition& item) {
        for (std::size_t i = 3; i < tokens.size(); ++i) {
            if (tokens[i].quoted) {
                item.labels.push_back(tokens[i].text);
            } else if (tokens[i].text == "insensitive") {
                item.sensitive = false;
            } else {
                return "unknown word '" + tokens[i].text + "'";
            }
        }
        const bool takes_labels = item.kind == ItemKind::buttons || item.kind == ItemKind::choice;
        if (takes_labels && item.labels.empty()) return "'" + item.id + "' needs its labels";
        if (!takes_labels && !item.labels.empty()) return "'" + item.id + "' takes one label";
        return "";
    }

    std::string finish() const {
        if (!have_title) return "no 'dialog' line";
        if (!open_containers.empty()) return "container '" + open_containers.back() + "' has no 'end'";
        return "";
    }
};

}  // namespace

const char* item_kind_name(ItemKind kind) {
    for (const auto& entry : kind_names) {
        if (entry.kind == kind) return entry.name;
    }
    return "?";
}

bool parse_dialog_file(std::string_view text, DialogDefinition& definition, DialogFileError& error) {
    definition = DialogDefinition{};
    DialogFileReader reader{definition};
    int line_number = 0;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        ++line_number;
        if (std::string problem = reader.read_line(line); !problem.empty()) {
            error = {line_number, std::move(problem)};
            return false;
        }
    }
    if (std::string problem = reader.finish(); !problem.empty()) {
        error = {line_number, std::move(problem)};
        return false;
    }
    return true;
}

}  // namespace ughost
