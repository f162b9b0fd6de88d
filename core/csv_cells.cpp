#include "csv_cells.h"

#include <cmath>

#include "code_page.h"
#include "format_text.h"

namespace csv_cells {
namespace {

// Characters a spreadsheet reads as the start of a formula, and the "'" that
// protects, which must itself be protected to come back.
bool starts_like_formula(std::string_view value) {
    return !value.empty() && std::string_view("=+-@'\t\r").find(value.front()) != std::string_view::npos;
}

// Digits with only separators, signs and exponents between them: a spreadsheet
// reads such a text as a number, a date or a time.
bool looks_like_number_or_date(std::string_view value) {
    bool digit = false;
    for (const char c : value) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (std::string_view(" .,/:-+eE%").find(c) == std::string_view::npos) {
            return false;
        }
    }
    return digit;
}

bool needs_quotes(std::string_view cell) {
    return cell.find_first_of(";\"\r\n") != std::string_view::npos ||
           (!cell.empty() && (cell.front() == ' ' || cell.back() == ' '));
}

std::string quoted(std::string_view cell) {
    std::string out = "\"";
    for (const char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

// The separator a spreadsheet chose when it saved the file, from its header line.
char separator_of(std::string_view content) {
    const std::string_view first = content.substr(0, content.find('\n'));
    return first.find(';') != std::string_view::npos ? ';' : ',';
}

// Spaces, no-break spaces and narrow no-break spaces that group digits.
std::string without_group_blanks(std::string_view cell) {
    std::string out;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == ' ') continue;
        if (cell.substr(i, 2) == "\xC2\xA0") {
            ++i;
            continue;
        }
        if (cell.substr(i, 3) == "\xE2\x80\xAF") {
            i += 2;
            continue;
        }
        out += cell[i];
    }
    return out;
}

bool is_decimal_number(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t digits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at, ++digits;
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at, ++digits;
    }
    if (digits == 0) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        std::size_t exponent = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at, ++exponent;
        if (exponent == 0) return false;
    }
    return at == text.size();
}

}  // namespace

std::string text_cell(std::string_view value) {
    // The mark that keeps a spreadsheet from reading the cell as a number, a date or a formula.
    const bool marked = starts_like_formula(value) || looks_like_number_or_date(value);
    const std::string cell = (marked ? "'" : "") + cp1251_to_utf8(value);
    return needs_quotes(cell) ? quoted(cell) : cell;
}

std::string number_cell(std::string_view formatted) {
    std::string cell(formatted);
    for (char& c : cell) {
        if (c == '.') c = ',';
    }
    return needs_quotes(cell) ? quoted(cell) : cell;
}

std::string row(const std::vector<std::string>& cells) {
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i != 0) out += ';';
        out += cells[i];
    }
    return out + "\r\n";
}

bool split_rows(std::string_view content, std::vector<Row>& rows, long& bad_line) {
    rows.clear();
    if (content.starts_with(signature)) content.remove_prefix(signature.size());
    const char separator = separator_of(content);
    long line = 1;
    std::size_t at = 0;
    while (at < content.size()) {
        Row current{line, {}};
        std::string cell;
        bool row_done = false;
        while (!row_done) {
            if (at < content.size() && content[at] == '"') {
                const long quote_line = line;
                ++at;
                for (;;) {
                    if (at >= content.size()) {
                        bad_line = quote_line;
                        return false;
                    }
                    if (content[at] == '"') {
                        if (at + 1 < content.size() && content[at + 1] == '"') {
                            cell += '"';
                            at += 2;
                            continue;
                        }
                        ++at;
                        break;
                    }
                    if (content[at] == '\n') ++line;
                    cell += content[at++];
                }
            }
            while (at < content.size() && content[at] != separator && content[at] != '\n') cell += content[at++];
            if (at >= content.size() || content[at] == '\n') {
                if (!cell.empty() && cell.back() == '\r') cell.pop_back();
                row_done = true;
                if (at < content.size()) ++line;
            }
            ++at;
            current.cells.push_back(std::move(cell));
            cell.clear();
        }
        // Spreadsheets leave blank lines, or lines of empty cells, after the rows.
        bool blank = true;
        for (const std::string& c : current.cells) blank = blank && c.empty();
        if (!blank) rows.push_back(std::move(current));
    }
    return true;
}

bool cell_text(std::string_view cell, std::string& value) {
    if (cell.starts_with('\'')) cell.remove_prefix(1);
    const auto converted = utf8_to_cp1251(cell);
    if (!converted) return false;
    value = *converted;
    return true;
}

bool cell_number(std::string_view cell, double& value) {
    std::string text = without_group_blanks(cell);
    if (text.empty()) {
        value = 0.0;
        return true;
    }
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    if (!is_decimal_number(text)) return false;
    value = read_number(text);
    return std::isfinite(value);
}

}  // namespace csv_cells
