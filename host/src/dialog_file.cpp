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

}  // namespace

const char* item_kind_name(ItemKind kind) {
    for (const auto& entry : kind_names) {
        if (entry.kind == kind) return entry.name;
    }
    return "?";
}

bool parse_dialog_file(std::string_view text, DialogDefinition& definition, DialogFileError& error) {
    definition = DialogDefinition{};
    std::vector<std::string> open_containers;
    std::set<std::string> ids;
    bool have_title = false;
    int line_number = 0;
    std::istringstream lines{std::string(text)};
    std::string line;
    auto fail = [&](std::string message) {
        error = {line_number, std::move(message)};
        return false;
    };
    while (std::getline(lines, line)) {
        ++line_number;
        std::vector<Token> tokens;
        std::string problem;
        if (!tokenize(line, tokens, problem)) return fail(problem);
        if (tokens.empty()) continue;
        const Token& head = tokens.front();
        if (head.quoted) return fail("a line must start with a keyword");
        if (head.text == "dialog") {
            if (have_title) return fail("a second 'dialog' line");
            if (tokens.size() != 2 || !tokens[1].quoted) return fail("expected: dialog \"title\"");
            definition.title = tokens[1].text;
            have_title = true;
            continue;
        }
        if (head.text == "end") {
            if (tokens.size() != 1) return fail("'end' takes nothing after it");
            if (open_containers.empty()) return fail("'end' without a container");
            open_containers.pop_back();
            continue;
        }
        const auto kind = kind_of(head.text);
        if (!kind) return fail("unknown item kind '" + head.text + "'");
        if (!have_title) return fail("the 'dialog' line must come first");
        if (tokens.size() < 3 || tokens[1].quoted || !tokens[2].quoted) {
            return fail(std::string("expected: ") + head.text + " IDENTIFIER \"label\"");
        }
        ItemDefinition item;
        item.kind = *kind;
        item.id = tokens[1].text;
        item.label = tokens[2].text;
        if (!is_identifier(item.id)) return fail("bad item identifier '" + item.id + "'");
        if (!ids.insert(item.id).second) return fail("item '" + item.id + "' is defined twice");
        if (!open_containers.empty()) item.container = open_containers.back();
        for (std::size_t i = 3; i < tokens.size(); ++i) {
            if (tokens[i].quoted) {
                item.labels.push_back(tokens[i].text);
            } else if (tokens[i].text == "insensitive") {
                item.sensitive = false;
            } else {
                return fail("unknown word '" + tokens[i].text + "'");
            }
        }
        const bool takes_labels = item.kind == ItemKind::buttons || item.kind == ItemKind::choice;
        if (takes_labels && item.labels.empty()) return fail("'" + item.id + "' needs its labels");
        if (!takes_labels && !item.labels.empty()) return fail("'" + item.id + "' takes one label");
        if (item.kind == ItemKind::container) open_containers.push_back(item.id);
        definition.items.push_back(std::move(item));
    }
    if (!have_title) return fail("no 'dialog' line");
    if (!open_containers.empty()) return fail("container '" + open_containers.back() + "' has no 'end'");
    return true;
}

}  // namespace ughost
