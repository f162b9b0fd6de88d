#include "table_store.h"

#include "editor_profile.h"
#include "file_replace.h"
#include "format_text.h"
#include "library_tables.h"
#include "uf.h"
#include "windows.h"

namespace table_store_detail {
namespace {

constexpr const char* save_caption = "Сохранение ...";
constexpr const char* cannot_save_text = " Невозможно сохранить Базу\n Обратитесь к сист. администратору";
constexpr const char* cannot_save_caption = "Ошибка - Сохранить Базу";
constexpr std::size_t listed_line_numbers = 10;

void refuse_save() { MessageBoxA(GetFocus(), cannot_save_text, cannot_save_caption, MB_ICONERROR); }

std::string line_list(const std::vector<long>& lines) {
    std::string text = format_text(" - %d (", static_cast<long>(lines.size()));
    text += lines.size() == 1 ? "строка " : "строки ";
    for (std::size_t i = 0; i < lines.size() && i < listed_line_numbers; ++i) {
        text += format_text(i == 0 ? "%ld" : ", %ld", lines[i]);
    }
    if (lines.size() > listed_line_numbers) text += ", ...";
    return text + ")";
}

}  // namespace

void show_load_failure(const char* table_name) {
    const bool names_table = active_editor == nullptr || active_editor->load_failure_names_table;
    const std::string text = format_text(" Невозможно загрузить %s\n Обратитесь к сист. администратору",
                                         names_table ? table_name : "Базу");
    MessageBoxA(GetFocus(), text.c_str(), "Ошибка - загрузки Базы", MB_ICONERROR);
}

void show_load_report(const char* file_name, const LoadReport& report) {
    std::string text = format_text(" Файл %s загружен не полностью:", file_name);
    if (!report.rejected_lines.empty()) {
        text += "\n Строки с ошибкой формата пропущены" + line_list(report.rejected_lines);
    }
    if (!report.cut_lines.empty()) {
        text += "\n Слишком длинные значения обрезаны" + line_list(report.cut_lines);
    }
    if (!report.save_cut_lines.empty()) {
        text += "\n Ссылки длиннее 20 знаков будут обрезаны при сохранении" + line_list(report.save_cut_lines);
    }
    text += "\n При сохранении Базы эти строки будут записаны в новом виде.";
    MessageBoxA(GetFocus(), text.c_str(), "Загрузка Базы", MB_ICONWARNING);
}

int save_with(std::size_t rows, const std::string& path, const std::function<std::string()>& content) {
    if (SaveFlag == -1) {
        refuse_save();
        return -1;
    }
    if (rows == 0) {
        uc1601("В Базе нет элементов\n Сохранение прервано...", 1);
        return -1;
    }
    const int answer = MessageBoxA(GetFocus(),
                                   "Вы уверены, что хотите сохранить Ваши изменения ?\n"
                                   " Мы сильно рекомендуем перед сохранением базы - сделать ее копию\n"
                                   " используя функцию экспорта...",
                                   save_caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer != IDYES) return 0;
    std::string error;
    if (path.empty() || !replace_file_content(path, content(), error)) {
        // The user is told the save was refused; the log keeps the reason for the administrator.
        if (!error.empty()) UF_print_syslog(error.c_str(), 0);
        refuse_save();
        return -2;
    }
    const std::string done =
        format_text("База сохранена...\n Всего записано %ld - элементов.", static_cast<long>(rows));
    MessageBoxA(GetFocus(), done.c_str(), save_caption, MB_ICONINFORMATION);
    return 0;
}

}  // namespace table_store_detail
