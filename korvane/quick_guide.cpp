// The quick guide, item 8 of the main menu: a fixed text in the listing window,
// one write per line, then a one-item menu that holds the user until dismissed.
#include <ctime>
#include <string>
#include <vector>

#include "korvane.h"
#include "uf.h"
#include "windows.h"

namespace {

#define SEPARATOR "\n#============================================================"

// Everything after the date, in order. Each piece starts its own line.
constexpr const char* guide_text[] = {
    "\n Библиотека инструмента, материалов и режимов резания.",
    "\n\t \n",

    // From the authors.
    SEPARATOR,
    "\n\t От Авторов :",
    "\n\t\t Это приложение написано авторами по собственной инициативе,",
    "\n\t\t чтобы помочь продвинутым технологам и программистам ЧПУ",
    "\n\t\t перейти на NX3 с базами данных, уже созданными",
    "\n\t\t для их производства.",
    "\n\t\t В версиях Unigraphics с 16 по 20 (NX2) не было средства",
    "\n\t\t для редактирования и создания ASCII базы, и этот пробел",
    "\n\t\t приходилось заполнять своими силами.",
    "\n\t\t Только в NX3 появился собственный инструмент",
    "\n\t\t для редактирования и создания ASCII базы.",
    "\n",
    "\n\t\t Наилучших успехов ВАМ, в реализации ваших планов.",
    SEPARATOR,

    // Introduction.
    "\n\t Большие компании долго реализовали возможности хранения большого количества",
    "\n данных о режущем инструменте, станках и технологичности изделий в базах данных.",
    "\n Такие базы сохраняют опыт производства при смене поколений технологов",
    "\n и позволяют быстро находить нужные данные при подготовке управляющих программ.",
    "\n Единая база исключает расхождения между цехами и отделами, а её содержимое",
    "\n легко проверять, дополнять и переносить на новое оборудование",
    "\n и в новые версии программного обеспечения.",
    "\n",
    "\n\t Наличие один базы данных, однако, является бессмысленным в среде обработки, если эта",
    "\n информация не может быть использована непосредственно при создании операций.",
    "\n Модуль обработки Unigraphics обращается к этим данным через свои библиотеки:",
    "\n инструмент, станок, подачи и скорости выбираются из базы при создании операции,",
    "\n а не вводятся вручную, что сокращает время подготовки программ",
    "\n и число ошибок.",
    "\n",
    "\n\t Есть несколько типов баз данных, которые Вы можете использовать в модуле обработки.",
    "\n Это могут быть внешние реляционные базы данных, базы систем управления",
    "\n производственными ресурсами или стандартная ASCII база, поставляемая",
    "\n вместе с Unigraphics. ASCII база состоит из текстовых файлов, которые",
    "\n можно просматривать и править любым текстовым редактором.",
    "\n Она предназначена для небольших объёмов данных, которые меняются",
    "\n редко.",
    "\n",
    "\n\t Для больших объёмов данных существуют отдельно продаваемые модули",
    "\n управления производственными ресурсами. Они предлагают более богатый",
    "\n пользовательский интерфейс: поиск, классификацию, графическое",
    "\n представление инструмента и разграничение прав доступа.",
    "\n Такие модули подключаются к модулю обработки тем же способом,",
    "\n что и ASCII база.",
    "\n",
    "\n\t Библиотека Unigraphics - это интерфейс между производственными приложениями и этими базами данных.",
    "\n Она работает одинаково, какой бы тип базы данных ни использовался,",
    "\n поэтому операции обработки не зависят от того, где хранятся данные.",

    // The five kinds of information.
    "\n Библиотека позволяет доступ к пяти типам информации:",
    "\n ·\tинформация о режущем инструменте",
    "\n ·\tинформация о станках",
    "\n ·\tинформация о подачах и скоростях",
    "\n ·\tинформация о шаблонах настройки",
    "\n ·\tвыходная информация модуля обработки",
    "\n",

    // Further reading.
    "\n Для получения более подробной информации см. HELP :",
    "\n Using Unigraphics Library [Использование библиотек Unigaphics]",
    "\n Customizing the Unigraphics Library [Настройка библиотек Unigaphics]",
    "\n Benefits of the Unigraphics Library [Выгоды от использования библиотек Unigaphics]",

    // Benefits.
    SEPARATOR "\n",
    "\n\t \"Выгоды от использования библиотек Unigraphics\"",
    "\n\t С библиотеками Unigraphics Вы можете:",
    "\n\t• Хранить и классифицировать большое количество инструментов, станков,",
    "\n\t   подач и скоростей.",
    "\n\t• Настраивать базу данных в соответствии с Вашими потребностями.",
    "\n\t• Легко вызывать данные из библиотеки при создании операций",
    "\n\t   обработки.",
    "\n\t• Экономить время, создавая шаблоны и стратегии обработки на основе",
    "\n\t   инструментов, поставляемых с библиотеками Unigraphics.",

    // Filling the database.
    "\n" SEPARATOR "\n",
    "\n\t Filling the Database [Заполнение базы данных]:",
    "\n ASCII файлы, Которые используются, для хранения библиотечных данных, идентифицированы следующими",
    "\n системными переменными. Фактические пути к файлам можно посмотреть выбрав Справка  - > Журнал Unigraphics.",
    "\n",
    "\nДля инструментов:",
    "\n  ${UGII_CAM_LIBRARY_TOOL_ENGLISH_DIR}\\tool_database.dat",
    "\n  ${UGII_CAM_LIBRARY_TOOL_METRIC_DIR}\\tool_database.dat",
    "\n",
    "\nДля станков:",
    "\n  ${UGII_CAM_LIBRARY_MACHINE_ASCII_DIR}machine_database.dat",
    "\n",
    "\nДля подач и скоростей:",
    "\n  ${UGII_CAM_LIBRARY_FEEDS_SPEEDS_ASCII_DIR}feeds_speeds.dat",
    "\n  ${UGII_CAM_LIBRARY_FEEDS_SPEEDS_ASCII_DIR}cut_methods.dat",
    "\n  ${UGII_CAM_LIBRARY_FEEDS_SPEEDS_ASCII_DIR}part_materials.dat",
    "\n  ${UGII_CAM_LIBRARY_FEEDS_SPEEDS_ASCII_DIR}tool_materials.dat",
    "\n",
    "\nДля настроек:",
    "\n  ${UGII_BASE_DIR}\\MACH\\resource\\template_dir\\template.dat",
    "\n",

    // The grammar of an ASCII library file.
    "\nФайл данных ASCII это список записей. Общая конструкция записи:",
    "\n\t record-type [тип записи] параметры",
    "\nЕсть два типа записи, которые определяются следующими ключевыми словами:",
    "\n\t  FORMAT [Формат]",
    "\n\t  DATA [Данные]",
    "\nЗапись ФОРМАТ описывает список параметров (DB_IDs), который существует в в последовательных записях ",
    "\nDATA. Идентификаторы атрибутов служат значениями DB_ID в конструкциях DB_ALIAS",
    "\nфайла описания (dbc_tool_ascii.def). Вы можете определять собственные",
    "\nидентификаторы атрибутов. Строка FORMAT содержит все параметры, которые Вы хотите",
    "\nвводить для каждой записи данных этого класса.",
    "\n",
    "\n Символ решетки (#) указывает на коментарии - все символы после этого знака до конца строки игнорируется.",
    "\n",
    "\n Каждая запись DATA содержит данные для одного инструмента в базе данных. Запись DATA содержит ключевое слово DATA,",
    "\n за которым следуют значения атрибутов, разделённые символом ( | ),",
    "\n в том порядке, в котором они перечислены в строке FORMAT.",
    "\n",
    "\n DATA | ugt0201_001 |02| 01|01|01| End Mill |TMC0_00006|HSS-Co5-TiN | 320 | Steep Taper 20 | 10.5 | 35.3| 4| 55",
    "\n",
    "\n В записи данных:",
    "\n  Должено быть то же самое число параметров как задано в DB_IDS в строке FORMAT выше (пустой параметр допустим).",
    "\n  Каждый параметр должен быть отделен символом ( | ). В конце строки этого символа быть не должно.",
    "\n  Первый знак после ключевого слова DATA (исключая пробелы) должен быть ( | ).",
    "\n  Если запись не начинается с ключевого слова  FORMAT или DATA, она обрабатывается как продолжение предыдущей",
    "\n  записи FORMAT или DATA.",

    "\n ",
    SEPARATOR "\n$$",
};

#undef SEPARATOR

// The path of the running host program. The buffer grows until the whole path
// fits: a cut path would name some other file.
std::string host_program_path() {
    std::vector<char> buffer(256);
    for (;;) {
        const DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), buffer.data(),
                                                static_cast<DWORD>(buffer.size()));
        if (length + 1 < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string local_date() {
    const std::time_t now = std::time(nullptr);
    const char* text = std::ctime(&now);  // ends with its own line break
    return text == nullptr ? std::string() : std::string(text);
}

void write_listing(const std::string& text) { UF_UI_write_listing_window(text.c_str()); }

// Holds the user until the menu is dismissed; only the host's OK codes show it again.
void hold_until_dismissed() {
    char item[1][UF_UI_MENU_ITEM_SIZE] = {};
    int answer = 0;
    do {
        answer = uc1603("Краткое Руководство пользователя и об авторах ..", 1, item, 1);
    } while (answer == UF_UI_OK || answer == UF_UI_OK_WITH_VALUES);
}

}  // namespace

int show_quick_guide() {
    UF_UI_open_listing_window();
    char* release = nullptr;  // the host's text: not freed
    UF_get_release(&release);
    write_listing("\n Релиз Unigraphics - " + std::string(release == nullptr ? "" : release) + " ");
    write_listing("\n Загрузочный модуль библиотеки: ");
    write_listing(host_program_path());
    write_listing("\n");
    write_listing("\n Дата: " + local_date() + " ");
    for (const char* piece : guide_text) UF_UI_write_listing_window(piece);
    hold_until_dismissed();
    return 0;
}
