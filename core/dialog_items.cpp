#include "dialog_items.h"

#include "callback_guard.h"
#include "uf.h"

namespace dialog_items {
namespace {

UF_STYLER_item_value_type_t request(const char* item, int attribute, int sub_item = 0) {
    UF_STYLER_item_value_type_t value{};
    value.item_id = item;
    value.item_attr = attribute;
    value.subitem_index = sub_item;
    return value;
}

void check(int status) {
    if (status != 0) throw HostCallFailed{status};
}

void set(int dialog, UF_STYLER_item_value_type_t& value) {
    const int status = UF_STYLER_set_value(dialog, &value);
    UF_STYLER_free_value(&value);
    check(status);
}

// Asks for an item's value, which must come as the member of the union the
// caller reads: a dialog file that declares the item of another kind gives
// another, which is a failure like any refused request.
UF_STYLER_item_value_type_t ask(int dialog, const char* item, int indicator) {
    auto value = request(item, UF_STYLER_VALUE);
    check(UF_STYLER_ask_value(dialog, &value));
    if (value.indicator != indicator) {
        UF_STYLER_free_value(&value);
        throw HostCallFailed{UF_STYLER_ERR_VALUE_TYPE};
    }
    return value;
}

}  // namespace

void set_sensitive(int dialog, const char* item, bool sensitive) {
    auto value = request(item, UF_STYLER_SENSITIVITY);
    value.indicator = UF_STYLER_INTEGER_VALUE;
    value.value.integer = sensitive ? 1 : 0;
    set(dialog, value);
}

void set_buttons_sensitive(int dialog, const char* item, bool sensitive) {
    auto value = request(item, UF_STYLER_SENSITIVITY, -1);
    value.indicator = UF_STYLER_INTEGER_VALUE;
    value.value.integer = sensitive ? 1 : 0;
    set(dialog, value);
}

void set_text(int dialog, const char* item, const std::string& text) {
    auto value = request(item, UF_STYLER_VALUE);
    std::string copy = text;
    value.indicator = UF_STYLER_STRING_VALUE;
    value.count = 1;
    value.value.string = copy.data();
    check(UF_STYLER_set_value(dialog, &value));
}

void set_real(int dialog, const char* item, double real) {
    auto value = request(item, UF_STYLER_VALUE);
    value.indicator = UF_STYLER_REAL_VALUE;
    value.count = 1;
    value.value.real = real;
    set(dialog, value);
}

void select_line(int dialog, const char* item, int line) {
    auto value = request(item, UF_STYLER_VALUE, line);
    value.indicator = UF_STYLER_INTEGER_VALUE;
    value.value.integer = line;
    set(dialog, value);
}

void give_focus(int dialog, const char* item) {
    auto value = request(item, UF_STYLER_FOCUS);
    set(dialog, value);
}

void set_entries(int dialog, const char* item, const std::vector<std::string>& entries) {
    std::vector<std::string> copies = entries;
    std::vector<char*> texts;
    texts.reserve(copies.size());
    for (auto& entry : copies) texts.push_back(entry.data());
    auto value = request(item, UF_STYLER_SUBITEM_VALUES);
    value.indicator = UF_STYLER_STRING_PTR_VALUE;
    value.count = static_cast<int>(texts.size());
    value.value.strings = texts.data();
    check(UF_STYLER_set_value(dialog, &value));
}

void insert_line(int dialog, const char* item, int line, std::string& text) {
    auto value = request(item, UF_STYLER_LIST_INSERT, line);
    value.indicator = UF_STYLER_STRING_VALUE;
    value.count = 1;
    value.value.string = text.data();
    check(UF_STYLER_set_value(dialog, &value));
}

void delete_all_lines(int dialog, const char* item) {
    auto value = request(item, UF_STYLER_LIST_DELETE, -1);
    set(dialog, value);
}

int ask_index(int dialog, const char* item) { return ask(dialog, item, UF_STYLER_INTEGER_VALUE).value.integer; }

double ask_real(int dialog, const char* item) { return ask(dialog, item, UF_STYLER_REAL_VALUE).value.real; }

std::string ask_text(int dialog, const char* item) {
    auto value = ask(dialog, item, UF_STYLER_STRING_VALUE);
    std::string text = value.value.string != nullptr ? value.value.string : "";
    UF_STYLER_free_value(&value);
    return text;
}

}  // namespace dialog_items
