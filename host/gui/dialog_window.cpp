#include "dialog_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

#include "gui_text.h"
#include "host_text.h"
#include "list_model.h"
#include "window_sizes.h"

namespace ughost {
namespace {

// A line edit's frame and margins about its text.
constexpr int field_padding = 16;

}  // namespace

DialogWindow::DialogWindow(const Dialog& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {
    setWindowTitle(qt(dialog.title()));
    setObjectName(qt(dialog.file_name()));
    // Modal to the windows it stands on, not to the listing window the user reads beside it.
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    // The items scroll where the screen is shorter than the dialog; OK and Cancel stay in sight below them.
    auto* items = new QWidget;
    add_items("", items);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("items");
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(items);
    layout->addWidget(scroll);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("CANCEL");
    buttons->button(QDialogButtonBox::Cancel)->setText("Отмена");
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        queue_typed_values();
        queue({ActionKind::ok, "", -1, ""});
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { queue({ActionKind::cancel, "", -1, ""}); });
    layout->addWidget(buttons);
    for (const Item& item : dialog_.items()) {
        refresh_sensitivity(item);
        refresh_value(item);
    }
    // A dialog that starts with a list opens with the keyboard on its lines, not
    // in the filter above them: arrows and Enter work the lines at once, and
    // typing finds one.
    if (!dialog_.items().empty() && dialog_.items().front().definition.kind == ItemKind::list) {
        lists_.value(qt(dialog_.items().front().definition.id))->setFocus();
    }
    // A scroll area asks for a small size of its own: the dialog asks for all its items.
    const QSize all_items = items->sizeHint() + QSize(scroll->verticalScrollBar()->sizeHint().width(), 0);
    const QMargins margins = layout->contentsMargins();
    resize(std::max(all_items.width(), buttons->sizeHint().width()) + margins.left() + margins.right(),
           all_items.height() + layout->spacing() + buttons->sizeHint().height() + margins.top() + margins.bottom());
}

void DialogWindow::add_items(const std::string& container, QWidget* parent) {
    auto* layout = parent->layout() != nullptr ? static_cast<QBoxLayout*>(parent->layout()) : new QVBoxLayout(parent);
    for (const Item& item : dialog_.items()) {
        if (item.definition.container != container) continue;
        layout->addWidget(build_item(item, parent));
    }
}

namespace {

QWidget* labelled_row(const QString& label, QWidget* field, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* row_layout = new QFormLayout(row);
    row_layout->setContentsMargins(0, 0, 0, 0);
    row_layout->addRow(label, field);
    return row;
}

}  // namespace

QWidget* DialogWindow::build_item(const Item& item, QWidget* parent) {
    BuiltItem built;
    switch (item.definition.kind) {
        case ItemKind::list: built = build_list(item, parent); break;
        case ItemKind::option: built = build_option(item, parent); break;
        case ItemKind::text:
        case ItemKind::real: built = build_field(item, parent); break;
        case ItemKind::button: built = build_button(item, parent); break;
        case ItemKind::buttons:
        case ItemKind::choice: built = build_button_group(item, parent); break;
        case ItemKind::container: built = build_container(item, parent); break;
    }
    const QString id = qt(item.definition.id);
    built.widget->setObjectName(id);
    widgets_.insert(id, built.widget);
    return built.shown;
}

void DialogWindow::queue_user_action(ActionKind kind, const QString& item_id, int index) {
    queue_typed_values();
    queue({kind, item_id.toStdString(), index, ""});
}

// A list with a filter field above it, which narrows the lines shown to those
// holding its text; the host is always told the item's own line.
DialogWindow::BuiltItem DialogWindow::build_list(const Item& item, QWidget* parent) {
    const QString id = qt(item.definition.id);
    auto* box = new QGroupBox(qt(item.definition.label), parent);
    auto* filter = new QLineEdit(box);
    filter->setObjectName(id + ".filter");
    filter->setPlaceholderText("Фильтр");
    filter->setToolTip("Показать только строки, в которых есть этот текст; Esc — показать все");
    filter->setClearButtonEnabled(true);
    filter->installEventFilter(this);
    auto* list = new QListView(box);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumHeight(220);
    // Every line is one line of text: the view need not lay out a list of a
    // million lines to know its height.
    list->setUniformItemSizes(true);
    list->installEventFilter(this);
    auto* model = new ListModel(item, list);
    list->setModel(model);
    connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, id, model](const QModelIndex& current) {
                if (updating_ || !current.isValid()) return;
                queue_user_action(ActionKind::select, id, model->line_at(current.row()));
            });
    connect(filter, &QLineEdit::textChanged, this, [this, &item, model](const QString& text) {
        updating_ = true;
        model->set_filter(text);
        updating_ = false;
        show_selected_line(item);
    });
    QWidget::setTabOrder(filter, list);
    lists_.insert(id, list);
    filters_.insert(id, filter);
    auto* box_layout = new QVBoxLayout(box);
    box_layout->addWidget(filter);
    box_layout->addWidget(list);
    return {list, box};
}

DialogWindow::BuiltItem DialogWindow::build_option(const Item& item, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    connect(combo, qOverload<int>(&QComboBox::activated), this, [this, id = qt(item.definition.id)](int row) {
        if (updating_) return;
        queue_user_action(ActionKind::select, id, row);
    });
    return {combo, labelled_row(qt(item.definition.label), combo, parent)};
}

// Typed text goes to the host with the next action; Enter activates the field (eventFilter).
DialogWindow::BuiltItem DialogWindow::build_field(const Item& item, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->installEventFilter(this);
    return {edit, labelled_row(qt(item.definition.label), edit, parent)};
}

DialogWindow::BuiltItem DialogWindow::build_button(const Item& item, QWidget* parent) {
    auto* button = new QPushButton(qt(item.definition.label), parent);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [this, id = qt(item.definition.id)] { queue_user_action(ActionKind::press, id, -1); });
    return {button, button};
}

// A button layout (push buttons in a row) or a choice (radio buttons in a column).
DialogWindow::BuiltItem DialogWindow::build_button_group(const Item& item, QWidget* parent) {
    const bool push_buttons = item.definition.kind == ItemKind::buttons;
    const QString id = qt(item.definition.id);
    auto* box = new QGroupBox(qt(item.definition.label), parent);
    auto* box_layout = push_buttons ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                    : static_cast<QBoxLayout*>(new QVBoxLayout(box));
    auto* group = new QButtonGroup(box);
    group->setExclusive(!push_buttons);
    for (std::size_t i = 0; i < item.definition.labels.size(); ++i) {
        const QString text = qt(item.definition.labels[i]);
        QAbstractButton* button = nullptr;
        if (push_buttons) {
            auto* push = new QPushButton(text, box);
            push->setAutoDefault(false);
            button = push;
        } else {
            button = new QRadioButton(text, box);
        }
        button->setObjectName(id + "_" + QString::number(i));
        group->addButton(button, static_cast<int>(i));
        box_layout->addWidget(button);
    }
    const ActionKind kind = push_buttons ? ActionKind::press : ActionKind::select;
    connect(group, &QButtonGroup::idClicked, this, [this, id, kind](int index) {
        if (updating_) return;
        queue_user_action(kind, id, index);
    });
    button_groups_.insert(id, group);
    return {box, box};
}

DialogWindow::BuiltItem DialogWindow::build_container(const Item& item, QWidget* parent) {
    auto* box = new QGroupBox(qt(item.definition.label), parent);
    new QVBoxLayout(box);
    add_items(item.definition.id, box);
    return {box, box};
}

void DialogWindow::queue(DialogAction action) { actions_.push_back(std::move(action)); }

DialogAction DialogWindow::take_action() {
    DialogAction action = actions_.front();
    actions_.pop_front();
    return action;
}

void DialogWindow::queue_typed_values() {
    for (const Item& item : dialog_.items()) {
        if (item.definition.kind != ItemKind::text && item.definition.kind != ItemKind::real) continue;
        auto* edit = static_cast<QLineEdit*>(widgets_.value(qt(item.definition.id)));
        if (!edit->isModified()) continue;
        const std::string typed =
            item.definition.kind == ItemKind::real ? real_text(edit->text()) : edit->text().toStdString();
        queue({ActionKind::type, item.definition.id, -1, typed});
        edit->setModified(false);
    }
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a field activates that field, and Enter on a list line that line;
    // neither is the dialog's default button, which would end the dialog.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (auto* filter = qobject_cast<QLineEdit*>(watched); filter != nullptr && is_filter(filter)) {
            return filter_key(*filter, key);
        }
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return QDialog::eventFilter(watched, event);
        const QString id = watched->objectName();
        if (auto* list = qobject_cast<QListView*>(watched)) {
            const int line = static_cast<ListModel*>(list->model())->line_at(list->currentIndex().row());
            if (line >= 0) queue_user_action(ActionKind::select, id, line);
            return true;
        }
        queue_user_action(ActionKind::activate, id, -1);
        entered_field_ = id;
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool DialogWindow::is_filter(const QLineEdit* field) const {
    return std::find(filters_.cbegin(), filters_.cend(), field) != filters_.cend();
}

// Enter and Down take the keyboard on to the lines found, never to the dialog's
// default button; Escape empties a filter holding text (and cancels the dialog,
// as anywhere in it, once the filter is empty).
bool DialogWindow::filter_key(QLineEdit& filter, int key) {
    QListView* list = lists_.value(filters_.key(&filter));
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            list->setFocus();
            return true;
        case Qt::Key_Escape:
            if (filter.text().isEmpty()) return false;
            filter.clear();
            return true;
        default:
            return false;
    }
}

void DialogWindow::ready_for_user() {
    if (!shown_to_user_) widen_for_values();
    shown_to_user_ = true;
    focus_first_field_if_none();
    hint_if_enter_did_nothing();
}

namespace {

// The keyboard is in a field the user can type into.
bool typing_in(const QWidget* window) {
    const auto* field = qobject_cast<const QLineEdit*>(QApplication::focusWidget());
    return field != nullptr && field->isEnabled() && field->window() == window;
}

void focus_and_select(QWidget* widget) {
    widget->setFocus();
    if (auto* field = qobject_cast<QLineEdit*>(widget)) field->selectAll();
}

}  // namespace

// Fields just opened for editing (Edit, New) where the plug-in gave none the focus:
// the first of them gets it, so the user can type at once.
void DialogWindow::focus_first_field_if_none() {
    QWidget* opened = widgets_.value(opened_container_);
    opened_container_.clear();
    if (opened == nullptr || typing_in(this)) return;
    for (auto* field : opened->findChildren<QLineEdit*>()) {
        if (!field->isEnabled() || is_filter(field)) continue;
        focus_and_select(field);
        return;
    }
}

// Opened, the dialog is as wide as its fields need for the values the plug-in put
// in them (a description runs to 132 characters), as far as the screen allows.
void DialogWindow::widen_for_values() {
    int missing = 0;
    for (auto* field : findChildren<QLineEdit*>()) {
        const int needed = field->fontMetrics().horizontalAdvance(field->text()) + field_padding;
        missing = std::max(missing, needed - field->width());
    }
    if (missing <= 0) return;
    resize(width() + missing, height());
    fit_on_screen(*this);
}

void DialogWindow::hint_if_enter_did_nothing() {
    QWidget* field = widgets_.value(entered_field_);
    entered_field_.clear();
    if (field != nullptr) hint_enter_does_nothing(field);
}

void DialogWindow::hint_enter_does_nothing(QWidget* widget) {
    const QString hint = "Enter в этом поле ничего не делает: запись — кнопкой OK, выход без записи — «Отмена».";
    widget->setToolTip(hint);
    QToolTip::showText(widget->mapToGlobal(QPoint(0, widget->height())), hint, widget);
}

// Enter that no item took (fields and lists take theirs) presses the button it is
// on; anywhere else (an option list, a choice) it does nothing and says so. It
// never presses the dialog's default button: OK would end the dialog.
void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    QWidget* focus = focusWidget();
    if (auto* button = qobject_cast<QPushButton*>(focus)) {
        button->click();
    } else if (focus != nullptr) {
        hint_enter_does_nothing(focus);
    }
}

void DialogWindow::reject() { queue({ActionKind::cancel, "", -1, ""}); }

void DialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

void DialogWindow::refuse_typed_value(const std::string& item_id) {
    for (const DialogAction& dropped : actions_) {
        if (dropped.kind != ActionKind::type) continue;
        if (auto* edit = qobject_cast<QLineEdit*>(widgets_.value(qt(dropped.item)))) edit->setModified(true);
    }
    actions_.clear();
    const Item* item = dialog_.find(item_id);
    if (item == nullptr) return;
    refresh_value(*item);
    if (QWidget* field = widgets_.value(qt(item_id))) field->setFocus();
}

void DialogWindow::show_change(const ItemChange& change) {
    entered_field_.clear();  // the Enter did something
    if (change.what == Change::focus) opened_container_.clear();  // the plug-in chose
    const Item& item = *change.item;
    switch (change.what) {
        case Change::sensitive:
        case Change::button_sensitive:
            refresh_sensitivity(item);
            break;
        case Change::focus:
            // Given while the field is still disabled, the focus waits until it is enabled.
            if (QWidget* widget = widgets_.value(qt(item.definition.id))) {
                focus_and_select(widget);
                pending_focus_ = widget->isEnabled() ? QString() : qt(item.definition.id);
            }
            break;
        case Change::insert:
        case Change::remove:
        case Change::select:
            if (item.definition.kind == ItemKind::list) {
                show_list_change(item, change);
            } else {
                refresh_value(item);
            }
            break;
        default:
            refresh_value(item);
            break;
    }
}

// A single line changed follows the plug-in line by line rather than being rebuilt.
void DialogWindow::show_list_change(const Item& item, const ItemChange& change) {
    QListView* list = lists_.value(qt(item.definition.id));
    if (list == nullptr) return;
    auto* model = static_cast<ListModel*>(list->model());
    updating_ = true;
    if (change.what == Change::insert) {
        model->line_inserted(change.index);
    } else if (change.what == Change::remove && change.index < 0) {
        model->lines_replaced();
    } else if (change.what == Change::remove) {
        model->line_removed(change.index);
    }
    updating_ = false;
    show_selected_line(item);
}

void DialogWindow::show_list_refill(const std::vector<ItemChange>& changes) {
    std::vector<const Item*> lists;
    for (const ItemChange& change : changes) {
        if (std::find(lists.begin(), lists.end(), change.item) == lists.end()) lists.push_back(change.item);
    }
    for (const Item* item : lists) {
        if (QListView* list = lists_.value(qt(item->definition.id))) {
            updating_ = true;
            static_cast<ListModel*>(list->model())->lines_replaced();
            updating_ = false;
            show_selected_line(*item);
        }
    }
}

void DialogWindow::show_selected_line(const Item& item) {
    QListView* list = lists_.value(qt(item.definition.id));
    if (list == nullptr) return;
    auto* model = static_cast<ListModel*>(list->model());
    updating_ = true;
    const int row = model->show_line(item.selection);
    if (row >= 0) {
        list->setCurrentIndex(model->index(row, 0));
    } else {
        list->selectionModel()->clear();
    }
    updating_ = false;
}

void DialogWindow::refresh_sensitivity(const Item& item) {
    QWidget* widget = widgets_.value(qt(item.definition.id));
    if (widget == nullptr) return;
    const bool opened = item.sensitive && widget->testAttribute(Qt::WA_ForceDisabled);
    widget->setEnabled(item.sensitive);
    // A list the user cannot choose from is not narrowed either.
    if (QLineEdit* filter = filters_.value(qt(item.definition.id))) filter->setEnabled(item.sensitive);
    if (opened && item.definition.kind == ItemKind::container) opened_container_ = qt(item.definition.id);
    if (QWidget* waiting = widgets_.value(pending_focus_); waiting != nullptr && waiting->isEnabled()) {
        focus_and_select(waiting);
        pending_focus_.clear();
    }
    if (item.definition.kind == ItemKind::buttons) {
        const auto buttons = button_groups_.value(qt(item.definition.id))->buttons();
        for (QAbstractButton* button : buttons) {
            const int index = button_groups_.value(qt(item.definition.id))->id(button);
            button->setEnabled(item.button_sensitive[static_cast<std::size_t>(index)]);
        }
    }
}

void DialogWindow::refresh_value(const Item& item) {
    QWidget* widget = widgets_.value(qt(item.definition.id));
    if (widget == nullptr) return;
    updating_ = true;
    switch (item.definition.kind) {
        case ItemKind::list:
            static_cast<ListModel*>(static_cast<QListView*>(widget)->model())->lines_replaced();
            updating_ = false;
            show_selected_line(item);
            break;
        case ItemKind::option: {
            auto* combo = static_cast<QComboBox*>(widget);
            combo->clear();
            for (const auto& line : item.lines) combo->addItem(qt(line));
            combo->setCurrentIndex(item.selection);
            break;
        }
        case ItemKind::text:
            static_cast<QLineEdit*>(widget)->setText(qt(item.text));
            break;
        case ItemKind::real:
            static_cast<QLineEdit*>(widget)->setText(qt(format_real(item.real)));
            break;
        case ItemKind::choice:
            if (QAbstractButton* button = button_groups_.value(qt(item.definition.id))->button(item.selection)) {
                button->setChecked(true);
            }
            break;
        default:
            break;
    }
    updating_ = false;
}

}  // namespace ughost
