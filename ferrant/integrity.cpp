#include "integrity.h"

#include <map>
#include <vector>

#include "format_text.h"
#include "table_formats.h"
#include "snapshot_tables.h"

namespace {

constexpr std::size_t listed_findings = 20;


std::string findings_text(const char* title, const std::vector<std::string>& findings) {
    std::string text = format_text("\n  %s: %d", title, static_cast<int>(findings.size()));
    for (std::size_t i = 0; i < findings.size() && i < listed_findings; ++i) text += "\n     " + findings[i];
    if (findings.size() > listed_findings) {
        text += format_text("\n     ... и еще %d", static_cast<int>(findings.size() - listed_findings));
    }
    return text;
}

template <class Record>
bool resolves(const RecordTable<Record>& table, const char* stored) {
    const std::string search = upper_latin(format_text("%.25s", stored));
    for (const Record& row : table) {
        if (upper_latin(row.LIBRF) == search) return true;
    }
    for (const Record& row : table) {
        if (search.find(upper_latin(row.LIBRF)) != std::string::npos) return true;
    }
    return false;
}

template <class Record>
RecordTable<Record> loaded(const TableFormat<Record>& format, const FileContents& base) {
    RecordTable<Record> table;
    LoadReport report;
    read_table(base.at(format.file_name), format, table, report);
    return table;
}

template <class Record>
void add_duplicates(const TableFormat<Record>& format, const RecordTable<Record>& table,
                    std::vector<std::string>& findings) {
    std::map<std::string, int> seen;
    for (const Record& row : table) {
        if (++seen[row.LIBRF] == 2) findings.push_back(format_text("%s: %s", format.file_name, row.LIBRF));
    }
}

// The data lines a save would write otherwise: rows are written back in the
// writer's form, so a value cut to fit or a number in another form changes.
template <class Record>
void add_changed_by_save(const TableFormat<Record>& format, const FileContents& base,
                         std::vector<std::string>& findings) {
    const std::string& content = base.at(format.file_name);
    RecordTable<Record> table;
    LoadReport report;
    read_table(content, format, table, report);
    std::size_t row = 0;
    for (const NumberedLine& line : data_lines(content)) {
        bool rejected = false;
        for (const long number : report.rejected_lines) rejected = rejected || number == line.number;
        if (rejected || !table.has_row(static_cast<long>(row))) continue;
        if (data_line(format, table.at(row)) != line.text) {
            findings.push_back(format_text("%s, строка %ld: %s", format.file_name, line.number, table.at(row).LIBRF));
        }
        ++row;
    }
}

}  // namespace

std::string integrity_report(const FileContents& base) {
    const RecordTable<FEEDS> feeds = loaded(feeds_format, base);
    const RecordTable<CUTS> cuts = loaded(cut_method_format, base);
    const RecordTable<PARTS> parts = loaded(part_material_format, base);
    const RecordTable<TOOL_MATERIALS> tools = loaded(tool_material_format, base);

    std::vector<std::string> unresolved;
    for (const FEEDS& row : feeds) {
        std::string missing;
        if (!resolves(cuts, row.OPERTYPE)) missing += format_text(" OPERTYPE=%s", row.OPERTYPE);
        if (!resolves(parts, row.PARTMAT)) missing += format_text(" PARTMAT=%s", row.PARTMAT);
        if (!resolves(tools, row.TOOLMAT)) missing += format_text(" TOOLMAT=%s", row.TOOLMAT);
        if (!missing.empty()) unresolved.push_back(std::string(row.LIBRF) + ":" + missing);
    }
    std::vector<std::string> duplicates;
    add_duplicates(feeds_format, feeds, duplicates);
    add_duplicates(tool_material_format, tools, duplicates);
    add_duplicates(part_material_format, parts, duplicates);
    add_duplicates(cut_method_format, cuts, duplicates);
    std::vector<std::string> changed;
    add_changed_by_save(feeds_format, base, changed);
    add_changed_by_save(tool_material_format, base, changed);
    add_changed_by_save(part_material_format, base, changed);
    add_changed_by_save(cut_method_format, base, changed);

    std::string text = "\n Проверка целостности:";
    text += findings_text("Ссылки подач без строки в своей таблице", unresolved);
    text += findings_text("Повторные идентификаторы", duplicates);
    text += findings_text("Строки, которые изменит сохранение", changed);
    return text + "\n";
}
