// The launcher's main menu: each item starts a plug-in library or the quick guide.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "korvane.h"
#include "library_path.h"
#include "uf.h"

namespace {

struct MenuItem {
    const char* text;
    const char* library;  // the library's name without its suffix; null: the quick guide
    int mode;             // passed to the library's entry
};

// kessup (tool library) and ferrant (export and import) are not part of this system;
// without them their items end in the "Don't load" message.
constexpr MenuItem menu_items[] = {
    {"Инструмент", "kessup", 0},
    {"Режимы резания: подачи, шпинд.", "ratomir", 0},
    {"Метод резания", "strakel", 0},
    {"Материал инструмента", "gradivo", 0},
    {"Материал заготовки", "blankora", 0},
    {"-> Сохранить базу (Экспорт..)", "ferrant", 0},
    {"-> Загрузить базу (Импорт..)", "ferrant", 1},
    {"-> Краткое руководство", nullptr, 0},
};
constexpr int item_count = static_cast<int>(std::size(menu_items));

static_assert(std::ranges::all_of(menu_items,
                                  [](const MenuItem& item) {
                                      return std::string_view(item.text).size() < UF_UI_MENU_ITEM_SIZE;
                                  }),
              "every menu text must fit its slot with its terminator");

void act_on(const MenuItem& item) {
    if (item.library == nullptr) {
        show_quick_guide();
    } else {
        run_editor_library(library_file_name(item.library), item.mode);
    }
}

}  // namespace

int run_main_menu() {
    char slots[item_count][UF_UI_MENU_ITEM_SIZE] = {};
    for (int i = 0; i < item_count; ++i) std::strcpy(slots[i], menu_items[i].text);

    // The menu comes back after every action, item 1 preselected, until the user
    // backs out or cancels or the host cannot show it; an unexpected answer just shows it again.
    for (;;) {
        const int answer = uc1603("Выберите действие.....", 1, slots, item_count);
        const int chosen = answer - UF_UI_MENU_ITEM_1;
        if (chosen >= 0 && chosen < item_count) act_on(menu_items[chosen]);
        if (answer == UF_UI_BACK || answer == UF_UI_CANCEL || answer == UF_UI_NO_MENU) return 0;
    }
}
