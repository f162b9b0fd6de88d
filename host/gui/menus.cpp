#include "menus.h"

#include "gui_text.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <charconv>

#include "host_text.h"
#include "keyboard_focus.h"
#include "menu_keys.h"
#include "uf.h"

namespace ughost {
namespace {

// Back and Cancel under every menu; Escape is Cancel. Enter on either presses
// it, as on any button of a menu, never the menu's default item.
QDialogButtonBox* back_and_cancel(QDialog& dialog, int& answer) {
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* back = buttons->addButton("Назад", QDialogButtonBox::ResetRole);
    QPushButton* cancel = buttons->addButton("Отмена", QDialogButtonBox::RejectRole);
    back->setObjectName("BACK");
    cancel->setObjectName("CANCEL");
    QObject::connect(back, &QPushButton::clicked, &dialog, [&dialog, &answer] {
        answer = UF_UI_BACK;
        dialog.accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, [&dialog, &answer] {
        answer = UF_UI_CANCEL;
        dialog.accept();
    });
    return buttons;
}

bool read_real(const QString& typed, double& value) {
    const std::string text = real_text(typed);
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    return !text.empty() && error == std::errc{} && end == last;
}

// A menu is as narrow as its buttons, and the window frame cut its title short;
// the frame's own buttons and icon take about a hundred pixels beside it.
void keep_title_whole(QDialog& dialog) {
    const int title_width = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(dialog.windowTitle());
    dialog.setMinimumWidth(title_width + 120);
}

// Up modal to the window it stands on only (the listing window stays usable), then played.
void play_when_up(QDialog& dialog, const MenuPlay& play) {
    keep_title_whole(dialog);
    dialog.setWindowModality(Qt::WindowModal);
    if (play) QTimer::singleShot(0, &dialog, [&dialog, play] { play(dialog); });
}

}  // namespace

int run_choice_menu(QWidget* parent, const std::string& title, int default_item,
                    const std::vector<std::string>& items, const MenuPlay& play) {
    QDialog dialog(parent);
    dialog.setObjectName("menu");
    dialog.setWindowTitle(qt(title));
    int answer = UF_UI_CANCEL;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(qt(title), &dialog));
    std::vector<QPushButton*> buttons;
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* button = new QPushButton(items[i].empty() ? QString(" ") : qt(items[i]), &dialog);
        button->setObjectName("ITEM_" + QString::number(i + 1));
        const int code = UF_UI_MENU_ITEM_1 + static_cast<int>(i);
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &answer, code] {
            answer = code;
            dialog.accept();
        });
        layout->addWidget(button);
        buttons.push_back(button);
        if (static_cast<int>(i) + 1 == default_item) {
            button->setDefault(true);
            button->setFocus();
        }
    }
    QDialogButtonBox* back_cancel = back_and_cancel(dialog, answer);
    layout->addWidget(back_cancel);
    buttons.push_back(back_cancel->findChild<QPushButton*>("BACK"));
    buttons.push_back(back_cancel->findChild<QPushButton*>("CANCEL"));
    new MenuKeys(std::move(buttons), items.size(), &dialog);
    play_when_up(dialog, play);
    dialog.exec();
    give_keyboard_back(parent);
    return answer;
}

NumberMenuAnswer run_number_menu(QWidget* parent, const std::string& title, const std::vector<std::string>& labels,
                                 const std::vector<double>& values, const MenuPlay& play) {
    QDialog dialog(parent);
    dialog.setObjectName("numbers");
    dialog.setWindowTitle(qt(title));
    NumberMenuAnswer result;
    result.values = values;
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    std::vector<QLineEdit*> fields;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        auto* field = new QLineEdit(qt(format_real(values[i])), &dialog);
        field->setObjectName("VALUE_" + QString::number(i + 1));
        form->addRow(qt(labels[i]), field);
        fields.push_back(field);
    }
    layout->addLayout(form);
    // Typing replaces the first value rather than adding to it.
    if (!fields.empty()) {
        fields.front()->setFocus();
        fields.front()->selectAll();
    }
    auto* ok = new QPushButton("OK", &dialog);
    ok->setObjectName("OK");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!read_real(fields[i]->text(), result.values[i])) {
                QMessageBox refusal(QMessageBox::Warning, qt(title), "«" + fields[i]->text() + "» — не число.",
                                    QMessageBox::Ok, &dialog);
                refusal.setWindowModality(Qt::WindowModal);
                refusal.exec();
                fields[i]->setFocus();
                return;
            }
        }
        result.code = UF_UI_OK;
        dialog.accept();
    });
    auto* buttons = back_and_cancel(dialog, result.code);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    layout->addWidget(buttons);
    result.code = UF_UI_CANCEL;
    play_when_up(dialog, play);
    dialog.exec();
    give_keyboard_back(parent);
    return result;
}

}  // namespace ughost
