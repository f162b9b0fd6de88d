#include "in_dialog_edit.h"

bool ask_storable_text(int dialog, const char* item, const char* label, std::size_t max_length, std::span<char> field) {
    const std::string text = dialog_items::ask_text(dialog, item);
    if (!storable_text(label, text, max_length)) return false;
    copy_text(field, text);
    return true;
}

bool ask_storable_real(int dialog, const char* item, double& value) {
    const double number = dialog_items::ask_real(dialog, item);
    if (!storable_number(number)) return false;
    value = number;
    return true;
}
