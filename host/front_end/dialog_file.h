// Dialog files: the layout and labels of a dialog, loaded by name. The format is
// described in host/README.md; texts are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ughost {

enum class ItemKind { list, option, text, real, button, buttons, choice, container };

struct ItemDefinition {
    std::string id;
    ItemKind kind = ItemKind::text;
    std::string label;
    bool sensitive = true;
    std::string container;            // id of the enclosing container, empty at top level
    std::vector<std::string> labels;  // buttons of a layout, choices of a choice item
};

struct DialogDefinition {
    std::string title;
    std::vector<ItemDefinition> items;
};

struct DialogFileError {
    int line = 0;
    std::string message;
};

// Parses the text of a dialog file. On failure returns false and fills error.
bool parse_dialog_file(std::string_view text, DialogDefinition& definition, DialogFileError& error);

const char* item_kind_name(ItemKind kind);

}  // namespace ughost
