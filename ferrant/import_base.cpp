// Import: a snapshot brought back into the base. Everything is read and checked
// before the user is asked; nothing is replaced when any file is refused; the
// base is exported first, so every import can be undone; a failed replacement
// puts back the files already replaced.
#include <unistd.h>
#include <sys/stat.h>

#include <cstdio>
#include <map>

#include "ferrant.h"
#include "file_replace.h"
#include "format_text.h"
#include "integrity.h"
#include "listing.h"
#include "snapshot.h"
#include "snapshot_tables.h"
#include "table_store.h"
#include "uf.h"
#include "windows.h"

namespace {

constexpr const char* import_caption = "Импорт Базы";
constexpr std::size_t offered_snapshots = 6;

struct ImportPlan {
    FileContents after;      // what each of the five files will hold
    std::string preview;     // what the listing shows before the question
};

void refuse(const std::string& text) { MessageBoxA(GetFocus(), text.c_str(), "Ошибка - Импорт Базы", MB_ICONERROR); }

// Both folders must exist and take new files, and every file of the base must be
// writable, or the import would stop halfway.
bool base_writable(const BaseFolders& folders) {
    struct stat status;
    if (stat(folders.tool.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        refuse(format_text(" Папка библиотеки инструмента не найдена:\n %s\n Импорт невозможен.", folders.tool));
        return false;
    }
    for (const std::string& folder : {folders.data, folders.tool}) {
        if (access(folder.c_str(), W_OK) != 0) {
            refuse(format_text(" Нет права записи в папку\n %s\n Импорт невозможен. Обратитесь к сист. администратору",
                               folder));
            return false;
        }
    }
    for (const std::string& name : base_file_names()) {
        const std::string path = base_path(folders, name);
        if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) {
            refuse(format_text(" Нет права записи в файл\n %s\n Импорт невозможен. Обратитесь к сист. администратору",
                               path));
            return false;
        }
    }
    return true;
}

// The snapshot the user picks: the newest few in a menu, or a folder typed.
bool choose_snapshot(const BaseFolders& folders, std::string& chosen) {
    const std::string parent = export_parent(folders);
    std::vector<std::string> names = snapshots_in(parent);
    if (names.size() > offered_snapshots) names.resize(offered_snapshots);
    char items[offered_snapshots + 1][UF_UI_MENU_ITEM_SIZE] = {};
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::snprintf(items[i], UF_UI_MENU_ITEM_SIZE, "%s", names[i].c_str());
    }
    std::snprintf(items[names.size()], UF_UI_MENU_ITEM_SIZE, "%s", "Другая папка ...");
    const int count = static_cast<int>(names.size()) + 1;
    const int chosen_item = uc1603("Выберите снимок Базы для импорта", 1, items, count) - UF_UI_MENU_ITEM_1;
    if (chosen_item < 0 || chosen_item >= count) return false;
    if (chosen_item < static_cast<int>(names.size())) {
        chosen = parent + names[static_cast<std::size_t>(chosen_item)] + "/";
        return true;
    }
    return ask_folder(parent, chosen);
}

bool known_file(const std::string& name) {
    for (const std::string& base : base_file_names()) {
        if (name == base) return true;
    }
    for (const SnapshotTable& table : snapshot_tables()) {
        if (name == table.csv_name) return true;
    }
    return false;
}

const ManifestEntry* entry_for(const std::vector<ManifestEntry>& manifest, const std::string& name) {
    for (const ManifestEntry& entry : manifest) {
        if (entry.file == name) return &entry;
    }
    return nullptr;
}

// The lines of after that before lacks, and how many of before's lines after lacks.
std::string changed_lines(const std::string& before, const std::string& after) {
    std::map<std::string, int> old_lines;
    for (const NumberedLine& line : data_lines(before)) ++old_lines[line.text];
    std::string numbers;
    int changed = 0;
    for (const NumberedLine& line : data_lines(after)) {
        if (old_lines[line.text]-- > 0) continue;
        numbers += format_text(changed == 0 ? "%ld" : ", %ld", line.number);
        ++changed;
    }
    int dropped = 0;
    for (const auto& [text, left] : old_lines) dropped += left > 0 ? left : 0;
    return format_text("\n     из таблицы: новые или измененные строки - %d (%s), удаленные строки - %d", changed,
                       numbers, dropped);
}

// Where the snapshot's spreadsheet of a table was edited, the table file is made
// from it; note then says so. False, with why in error, when the spreadsheet is refused.
bool take_edited_spreadsheet(const SnapshotTable& table, const std::vector<ManifestEntry>& manifest,
                             const FileContents& files, const std::string& now, std::string& after, std::string& note,
                             std::string& error) {
    const ManifestEntry* csv = entry_for(manifest, table.csv_name);
    if (csv == nullptr || checksum_of(files.at(table.csv_name)) == csv->checksum) return true;
    CsvProblem problem;
    std::size_t rows = 0;
    if (!table.from_csv(files.at(table.csv_name), after, rows, problem)) {
        error = format_text(" Файл %s не принят", table.csv_name);
        if (problem.line > 0) error += format_text(", строка %ld", problem.line);
        if (!problem.column.empty()) error += format_text(", столбец %s", problem.column);
        error += ":\n " + problem.reason + ".";
        return false;
    }
    note = format_text("\n     изменен в таблице %s: файл будет записан заново", table.csv_name) +
           changed_lines(now, after);
    return true;
}

// The preview of one file: its rows now and after, and what a load of it would report.
std::string preview_of(const std::string& name, const SnapshotTable* table, const std::string& now,
                       const std::string& after) {
    LoadReport now_report;
    LoadReport after_report;
    const std::size_t rows_now = table != nullptr ? table->rows(now, now_report) : data_lines(now).size();
    const std::size_t rows_after = table != nullptr ? table->rows(after, after_report) : data_lines(after).size();
    std::string preview = format_text("\n  %-22s строк сейчас: %5ld   после импорта: %5ld", name,
                                      static_cast<long>(rows_now), static_cast<long>(rows_after));
    if (after == now) preview += "   (без изменений)";
    return preview;
}

// One file of the snapshot checked against the manifest and planned; false, with
// why in error, when it is refused.
bool plan_file(const std::string& name, const std::vector<ManifestEntry>& manifest, const FileContents& files,
               const FileContents& current, ImportPlan& plan, std::string& preview, std::string& error) {
    const ManifestEntry* entry = entry_for(manifest, name);
    if (entry == nullptr) {
        error = format_text(" В снимке нет файла %s.", name);
        return false;
    }
    const std::string& copy = files.at(name);
    if (copy.size() != entry->size || checksum_of(copy) != entry->checksum) {
        error = format_text(" Файл %s изменен после экспорта (размер или контрольная сумма\n не совпадают с manifest.txt).",
                            name);
        return false;
    }
    std::string& after = plan.after[name] = copy;
    const SnapshotTable* table = snapshot_table_of(name);
    std::string note;
    if (table != nullptr && !take_edited_spreadsheet(*table, manifest, files, current.at(name), after, note, error)) {
        return false;
    }
    preview += preview_of(name, table, current.at(name), after) + note;
    LoadReport after_report;
    if (table != nullptr) {
        table->rows(after, after_report);
        if (!after_report.clean()) {
            preview += "\n    " + table_store_detail::load_report_text(table->file_name, after_report, true);
        }
    }
    return true;
}

// Reads and checks the snapshot; false, with why in error, when any file is refused.
bool plan_import(const std::string& folder, const FileContents& current, ImportPlan& plan, std::string& error) {
    std::vector<ManifestEntry> manifest;
    FileContents files;
    std::string reason;
    if (!read_snapshot(folder, manifest, files, reason)) {
        UF_print_syslog(reason.c_str(), 0);
        error = " Папка не является полным снимком Базы (нет или не читается manifest.txt или файл из него).";
        return false;
    }
    for (const ManifestEntry& entry : manifest) {
        if (!known_file(entry.file)) {
            error = format_text(" Снимок называет незнакомый файл %s.", entry.file);
            return false;
        }
    }
    std::string preview;
    for (const std::string& name : base_file_names()) {
        if (!plan_file(name, manifest, files, current, plan, preview, error)) return false;
    }
    plan.preview = preview + "\n" + integrity_report(plan.after);
    return true;
}

// Replaces the files in turn; when one fails, those already replaced get their
// old content back. False with why in error.
bool replace_base(const BaseFolders& folders, const FileContents& current, const FileContents& after,
                  std::string& error) {
    std::vector<std::string> replaced;
    for (const std::string& name : base_file_names()) {
        if (after.at(name) == current.at(name)) continue;
        if (replace_file_content(base_path(folders, name), after.at(name), error)) {
            replaced.push_back(name);
            continue;
        }
        for (const std::string& done : replaced) {
            std::string restore_error;
            if (!replace_file_content(base_path(folders, done), current.at(done), restore_error)) {
                UF_print_syslog(restore_error.c_str(), 0);
            }
        }
        return false;
    }
    return true;
}

}  // namespace

void run_import() {
    BaseFolders folders;
    if (!find_base_folders(folders) || !base_writable(folders)) return;
    FileContents current;
    if (!read_base(folders, current)) return;
    std::string folder;
    if (!choose_snapshot(folders, folder)) return;
    ImportPlan plan;
    std::string error;
    if (!plan_import(folder, current, plan, error)) {
        refuse(format_text(" Снимок %s\n не может быть импортирован.\n", folder) + error + "\n База не изменена.");
        return;
    }
    listing_start();
    listing_write(format_text("\n Импорт Базы из папки %s\n", folder) + plan.preview);
    if (MessageBoxA(GetFocus(), " Заменить Базу содержимым снимка?\n Перед заменой текущая База будет экспортирована.",
                    import_caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    const std::string undo_folder = new_snapshot_folder(export_parent(folders), "_pre-import");
    if (!export_base_to(undo_folder, current, "Копия Базы перед импортом")) return;
    if (!replace_base(folders, current, plan.after, error)) {
        UF_print_syslog(error.c_str(), 0);
        refuse(" Невозможно заменить файлы Базы.\n Уже замененные файлы восстановлены; База не изменена.\n"
               " Обратитесь к сист. администратору");
        return;
    }
    const std::string done =
        format_text(" Импорт завершен.\n Прежняя База сохранена в папке\n %s", undo_folder);
    MessageBoxA(GetFocus(), done.c_str(), import_caption, MB_ICONINFORMATION);
}
