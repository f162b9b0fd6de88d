#include "tool_library.h"

#include <algorithm>
#include <set>

#include "format_text.h"
#include "library_file.h"

namespace {

bool blank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

bool is_format_line(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    return start != std::string_view::npos && line.substr(start).starts_with("FORMAT") &&
           line.find('#') == std::string_view::npos;
}

std::vector<std::string> format_names(std::string_view line) {
    std::vector<std::string> names;
    std::size_t at = line.find("FORMAT") + 6;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) break;
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        names.emplace_back(line.substr(start, end - start));
        at = end;
    }
    return names;
}

std::vector<std::string> split_fields(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar; (bar = text.find('|', start)) != std::string_view::npos; start = bar + 1) {
        fields.emplace_back(text.substr(start, bar - start));
    }
    fields.emplace_back(text.substr(start));
    return fields;
}

std::string joined(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) text += (i == 0 ? "" : "|") + fields[i];
    return text;
}

}  // namespace

ToolLibrary parse_tool_library(std::string_view content) {
    ToolLibrary library;
    library.formats.emplace_back();
    std::string row_text;  // the joined text of the row being read
    bool row_open = false;
    auto finish_row = [&] {
        if (!row_open) return;
        library.rows.back().fields = split_fields(row_text);
        row_text.clear();
        row_open = false;
    };
    std::size_t at = 0;
    while (at < content.size()) {
        std::size_t end = content.find('\n', at);
        end = end == std::string_view::npos ? content.size() : end + 1;
        const std::string_view bytes = content.substr(at, end - at);
        at = end;
        std::string_view line = bytes;
        if (line.ends_with('\n')) line.remove_suffix(1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::string line_end(bytes.substr(line.size()));
        if (library_file_detail::is_data_line(line) && line.find('|') != std::string_view::npos) {
            finish_row();
            const std::size_t bar = line.find('|');
            ToolRow row;
            row.id = static_cast<long>(library.pieces.size());
            row.format = library.formats.size() - 1;
            library.rows.push_back(row);
            library.pieces.push_back({std::string(bytes), row.id, std::string(line.substr(0, bar)), line_end});
            row_text = std::string(line.substr(bar + 1));
            row_open = true;
            continue;
        }
        if (row_open && !blank(line) && !library_file_detail::is_known_other_line(line)) {
            library.pieces.back().bytes += bytes;
            library.pieces.back().line_end = line_end;
            row_text += line;
            continue;
        }
        finish_row();
        if (is_format_line(line)) library.formats.push_back(format_names(line));
        if (!library.pieces.empty() && library.pieces.back().row < 0) {
            library.pieces.back().bytes += bytes;
        } else {
            library.pieces.push_back({std::string(bytes), -1, "", ""});
        }
    }
    finish_row();
    return library;
}

std::string write_tool_library(const ToolLibrary& library) {
    std::string out;
    for (const ToolLibrary::Piece& piece : library.pieces) {
        if (piece.row < 0) {
            out += piece.bytes;
            continue;
        }
        const auto row = std::find_if(library.rows.begin(), library.rows.end(),
                                      [&](const ToolRow& r) { return r.id == piece.row; });
        if (row == library.rows.end()) continue;  // deleted
        if (!row->edited) {
            out += piece.bytes;
            continue;
        }
        // The row keeps its own line end: a last line without one stays without.
        out += piece.lead_in + "|" + joined(row->fields) + piece.line_end;
    }
    for (const ToolRow& row : library.rows) {
        if (row.id >= 0) continue;
        if (!out.empty() && !out.ends_with('\n')) out += "\r\n";
        out += "DATA|" + joined(row.fields) + "\r\n";
    }
    return out;
}

std::size_t column_count(const ToolLibrary& library, const ToolRow& row) {
    return std::max(row.fields.size(), library.formats.at(row.format).size());
}

std::string column_name(const ToolLibrary& library, const ToolRow& row, std::size_t c) {
    const std::vector<std::string>& names = library.formats.at(row.format);
    return c < names.size() ? names[c] : format_text("COL%d", static_cast<int>(c + 1));
}

long column_index(const ToolLibrary& library, const ToolRow& row, const std::string& name) {
    const std::vector<std::string>& names = library.formats.at(row.format);
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<long>(found - names.begin());
}

std::string_view row_reference(const ToolLibrary& library, const ToolRow& row) {
    const long c = column_index(library, row, "LIBRF");
    const std::size_t index = c < 0 ? 0 : static_cast<std::size_t>(c);
    return index < row.fields.size() ? std::string_view(row.fields[index]) : std::string_view();
}

std::string free_tool_reference(const ToolLibrary& library) {
    std::set<std::string> taken;
    std::string prefix = "TOOL_";
    std::size_t digits = 4;
    for (const ToolRow& row : library.rows) {
        const std::string reference(row_reference(library, row));
        taken.insert(reference);
        const std::size_t last = reference.find_last_not_of("0123456789");
        const std::size_t start = last == std::string::npos ? 0 : last + 1;
        if (start < reference.size()) {
            prefix = reference.substr(0, start);
            digits = reference.size() - start;
        }
    }
    long number = 1;
    for (const std::string& reference : taken) {
        if (!reference.starts_with(prefix)) continue;
        const std::string tail = reference.substr(prefix.size());
        if (!tail.empty() && tail.find_first_not_of("0123456789") == std::string::npos && tail.size() < 10) {
            number = std::max(number, std::stol(tail) + 1);
        }
    }
    std::string candidate;
    do {
        const std::string digits_text = std::to_string(number++);
        candidate = prefix + std::string(digits > digits_text.size() ? digits - digits_text.size() : 0, '0') +
                    digits_text;
    } while (taken.count(candidate) != 0);
    return candidate;
}

ToolRow new_tool_row(const ToolLibrary& library) {
    ToolRow row;
    row.format = library.formats.size() - 1;
    row.fields.assign(std::max<std::size_t>(library.formats.back().size(), 1), "");
    row.edited = true;
    const long reference = column_index(library, row, "LIBRF");
    row.fields[reference < 0 ? 0 : static_cast<std::size_t>(reference)] = free_tool_reference(library);
    return row;
}
