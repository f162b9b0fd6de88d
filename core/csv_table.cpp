#include "csv_table.h"

#include "code_page.h"
#include "format_text.h"

namespace csv_table_detail {

const char* const not_a_number_reason = "значение не является числом";
const char* const not_code_page_reason = "значение содержит знак, которого нет в кодировке Windows-1251";
const char* const unterminated_quote_reason = "кавычка не закрыта до конца файла";
const char* const no_rows_reason = "файл пуст: нет строки заголовка";

std::string refusal_reason(TextRefusal refusal, std::size_t max_length) {
    if (refusal == TextRefusal::forbidden_character) return "значение содержит недопустимый символ ( | # или перевод строки )";
    return format_text("значение длиннее %d знаков", static_cast<int>(max_length));
}

std::string cell_count_reason(std::size_t expected, std::size_t found) {
    return format_text("в строке %d ячеек вместо %d", static_cast<int>(found), static_cast<int>(expected));
}

std::string column_name(const std::string& cell) { return utf8_to_cp1251(cell).value_or("?"); }

std::string unknown_column_reason(const std::string& name) {
    return format_text("неизвестный или повторный столбец '%s'", name);
}

std::string missing_column_reason(const char* name) { return format_text("нет столбца '%s'", name); }

}  // namespace csv_table_detail
