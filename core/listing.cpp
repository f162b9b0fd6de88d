#include "listing.h"

#include "format_text.h"
#include "uf.h"

void listing_start() {
    UF_UI_open_listing_window();
    char* release = nullptr;
    UF_get_release(&release);
    listing_write(format_text("\n Релиз Unigraphics - %s ", release == nullptr ? "" : release));
}

void listing_write(const std::string& text) { UF_UI_write_listing_window(text.c_str()); }

void listing_write(std::initializer_list<const char*> texts) {
    for (const char* text : texts) UF_UI_write_listing_window(text);
}

void listing_state(std::size_t count, int save_flag, const std::string& path) {
    listing_write({"\n#-----------------------------------------------------------", "\n# Текущее состояние базы:"});
    listing_write(format_text("\n# Count=%ld\n# SaveFlag=%d\n# Name=%s ", static_cast<long>(count), save_flag, path));
    listing_write("\n#-----------------------------------------------------------");
}

void listing_part_material_keywords() {
    listing_write({
        "\n Следующие ключевые слова представляют записи базы:\n",
        "\t  MATCODE   material_code          - код материала\n",
        "\t  MATNAME   material_name          - название материала (появляется в меню заготовка)\n",
        "\t  PARTMAT   material_description   - описание материала\n",
        "\t  HARDNESS  material_hardness      - твердость материала\n",
        "\t  LIBREF    partmaterial_libref    - уникальный индификатор записи\n",
        "\t                                     (Library Reference)\n",
    });
}
