#include "user_input.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QRadioButton>

#include "dialog_window.h"
#include "gui_text.h"
#include "list_model.h"
#include "uf.h"

namespace ughost {
namespace {

void click_at(QWidget* widget, QPoint position) {
    const QPointF local(position);
    const QPointF global(widget->mapToGlobal(position));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void key(QWidget* widget, int code, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// The host's line, wherever the list shows it; not at all where a filter hides it.
void click_list_line(QListView* list, int line) {
    auto* model = static_cast<ListModel*>(list->model());
    const QModelIndex row = model->index(model->row_of(line), 0);
    if (!row.isValid()) return;
    list->scrollTo(row);
    click_at(list->viewport(), list->visualRect(row).center());
}

// An option list's entry, chosen from its pop-up.
void choose_entry(QComboBox* combo, int index) {
    if (!combo->isEnabled() || index < 0 || index >= combo->count()) return;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void select_in(DialogWindow& window, const QString& id, int index) {
    if (auto* list = window.findChild<QListView*>(id)) {
        click_list_line(list, index);
    } else if (auto* combo = window.findChild<QComboBox*>(id)) {
        choose_entry(combo, index);
    } else if (auto* choice = window.findChild<QAbstractButton*>(id + "_" + QString::number(index))) {
        click_button(choice);
    }
}

void press_in(DialogWindow& window, const QString& id, int index) {
    const QString name = index < 0 ? id : id + "_" + QString::number(index);
    if (auto* button = window.findChild<QAbstractButton*>(name)) click_button(button);
}

}  // namespace

void click_button(QAbstractButton* button) {
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    click_at(button, radio ? QPoint(6, button->height() / 2) : button->rect().center());
}

void type_text(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    if (text.isEmpty()) key(field, Qt::Key_Delete);
    for (const QChar character : text) {
        if (character.isPrint()) {
            key(field, 0, QString(character));
        } else {
            field->insert(QString(character));
        }
    }
}

void press_enter(QWidget* widget) { key(widget, Qt::Key_Return); }

void perform_in(DialogWindow& window, const DialogAction& action) {
    const QString id = qt(action.item);
    switch (action.kind) {
        case ActionKind::select: select_in(window, id, action.index); break;
        case ActionKind::press: press_in(window, id, action.index); break;
        case ActionKind::ok: press_in(window, "OK", -1); break;
        case ActionKind::cancel: press_in(window, "CANCEL", -1); break;
        case ActionKind::activate:
            if (auto* field = window.findChild<QLineEdit*>(id)) press_enter(field);
            break;
        case ActionKind::type:
            if (auto* field = window.findChild<QLineEdit*>(id); field != nullptr && field->isEnabled()) {
                type_text(field, qt(action.text));
                window.queue_typed_values();
            }
            break;
    }
}

QString menu_button_for(int code) {
    if (code == UF_UI_BACK) return "BACK";
    if (code == UF_UI_CANCEL) return "CANCEL";
    if (code >= UF_UI_MENU_ITEM_1) return "ITEM_" + QString::number(code - UF_UI_MENU_ITEM_1 + 1);
    return {};
}

}  // namespace ughost
