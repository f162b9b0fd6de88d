// A host dialog drawn with Qt widgets from its dialog file. What the user does
// becomes a queue of actions for the host; what the plug-in sets is shown at once.
#pragma once

#include <QDialog>
#include <QHash>

#include <deque>
#include <functional>

#include "dialog.h"
#include "front_end.h"

class QAbstractButton;
class QButtonGroup;
class QLineEdit;
class QListView;

namespace ughost {

class DialogWindow : public QDialog {
public:
    DialogWindow(const Dialog& dialog, QWidget* parent);

    // Shows a change the plug-in made.
    void show_change(const ItemChange& change);
    // Shows a list refill at once: each list it touched as it now stands.
    void show_list_refill(const std::vector<ItemChange>& changes);
    bool has_action() const { return !actions_.empty(); }
    DialogAction take_action();
    // After the host refused a typed value: the field shows what the dialog holds
    // and gets the focus, and the actions queued with the value are dropped, so
    // the user corrects it and acts again. Fields typed into whose values were
    // dropped with them go again with the next action.
    void refuse_typed_value(const std::string& item_id);
    // Typed values go to the host before the action that may read them.
    void queue_typed_values();
    // Called when the host awaits the next action: fields just opened for editing
    // get the keyboard if the plug-in gave it to none, and an Enter in a field
    // that changed nothing gets the field a hint saying how to leave.
    void ready_for_user();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What stands for an item: the widget named by its id, and what goes into the
    // layout (the widget itself, or it in a labelled row or a box).
    struct BuiltItem {
        QWidget* widget = nullptr;
        QWidget* shown = nullptr;
    };

    // One builder per item kind.
    QWidget* build_item(const Item& item, QWidget* parent);
    BuiltItem build_list(const Item& item, QWidget* parent);
    BuiltItem build_option(const Item& item, QWidget* parent);
    BuiltItem build_field(const Item& item, QWidget* parent);
    BuiltItem build_button(const Item& item, QWidget* parent);
    BuiltItem build_button_group(const Item& item, QWidget* parent);
    BuiltItem build_container(const Item& item, QWidget* parent);
    // What the user did, after the values typed before it.
    void queue_user_action(ActionKind kind, const QString& item_id, int index);
    void add_items(const std::string& container, QWidget* parent);
    void queue(DialogAction action);
    void refresh_sensitivity(const Item& item);
    void refresh_value(const Item& item);
    void show_list_change(const Item& item, const ItemChange& change);
    // The list view of a list item and its current line as the host has it.
    void show_selected_line(const Item& item);
    bool is_filter(const QLineEdit* field) const;
    // A key pressed in a list's filter field; true when it was taken.
    bool filter_key(QLineEdit& filter, int key);
    void focus_first_field_if_none();
    void hint_if_enter_did_nothing();
    void hint_enter_does_nothing(QWidget* widget);
    void widen_for_values();

    const Dialog& dialog_;
    QHash<QString, QWidget*> widgets_;
    QHash<QString, QButtonGroup*> button_groups_;
    QHash<QString, QListView*> lists_;
    QHash<QString, QLineEdit*> filters_;  // each list's filter field, by the list's id
    std::deque<DialogAction> actions_;
    bool updating_ = false;
    bool shown_to_user_ = false;  // once the plug-in first waits for the user, the values are in
    QString entered_field_;     // the field Enter was last pressed in, until something changes
    QString opened_container_;  // the container the plug-in last enabled, until the user acts
    QString pending_focus_;     // the field given the focus while disabled
};

}  // namespace ughost
