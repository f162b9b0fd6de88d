#include "gui_session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "dialog_window.h"
#include "host_control.h"
#include "host_run.h"
#include "plugin_runner.h"

void use_offscreen_screen(const ScratchDirectory& folder, int width, int height) {
    const std::string size = "\"width\": " + std::to_string(width) + ", \"height\": " + std::to_string(height);
    folder.write("screen.json", R"({"screens": [{"name": "screen", "x": 0, "y": 0, )" + size +
                                    R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + folder.file("screen.json").c_str());
}

void keep_settings_in(const ScratchDirectory& folder) {
    qputenv("XDG_CONFIG_HOME", folder.path().c_str());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder.path()));
}

// Finds a visible top-level window by object name.
QWidget* window_named(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() == name) return widget;
    }
    return nullptr;
}

Session::Session()
    : window_([this](const QString& plugin) { ughost::run_plugin(plugin.toStdString(), ""); }), front_end_(window_) {
    ughost_host_control()->set_front_end(&front_end_);
    window_.show();
}

bool Session::run(const std::string& plugin) {
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [this] {
        if (!steps_.empty() && steps_.front()()) steps_.pop_front();
    });
    ticker.start(5);
    bool timed_out = false;
    QTimer deadline;
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        if (!timed_out) {
            const QWidget* focus = QApplication::focusWidget();
            std::fprintf(stderr, "%zu steps did not play; the keyboard was in %s of %s\n", steps_.size(),
                         focus != nullptr ? qPrintable(focus->objectName()) : "nothing",
                         focus != nullptr ? qPrintable(focus->window()->objectName()) : "no window");
        }
        timed_out = true;
        // Leave every open window, again and again (a menu comes back), so the plug-in can return.
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) dialog->reject();
        }
        deadline.start(100);
    });
    deadline.start(15000);
    ughost::run_plugin(plugin, "");
    ticker.stop();
    return !timed_out && steps_.empty();
}

std::string plugin(const char* name) { return std::string(APPLICATION_DIR) + "/" + name + ".so"; }

bool click(QWidget* window, const QString& button_name) {
    auto* button = child<QAbstractButton>(window, button_name);
    if (button == nullptr || !button->isEnabled()) return false;
    // A radio button takes clicks on its mark and label, at its left, not across its whole width.
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {}, radio ? QPoint(6, button->height() / 2) : QPoint());
    return true;
}

bool select_row(QWidget* window, const QString& list_name, int row) {
    auto* list = child<QListView>(window, list_name);
    if (list == nullptr || list->model()->rowCount() <= row || !list->isEnabled()) return false;
    const QModelIndex line = list->model()->index(row, 0);
    list->scrollTo(line);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(line).center());
    return true;
}

bool type_into(QWidget* window, const QString& field_name, const QString& text) {
    auto* field = child<QLineEdit>(window, field_name);
    if (field == nullptr || !field->isEnabled()) return false;
    field->setFocus();
    field->selectAll();
    // Key by key, as a keyboard types, Cyrillic included.
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(field, &press);
    }
    return true;
}

bool answer_box(QMessageBox::StandardButton answer) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || box->button(answer) == nullptr) return false;
    QTest::mouseClick(box->button(answer), Qt::LeftButton);
    return true;
}

bool host_took_all(QWidget* dialog) {
    auto* window = dynamic_cast<ughost::DialogWindow*>(dialog);
    return window != nullptr && !window->has_action();
}

void save_and_close(Session& session, const QString& dialog) {
    session.step([dialog] { return click(window_named(dialog), "BLO_ACT_5"); });
    session.step([] { return answer_box(QMessageBox::Yes); });
    session.step([] { return answer_box(QMessageBox::Ok); });
    session.step([dialog] { return click(window_named(dialog), "OK"); });
}
