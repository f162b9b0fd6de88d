// ratomir's List/Help: a quick guide, then every table it holds in the form of
// its file, unsaved changes included.
#include "feeds_editor.h"
#include "format_text.h"
#include "table_formats.h"
#include "listing.h"

namespace {

// "%.5s|%.20s|%.20s|%.20s|%.20s|%.3lf|%.3lf|%.2lf|%.2lf|%.3lf|%.3lf|%.3lf|%.3lf\n", built by
// hand into the caller's line: unlike the file, the listing always shows both
// index columns, and the general formatter would read its format anew per row.
void append_feeds_listing_line(std::string& line, const FEEDS& row) {
    using library_file_detail::append_text;
    constexpr std::size_t shown_tag = 5;
    constexpr std::size_t shown_reference = 20;
    append_text(line, row.tag, shown_tag);
    for (const char* reference : {row.LIBRF, row.OPERTYPE, row.PARTMAT, row.TOOLMAT}) {
        line += '|';
        append_text(line, reference, shown_reference);
    }
    const double numbers[] = {row.DPT_CUT_MM * inches_per_mm, row.DPT_CUT_MM, row.INDEX1, row.INDEX2,
                              row.SURF_SPEED_MPM * feet_per_metre, row.SURF_SPEED_MPM,
                              row.FEED_MMPT * inches_per_mm, row.FEED_MMPT};
    constexpr int decimals[] = {3, 3, 2, 2, 3, 3, 3, 3};
    for (std::size_t i = 0; i < std::size(numbers); ++i) {
        line += '|';
        append_fixed(line, numbers[i], decimals[i]);
    }
    line += '\n';
}

void write_guide() {
    listing_write({
        "\n Библиотека Скоростей и Подач.",
        "\n Используя данное приложение Вы можете :редактировать и создавать режимы обработки...",
        "\n#============================================================",
        "\n Краткий справочник по командам:",
        "\n  'Редактировать' - редактирует текущую запись",
        "\n  'Новая запись' - активизирует диалоговое окно, позволяющее создать новую запись",
        "\n  'Удалить запись' - удаляет выделенную запись",
        "\n  'Лист/Справка' - выводит список текущих записей и краткое руководство.",
        "\n  'Загрузить Базу' - загружает записи из файла данных",
        "\n  'Записать Базу' - сохраняет записи в файл данных",
        "\n\n#-----------------------------------------------------------",
        "\n\n    Информация о подачах и скоростях расчитывается из комбинации",
        "\n метода резания, материал и геометрии инструмента и материала детали.",
        "\n Каждый из этих типов информации сохраняется в отдельной библиотеке.",
        "\n К библиотеке подач и скоростей можно обращаться следующим образом:",
        "\n   •  В меню операции в модуле обработки, выберите опцию Feed Rates [Подачи]",
        "\n      из раздела меню Machining Parameters [Параметры обработки].",
        "\n      В меню In the Feeds and Speeds [Подачи],",
        "\n      Вы видите опцию Reset all from Table [Взять все из таблицы].",
        "\n      Эта опция вызывает все значения которые находит в библиотеки ASCII.",
        "\n   Внимание! ",
        "\n    Опция Reset all from Table [Взять все из таблицы] работает только если метод резания,",
        "\n    материал инструмента и материал детали выбраны.",
        "\n\n  Формулы:",
        "\n speed in english = speed in metric * 1000 / (12 * 25.4).",
        "\n feed_per_tooth in english = feed_per_tooth in metric/25.4 .",
        "\n cut_depth (дюйм) = cut_depth (мм)/25.4 .",
        "\n Скорость резания (м/мин) = PI*D(фрезы,мм)*n(об/мин)/1000. .",
        "\n Подача (мм/мин) = Подача (мм/зуб)*z(число зубьев)*n(об/мин).",
        "\n  Коэффициенты (%) для преобразования подач:",
        "\n\t dbc_engage_percent     90",
        "\n\t dbc_first_cut_percent  60",
        "\n\t dbc_approach_percent    0",
        "\n\t dbc_stepover_percent    0",
        "\n\t dbc_retract_percent     0",
        "\n\t dbc_departure_percent   0",
        "\n\t dbc_return_percent      0",
    });
}

void write_feeds_section() {
    listing_write({
        "\n\n#-----------------------------------------------------------",
        "\n\n Этот файл представляет базу данных режимов резания.",
        "\n Следующие ключевые слова представляют записи базы:\n",
        "\t  LIBRF           - уникальный индификатор записи (Library Reference)\n",
        "\t  OPERTYPE        - cutmthd_libref              Cut Method Library Reference\n",
        "\t  PARTMAT         - part_material_libref Part   Part Material Library Reference\n",
        "\t  TOOLMAT         - tool_material_libref        Tool Material Library Reference \n",
        "\t  DPT_CUT_IN      - dpth_of_cut                 глубина резания (дюйм)\n",
        "\t  DPT_CUT_MM      - dpth_of_cut                 глубина резания (mm)\n",
        "\t  SURF_SPEED_FPM  - surface_speed               Скорость резания (дюйм/мин)\n",
        "\t  SURF_SPEED_MPM  - surface_speed               Скорость резания (м/мин)\n",
        "\t  FEED_IPT        - feed_per_tooth              Подача на зуб (дюйм/зуб)\n",
        "\t  FEED_MMPT       - feed_per_tooth              Подача на зуб (мм/зуб)\n",
        "\n ",
    });
    listing_state(feeds_table.size(), SaveFlag, feeds_path);
    listing_write(
        {"\nFORMAT LIBRF OPERTYPE PARTMAT TOOLMAT DPT_CUT_IN DPT_CUT_MM INDEX1 INDEX2 SURF_SPEED_FPM SURF_SPEED_MPM "
         "FEED_IPT FEED_MMPT",
         "\n#-----------------------------------------------------------\n"});
    std::string line;
    for (const FEEDS& row : feeds_table) {
        line.clear();
        append_feeds_listing_line(line, row);
        listing_write(line);
    }
    listing_write("\n#-----------------------------------------------------------");
}

void write_tool_material_section() {
    listing_write({
        "\n\n Эти записи представляют файл базы данных Материал Инструмента 'Tool Material'.",
        "\n Следующие ключевые слова представляют записи базы:",
        "\n\t  LIBREF   material_code         - уникальный индификатор записи",
        "\n\t  MATNAM   material_name         - Название материала  (появляется в меню выбора инструмента)",
        "\n\t  MATDESC  material_description  - Описание материала",
    });
    listing_state(tool_material_table.size(), SaveFlag, tool_material_path);
    listing_write({"\nFORMAT LIBRF MATNAM MATDESC\n"});
    listing_rows(tool_material_format, tool_material_table);
    listing_write("\n#-----------------------------------------------------------");
}

void write_part_material_section() {
    listing_write("\n\n Эти записи представляют файл базы данных материалов.");
    listing_part_material_keywords();
    listing_state(part_material_table.size(), SaveFlag, part_material_path);
    listing_write({"\nFORMAT MATCODE MATNAME PARTMAT HARDNESS LIBRF",
                   "\n#-----------------------------------------------------------\n"});
    listing_rows(part_material_format, part_material_table);
    listing_write("\n#-----------------------------------------------------------");
}

void write_cut_method_section() {
    listing_write({
        "\n\n Эти записи представляют файл базы Методов резания 'Cut Methods'.",
        "\n Следующие ключевые слова представляют записи базы:",
        "\n\t  LIBREF   - уникальный индификатор записи (Library Reference)",
        "\n\t  MODE     - Режим машины { MILL , DRILL , LATHE }",
        "\n\t  NAME     - Название Метода Резания",
    });
    listing_state(cut_method_table.size(), SaveFlag, cut_method_path);
    listing_write(
        {"\nFORMAT LIBRF MODE NAME DESCRIPTION", "\n#-----------------------------------------------------------\n"});
    listing_rows(cut_method_format, cut_method_table);
    listing_write("\n#-----------------------------------------------------------");
}

}  // namespace

void feeds_listing() {
    listing_start();
    write_guide();
    write_feeds_section();
    write_tool_material_section();
    write_part_material_section();
    write_cut_method_section();
    listing_write({"\n ", "\n#============================================================\n$$"});
}
