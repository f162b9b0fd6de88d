#include "window_input.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListView>
#include <QRadioButton>
#include <QTest>
#include <QWindow>

#include "dialog_window.h"
#include "gui_session.h"

namespace {

// A host dialog has taken every action; any other window has none to take.
bool settled(QWidget* window) {
    auto* dialog = dynamic_cast<ughost::DialogWindow*>(window);
    return dialog == nullptr || !dialog->has_action();
}

bool ready(QWidget* window) { return window != nullptr && window->windowHandle() != nullptr && settled(window); }

}  // namespace

QWidget* window_with_keyboard(const QString& window_name) {
    QWidget* window = window_named(window_name);
    if (!ready(window) || QGuiApplication::focusWindow() != window->windowHandle()) return nullptr;
    return window;
}

bool press_key(const QString& window_name, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* window = window_with_keyboard(window_name);
    if (window == nullptr) return false;
    QTest::keyClick(window->windowHandle(), key, modifiers);
    return true;
}

bool type_keys(const QString& window_name, const QString& text) {
    QWidget* window = window_with_keyboard(window_name);
    if (window == nullptr) return false;
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, window->windowHandle(), Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
    return true;
}

bool click_on(QWidget* widget) {
    if (widget == nullptr || !widget->isVisible() || !widget->isEnabled() || !ready(widget->window())) return false;
    const bool radio = qobject_cast<QRadioButton*>(widget) != nullptr;
    const QPoint at = radio ? QPoint(6, widget->height() / 2) : widget->rect().center();
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, widget->mapTo(window, at));
    return true;
}

bool click_on(const QString& window_name, const QString& widget_name) {
    return click_on(child<QWidget>(window_named(window_name), widget_name));
}

bool click_line(const QString& window_name, const QString& list_name, int row) {
    auto* list = child<QListView>(window_named(window_name), list_name);
    if (list == nullptr || !list->isEnabled() || row >= list->model()->rowCount() || !ready(list->window())) return false;
    const QModelIndex line = list->model()->index(row, 0);
    list->scrollTo(line);
    QWidget* window = list->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      list->viewport()->mapTo(window, list->visualRect(line).center()));
    return true;
}

QString keyboard_widget() {
    QWidget* focus = QApplication::focusWidget();
    return focus == nullptr ? QString() : focus->objectName();
}
