// The cutting-data calculator: cutting speed of a cutter, or feed per tooth,
// computed in the host's menus and put into the dialog's field.
#include <cstring>

#include "dialog_items.h"
#include "feeds_editor.h"
#include "format_text.h"
#include "uf.h"

namespace {

// pi cut to seven decimals, over 1000: the value the shop's tables were made with.
constexpr double speed_factor = 0.0031415926;

constexpr int choose_speed = UF_UI_MENU_ITEM_1;
constexpr int choose_feed = UF_UI_MENU_ITEM_1 + 1;

bool leaves(int answer) { return answer == UF_UI_BACK || answer == UF_UI_CANCEL || answer == UF_UI_NO_MENU; }
bool accepted(int answer) { return answer == UF_UI_OK || answer == UF_UI_OK_WITH_VALUES; }

int choose_calculation() {
    char items[2][UF_UI_MENU_ITEM_SIZE] = {};
    std::strncpy(items[0], "Расчет: Скорости резания", UF_UI_MENU_ITEM_SIZE - 1);
    std::strncpy(items[1], "Расчет: Подачи на зуб", UF_UI_MENU_ITEM_SIZE - 1);
    for (;;) {
        const int answer = uc1603("Выберите расчет.....", 1, items, 2);
        if (answer == choose_speed || answer == choose_feed || leaves(answer)) return answer;
    }
}

enum class Outcome { result, leave, back_to_choice };

// Shows the input menu, values at 0, until the user gives valid values or leaves.
template <std::size_t count>
Outcome ask_values(const char* const (&labels)[count], double (&values)[count], bool (*valid)(const double*)) {
    char texts[count][UF_UI_NUMBER_LABEL_SIZE] = {};
    for (std::size_t i = 0; i < count; ++i) std::strncpy(texts[i], labels[i], UF_UI_NUMBER_LABEL_SIZE - 1);
    for (;;) {
        int flags[count] = {};
        for (double& value : values) value = 0.0;
        const int answer = uc1609("Введите величины.....", texts, static_cast<int>(count), values, flags);
        if (accepted(answer)) {
            if (valid(values)) return Outcome::result;
            continue;
        }
        return leaves(answer) ? Outcome::leave : Outcome::back_to_choice;
    }
}

// A result the file could not hold (a product that overflows, or infinity
// given as a value) is refused, and the field keeps what it had.
void show_result(int dialog, const char* item, const char* message, double result) {
    if (!storable_number(result)) return;
    dialog_items::set_real(dialog, item, result);
    uc1601(format_text(message, result).c_str(), 1);
}

void run_calculator(int dialog) {
    for (;;) {
        const int choice = choose_calculation();
        if (leaves(choice)) return;
        Outcome outcome = Outcome::leave;
        if (choice == choose_speed) {
            const char* const labels[] = {":Диам. фрезы=", ":Число обор.="};
            double values[2];
            outcome = ask_values(labels, values, [](const double* v) { return v[0] >= 0 && v[1] >= 0; });
            if (outcome == Outcome::result) {
                show_result(dialog, "SURF_SPEED_MPM", "Скорость резания = %.3lf (m/мин)",
                            values[0] * values[1] * speed_factor);
            }
        } else {
            const char* const labels[] = {":Подача=", ":N зуб. фр.=", ":Число обор.="};
            double values[3];
            outcome = ask_values(labels, values, [](const double* v) { return v[0] >= 0 && v[1] > 0 && v[2] > 0; });
            if (outcome == Outcome::result) {
                show_result(dialog, "FEED_MMPT", "Подача на зуб = %.3lf (мм/зуб)", values[0] / (values[1] * values[2]));
            }
        }
        if (outcome != Outcome::back_to_choice) return;
    }
}

}  // namespace

void calc_cb(int dialog) { run_calculator(dialog); }
