#include "table_store.h"

#include <cerrno>

#include "content_hash.h"
#include "file_replace.h"
#include "format_text.h"
#include "uf.h"
#include "windows.h"

namespace table_store_detail {
namespace {

constexpr const char* save_caption = "Сохранение ...";
constexpr const char* cannot_save_text = " Невозможно сохранить Базу\n Обратитесь к сист. администратору";
constexpr const char* cannot_save_caption = "Ошибка - Сохранить Базу";
constexpr std::size_t listed_line_numbers = 10;

void refuse_save() { MessageBoxA(GetFocus(), cannot_save_text, cannot_save_caption, MB_ICONERROR); }

bool confirmed(const std::string& question) {
    return MessageBoxA(GetFocus(), question.c_str(), save_caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
           IDYES;
}

std::string file_name_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string line_list(const std::vector<long>& lines) {
    std::string text = format_text(" - %d (", static_cast<long>(lines.size()));
    text += lines.size() == 1 ? "строка " : "строки ";
    for (std::size_t i = 0; i < lines.size() && i < listed_line_numbers; ++i) {
        text += format_text(i == 0 ? "%ld" : ", %ld", lines[i]);
    }
    if (lines.size() > listed_line_numbers) text += ", ...";
    return text + ")";
}

// One kind of line in the notice: what was done with them, and, for a table
// this editor saves, what a save will do.
void add_lines(std::string& text, const std::vector<long>& lines, const char* what, const char* at_save,
               bool saved_here) {
    if (lines.empty()) return;
    text += std::string("\n ") + what + line_list(lines);
    if (saved_here) text += std::string(";\n   ") + at_save;
}

const char* text_kind(LoadReport::Text text) {
    switch (text) {
        case LoadReport::Text::utf8: return "\n Файл похож на текст в кодировке UTF-8, а не Windows-1251.";
        case LoadReport::Text::utf16: return "\n Файл похож на текст в кодировке UTF-16, а не Windows-1251.";
        case LoadReport::Text::cr_line_ends: return "\n Строки файла разделены только знаком CR.";
        case LoadReport::Text::plain: break;
    }
    return "";
}

// The user is told the table cannot be loaded; the log keeps the reason where
// it is more than a missing file.
void log_read_failure(const std::string& error) {
    if (errno != ENOENT && !error.empty()) UF_print_syslog(error.c_str(), 0);
}

}  // namespace

void show_load_failure(const char* table_name, bool names_table) {
    const std::string text = format_text(" Невозможно загрузить %s\n Обратитесь к сист. администратору",
                                         names_table ? table_name : "Базу");
    MessageBoxA(GetFocus(), text.c_str(), "Ошибка - загрузки Базы", MB_ICONERROR);
}

std::string load_report_text(const char* file_name, const LoadReport& report, bool saved_here) {
    std::string text = format_text(" Файл %s загружен не полностью:", file_name);
    text += text_kind(report.text);
    add_lines(text, report.unrecognised_lines, "Нераспознанные строки пропущены",
              "при сохранении Базы они будут удалены из файла", saved_here);
    add_lines(text, report.rejected_lines, "Строки с ошибкой формата пропущены",
              "при сохранении Базы они будут удалены из файла", saved_here);
    add_lines(text, report.cut_lines, "Слишком длинные значения обрезаны",
              "при сохранении Базы они будут записаны обрезанными", saved_here);
    if (saved_here && !report.save_cut_lines.empty()) {
        text += "\n Ссылки длиннее 20 знаков будут обрезаны при сохранении" + line_list(report.save_cut_lines);
    }
    return text;
}

void show_load_report(const char* file_name, const LoadReport& report, bool saved_here) {
    const std::string text = load_report_text(file_name, report, saved_here);
    MessageBoxA(GetFocus(), text.c_str(), "Загрузка Базы", MB_ICONWARNING);
}

bool read_for_load(const std::string& path, std::string& content, FileSnapshot& snapshot) {
    std::string error;
    if (read_library_file(path, content, snapshot, error)) return true;
    log_read_failure(error);
    return false;
}

bool read_for_load_leaving_hash(const std::string& path, std::string& content, FileSnapshot& snapshot) {
    std::string error;
    if (read_library_file_leaving_hash(path, content, snapshot, error)) return true;
    log_read_failure(error);
    return false;
}

bool read_pieces_for_load(const std::string& path, const FilePieceTaker& take, FileSnapshot& snapshot) {
    std::string error;
    if (read_library_file_pieces(path, take, snapshot, error)) return true;
    log_read_failure(error);
    return false;
}

int save_with(std::size_t rows, const std::string& path, const ContentPieces& content,
              const std::uint64_t& content_hash, TableSync& sync, int save_flag, bool& written) {
    written = false;
    if (save_flag == -1) {
        refuse_save();
        return -1;
    }
    if (rows == 0) {
        uc1601("В Базе нет элементов\n Сохранение прервано...", 1);
        return -1;
    }
    if (!confirmed("Вы уверены, что хотите сохранить Ваши изменения ?\n"
                   " Мы сильно рекомендуем перед сохранением базы - сделать ее копию\n"
                   " используя функцию экспорта...")) {
        return 0;
    }
    const std::string name = file_name_of(path);
    if (changed_since(path, sync.file) &&
        !confirmed(format_text(" Файл %s изменен другим пользователем после загрузки.\n"
                               " Записать Ваши данные вместо его изменений?",
                               name))) {
        return 0;
    }
    if (sync.load_incomplete &&
        !confirmed(format_text(" Файл %s был загружен не полностью.\n"
                               " Строки, которые не удалось прочитать, при сохранении будут потеряны.\n"
                               " Все равно сохранить?",
                               name))) {
        return 0;
    }
    std::string error;
    if (path.empty() || !replace_file_content(path, content, error)) {
        // The user is told the save was refused; the log keeps the reason for the administrator.
        if (!error.empty()) UF_print_syslog(error.c_str(), 0);
        refuse_save();
        return -2;
    }
    written = true;
    sync.file = snapshot_after_writing(path, content_hash);
    sync.load_incomplete = false;
    const std::string done =
        format_text("База сохранена...\n Всего записано %ld - элементов.", static_cast<long>(rows));
    MessageBoxA(GetFocus(), done.c_str(), save_caption, MB_ICONINFORMATION);
    return 0;
}

int save_with(std::size_t rows, const std::string& path, const ContentPieces& content, TableSync& sync,
              int save_flag, bool& written) {
    std::uint64_t content_hash = 0;
    // A pass that starts again (a rewrite in place after a refused rename) starts the hash again.
    const ContentPieces hashed = [&](const ContentWriter& write) {
        ContentStreamHash hash;
        const bool complete = content([&](std::string_view piece) {
            hash.add(piece);
            return write(piece);
        });
        content_hash = hash.value();
        return complete;
    };
    return save_with(rows, path, hashed, content_hash, sync, save_flag, written);
}

}  // namespace table_store_detail
