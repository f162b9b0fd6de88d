#include "interrupted_save.h"

#include <filesystem>

#include "file_replace.h"
#include "format_text.h"
#include "library_file_open.h"
#include "save_journal.h"
#include "uf.h"
#include "windows.h"

namespace {

bool user_wants_old_content(const std::string& file_name) {
    const std::string question = format_text(
        " Файл %s поврежден: его сохранение было прервано.\n Восстановить содержимое, которое было до сохранения?",
        file_name);
    return MessageBoxA(GetFocus(), question.c_str(), "Загрузка Базы", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
           IDYES;
}

void show_restore_failure(const std::string& file_name, const std::string& error) {
    UF_print_syslog(error.c_str(), 0);
    const std::string text = format_text(" Невозможно восстановить %s\n Обратитесь к сист. администратору", file_name);
    MessageBoxA(GetFocus(), text.c_str(), "Ошибка - загрузки Базы", MB_ICONERROR);
}

}  // namespace

bool repair_interrupted_save(const std::string& path, std::string& content) {
    std::string target;
    std::string error;
    if (!resolve_library_path(path, target, error)) return false;
    const std::optional<InterruptedSave> interrupted = journal_find(target);
    if (!interrupted) return false;
    if (interrupted->file_is_whole(content)) {
        journal_drop(target);
        return false;
    }
    const std::string file_name = std::filesystem::path(path).filename().string();
    if (!user_wants_old_content(file_name)) return false;
    if (!restore_file_content(target, interrupted->old_content, error)) {
        show_restore_failure(file_name, error);
        return false;
    }
    journal_drop(target);
    content = interrupted->old_content;
    return true;
}

bool interrupted_save_left(const std::string& path) {
    std::string target;
    std::string error;
    return resolve_library_path(path, target, error) && journal_find(target).has_value();
}
