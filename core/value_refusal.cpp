#include "value_refusal.h"

TextRefusal text_refusal(std::string_view value, std::size_t max_length) {
    if (value.find_first_of("|#\r\n") != std::string_view::npos) return TextRefusal::forbidden_character;
    if (value.size() > max_length) return TextRefusal::too_long;
    return TextRefusal::none;
}
