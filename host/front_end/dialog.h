// A dialog as the host holds it while it is open: the items of its dialog file
// with their current values. Plug-in requests (set and ask) and user actions both
// act on it; every change a user could see is reported to the observer.
// Front-ends read a dialog through its inline accessors only: the rest runs
// inside the host library, which exports none of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialog_file.h"
#include "list_lines.h"
#include "uf.h"

namespace ughost {

struct Item {
    ItemDefinition definition;
    bool sensitive = true;
    std::vector<bool> button_sensitive;  // per button of a layout
    ListLines lines;                     // lines of a list, entries of an option list (UTF-8)
    int selection = -1;                  // list line, option entry, choice, pressed button
    std::string text;                    // UTF-8
    double real = 0.0;
};

enum class Change { sensitive, button_sensitive, insert, remove, select, text, real, focus, entries };

struct ItemChange {
    const Item* item = nullptr;
    Change what = Change::text;
    int index = 0;     // line, entry or button; -1 = all
    int flag = 0;      // sensitivity
};

class Dialog {
public:
    using Observer = std::function<void(const Dialog&, const ItemChange&)>;

    Dialog(int id, std::string file_name, DialogDefinition definition, Observer observer);

    int id() const { return id_; }
    const std::string& file_name() const { return file_name_; }
    const std::string& title() const { return title_; }
    const std::vector<Item>& items() const { return items_; }
    const Item* find(std::string_view item_id) const {
        // A refill names its list once for every line: the item found last is looked at first.
        if (last_found_ < items_.size() && items_[last_found_].definition.id == item_id) return &items_[last_found_];
        for (std::size_t at = 0; at < items_.size(); ++at) {
            if (items_[at].definition.id != item_id) continue;
            last_found_ = at;
            return &items_[at];
        }
        return nullptr;
    }
    const std::string& focus() const { return focus_; }

    // Plug-in requests; 0 on success, a host status otherwise.
    int set_value(const UF_STYLER_item_value_type_t& value);
    int ask_value(UF_STYLER_item_value_type_t& value) const;
    // Gives back the room a refill left unused; the host calls it when the
    // callback that refilled the list returns.
    void release_spare_lines();
    // How many lines the list emptied last had: about as many as its refill brings.
    std::size_t spare_line_count() const { return emptied_line_count_; }

    // User actions; false (with a reason) when the item cannot take the action.
    bool user_select(std::string_view item_id, int index, std::string& why);
    bool user_type(std::string_view item_id, const std::string& utf8, std::string& why);
    bool user_press(std::string_view item_id, int index, std::string& why);
    bool user_can_activate(std::string_view item_id, std::string& why) const;

    // An item is usable when it and every container around it are sensitive.
    bool usable(const Item& item) const;

private:
    Item* find_mutable(std::string_view item_id);
    void report(const Item& item, Change what, int index = 0, int flag = 0);
    int set_sensitivity(Item& item, const UF_STYLER_item_value_type_t& value);
    int set_item_value(Item& item, const UF_STYLER_item_value_type_t& value);
    // The item, when the user can reach it; otherwise null and why not.
    const Item* reachable(std::string_view item_id, std::string& why) const;
    bool user_item(std::string_view item_id, Item*& item, std::string& why);

    int id_;
    std::string file_name_;
    std::string title_;
    std::vector<Item> items_;
    mutable std::size_t last_found_ = 0;  // the place of the item find() found last
    std::string focus_;
    std::size_t emptied_line_count_ = 0;  // the lines the list emptied last had
    Observer observer_;
};

}  // namespace ughost
