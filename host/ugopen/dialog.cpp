#include "dialog.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "host_status.h"
#include "host_text.h"

namespace ughost {
namespace {

char* copy_for_plugin(const std::string& utf8) {
    const std::string text = utf8_to_cp1251(utf8).value_or(utf8);
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

bool in_range(int index, std::size_t size) { return index >= 0 && static_cast<std::size_t>(index) < size; }

// The indicator a value must carry to set this attribute of an item of this
// kind; no_value when the value is not read.
int indicator_needed(ItemKind kind, int attribute) {
    switch (attribute) {
        case UF_STYLER_SENSITIVITY: return UF_STYLER_INTEGER_VALUE;
        case UF_STYLER_SUBITEM_VALUES: return UF_STYLER_STRING_PTR_VALUE;
        case UF_STYLER_LIST_INSERT: return UF_STYLER_STRING_VALUE;
        case UF_STYLER_VALUE:
            if (kind == ItemKind::text) return UF_STYLER_STRING_VALUE;
            if (kind == ItemKind::real) return UF_STYLER_REAL_VALUE;
            return UF_STYLER_INTEGER_VALUE;
        default: return UF_STYLER_NO_VALUE;
    }
}

}  // namespace

Dialog::Dialog(int id, std::string file_name, DialogDefinition definition, Observer observer)
    : id_(id), file_name_(std::move(file_name)), title_(definition.title), observer_(std::move(observer)) {
    items_.reserve(definition.items.size());
    for (auto& item_spec : definition.items) {
        Item item;
        item.sensitive = item_spec.sensitive;
        if (item_spec.kind == ItemKind::buttons) item.button_sensitive.assign(item_spec.labels.size(), true);
        if (item_spec.kind == ItemKind::choice) item.selection = 0;
        item.definition = std::move(item_spec);
        items_.push_back(std::move(item));
    }
}

Item* Dialog::find_mutable(std::string_view item_id) {
    return const_cast<Item*>(std::as_const(*this).find(item_id));
}

bool Dialog::usable(const Item& item) const {
    if (!item.sensitive) return false;
    if (item.definition.container.empty()) return true;
    const Item* parent = find(item.definition.container);
    return parent == nullptr || usable(*parent);
}

void Dialog::release_spare_lines() {
    for (Item& item : items_) item.lines.release_unused();
    emptied_line_count_ = 0;
}

void Dialog::report(const Item& item, Change what, int index, int flag) {
    if (observer_) observer_(*this, ItemChange{&item, what, index, flag});
}

int Dialog::set_value(const UF_STYLER_item_value_type_t& value) {
    if (value.item_id == nullptr) return status_no_such_item;
    Item* item = find_mutable(value.item_id);
    if (item == nullptr) return status_no_such_item;
    // A value read as the wrong member of the union would be a wild pointer or a
    // meaningless number.
    const int needed = indicator_needed(item->definition.kind, value.item_attr);
    if (needed != UF_STYLER_NO_VALUE && value.indicator != needed) return status_value_type_mismatch;
    switch (value.item_attr) {
        case UF_STYLER_SENSITIVITY:
            return set_sensitivity(*item, value);
        case UF_STYLER_VALUE:
            return set_item_value(*item, value);
        case UF_STYLER_FOCUS:
            focus_ = item->definition.id;
            report(*item, Change::focus);
            return 0;
        case UF_STYLER_SUBITEM_VALUES: {
            if (item->definition.kind != ItemKind::option && item->definition.kind != ItemKind::list) {
                return status_bad_attribute;
            }
            if (value.count < 0 || (value.count > 0 && value.value.strings == nullptr)) return status_bad_value;
            item->lines.clear();
            for (int i = 0; i < value.count; ++i) {
                const char* entry = value.value.strings[i];
                item->lines.push_back_written([&](std::string& line) { cp1251_to_utf8(entry == nullptr ? "" : entry, line); });
            }
            item->selection = item->lines.empty() ? -1 : 0;
            report(*item, Change::entries, value.count);
            return 0;
        }
        case UF_STYLER_LIST_INSERT: {
            if (item->definition.kind != ItemKind::list) return status_bad_attribute;
            if (value.value.string == nullptr) return status_bad_value;
            const int size = static_cast<int>(item->lines.size());
            const int at = value.subitem_index < 0 || value.subitem_index > size ? size : value.subitem_index;
            const std::string_view text(value.value.string);
            if (is_ascii(text)) {
                item->lines.insert(static_cast<std::size_t>(at), text);
            } else {
                item->lines.insert_written(static_cast<std::size_t>(at), [&](std::string& line) { cp1251_to_utf8(text, line); });
            }
            if (item->selection >= at) ++item->selection;
            report(*item, Change::insert, at);
            return 0;
        }
        case UF_STYLER_LIST_DELETE: {
            if (item->definition.kind != ItemKind::list) return status_bad_attribute;
            if (value.subitem_index == -1) {
                emptied_line_count_ = item->lines.size();
                item->lines.clear();
                item->selection = -1;
            } else if (in_range(value.subitem_index, item->lines.size())) {
                item->lines.erase(static_cast<std::size_t>(value.subitem_index));
                if (item->selection == value.subitem_index) item->selection = -1;
                if (item->selection > value.subitem_index) --item->selection;
            } else {
                return status_bad_value;
            }
            report(*item, Change::remove, value.subitem_index);
            return 0;
        }
        default:
            return status_bad_attribute;
    }
}

int Dialog::set_sensitivity(Item& item, const UF_STYLER_item_value_type_t& value) {
    const bool on = value.value.integer != 0;
    if (item.definition.kind == ItemKind::buttons && value.subitem_index != -1) {
        if (!in_range(value.subitem_index, item.button_sensitive.size())) return status_bad_value;
        item.button_sensitive[value.subitem_index] = on;
        report(item, Change::button_sensitive, value.subitem_index, on);
        return 0;
    }
    if (item.definition.kind == ItemKind::buttons) {
        item.button_sensitive.assign(item.button_sensitive.size(), on);
        report(item, Change::button_sensitive, -1, on);
        return 0;
    }
    item.sensitive = on;
    report(item, Change::sensitive, 0, on);
    return 0;
}

int Dialog::set_item_value(Item& item, const UF_STYLER_item_value_type_t& value) {
    switch (item.definition.kind) {
        case ItemKind::list:
        case ItemKind::option:
        case ItemKind::choice: {
            const int index = item.definition.kind == ItemKind::choice ? value.value.integer : value.subitem_index;
            const std::size_t size = item.definition.kind == ItemKind::choice ? item.definition.labels.size() : item.lines.size();
            if (!in_range(index, size)) return status_bad_value;
            item.selection = index;
            report(item, Change::select, index);
            return 0;
        }
        case ItemKind::text:
            if (value.value.string == nullptr) return status_bad_value;
            item.text = cp1251_to_utf8(value.value.string);
            report(item, Change::text);
            return 0;
        case ItemKind::real:
            item.real = value.value.real;
            report(item, Change::real);
            return 0;
        default:
            return status_bad_attribute;
    }
}

int Dialog::ask_value(UF_STYLER_item_value_type_t& value) const {
    if (value.item_id == nullptr) return status_no_such_item;
    const Item* item = find(value.item_id);
    if (item == nullptr) return status_no_such_item;
    if (value.item_attr == UF_STYLER_SENSITIVITY) {
        value.indicator = UF_STYLER_INTEGER_VALUE;
        value.value.integer = item->sensitive ? 1 : 0;
        return 0;
    }
    if (value.item_attr != UF_STYLER_VALUE) return status_bad_attribute;
    value.count = 1;
    switch (item->definition.kind) {
        case ItemKind::list:
        case ItemKind::option:
        case ItemKind::choice:
        case ItemKind::buttons:
            value.indicator = UF_STYLER_INTEGER_VALUE;
            value.value.integer = item->selection;
            return 0;
        case ItemKind::text:
            value.indicator = UF_STYLER_STRING_VALUE;
            value.value.string = copy_for_plugin(item->text);
            return 0;
        case ItemKind::real:
            value.indicator = UF_STYLER_REAL_VALUE;
            value.value.real = item->real;
            return 0;
        default:
            return status_bad_attribute;
    }
}

const Item* Dialog::reachable(std::string_view item_id, std::string& why) const {
    const Item* item = find(item_id);
    if (item == nullptr) {
        why = "the dialog has no item " + std::string(item_id);
        return nullptr;
    }
    if (!usable(*item)) {
        why = "item " + item->definition.id + " is insensitive";
        return nullptr;
    }
    return item;
}

bool Dialog::user_item(std::string_view item_id, Item*& item, std::string& why) {
    item = const_cast<Item*>(reachable(item_id, why));
    return item != nullptr;
}

bool Dialog::user_select(std::string_view item_id, int index, std::string& why) {
    Item* item = nullptr;
    if (!user_item(item_id, item, why)) return false;
    const auto kind = item->definition.kind;
    if (kind != ItemKind::list && kind != ItemKind::option && kind != ItemKind::choice) {
        why = "item " + item->definition.id + " is not a list, an option list or a choice";
        return false;
    }
    const std::size_t size = kind == ItemKind::choice ? item->definition.labels.size() : item->lines.size();
    if (!in_range(index, size)) {
        why = "item " + item->definition.id + " has no line " + std::to_string(index);
        return false;
    }
    item->selection = index;
    return true;
}

bool Dialog::user_type(std::string_view item_id, const std::string& utf8, std::string& why) {
    Item* item = nullptr;
    if (!user_item(item_id, item, why)) return false;
    if (item->definition.kind == ItemKind::text) {
        if (!utf8_to_cp1251(utf8)) {
            why = "Текст содержит знаки, которых нет в кодовой странице 1251: такой текст не может быть записан.";
            return false;
        }
        item->text = utf8;
        return true;
    }
    if (item->definition.kind == ItemKind::real) {
        double number = 0.0;
        const char* last = utf8.data() + utf8.size();
        const auto [end, error] = std::from_chars(utf8.data(), last, number);
        if (utf8.empty() || error != std::errc{} || end != last || !std::isfinite(number)) {
            why = "«" + utf8 + "» — не число.";
            return false;
        }
        item->real = number;
        return true;
    }
    why = "item " + item->definition.id + " is not a text or real field";
    return false;
}

bool Dialog::user_press(std::string_view item_id, int index, std::string& why) {
    Item* item = nullptr;
    if (!user_item(item_id, item, why)) return false;
    if (item->definition.kind == ItemKind::button && index < 0) return true;
    if (item->definition.kind != ItemKind::buttons) {
        why = "item " + item->definition.id + " is not a button";
        return false;
    }
    if (!in_range(index, item->button_sensitive.size())) {
        why = "item " + item->definition.id + " has no button " + std::to_string(index);
        return false;
    }
    if (!item->button_sensitive[index]) {
        why = "button " + std::to_string(index) + " of " + item->definition.id + " is insensitive";
        return false;
    }
    item->selection = index;
    return true;
}

bool Dialog::user_can_activate(std::string_view item_id, std::string& why) const {
    const Item* item = reachable(item_id, why);
    if (item == nullptr) return false;
    if (item->definition.kind != ItemKind::text && item->definition.kind != ItemKind::real) {
        why = "item " + item->definition.id + " is not a field";
        return false;
    }
    return true;
}

}  // namespace ughost
