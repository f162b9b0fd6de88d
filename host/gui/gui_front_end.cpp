#include "gui_front_end.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "dialog_window.h"
#include "gui_text.h"
#include "host_window.h"
#include "menus.h"

namespace ughost {
namespace {

QMessageBox::Icon qt_icon(Icon icon) {
    switch (icon) {
        case Icon::error: return QMessageBox::Critical;
        case Icon::question: return QMessageBox::Question;
        case Icon::warning: return QMessageBox::Warning;
        case Icon::information: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

GuiFrontEnd::GuiFrontEnd(HostWindow& window)
    : window_(window), log_notes_([this](const std::string& line) { window_.append_log(qt(line)); }) {}

QWidget* GuiFrontEnd::owner() const {
    return open_order_.isEmpty() ? static_cast<QWidget*>(&window_) : dialogs_.value(open_order_.back());
}

QWidget* GuiFrontEnd::window_of(const std::string& dialog_file) const {
    for (auto it = open_order_.rbegin(); it != open_order_.rend(); ++it) {
        DialogWindow* dialog = dialogs_.value(*it);
        if (dialog->objectName() == qt(dialog_file)) return dialog;
    }
    return &window_;
}

void GuiFrontEnd::dialog_opened(const Dialog& dialog) {
    auto* window = new DialogWindow(dialog, owner());
    dialogs_.insert(dialog.id(), window);
    open_order_.push_back(dialog.id());
    window->show();
}

void GuiFrontEnd::dialog_closed(const Dialog& dialog, int) {
    DialogWindow* window = dialogs_.take(dialog.id());
    open_order_.removeAll(dialog.id());
    if (window == refused_in_) refused_in_ = nullptr;
    delete window;
}

void GuiFrontEnd::item_changed(const Dialog& dialog, const ItemChange& change) {
    if (DialogWindow* window = dialogs_.value(dialog.id())) window->show_change(change);
}

void GuiFrontEnd::list_changes(const Dialog& dialog, const std::vector<ItemChange>& changes) {
    if (DialogWindow* window = dialogs_.value(dialog.id())) window->show_list_refill(changes);
}

bool GuiFrontEnd::next_action(Dialog& dialog, DialogAction& action) {
    QPointer<DialogWindow> window = dialogs_.value(dialog.id());
    while (window && !window->has_action()) {
        if (!window_.isVisible() && QApplication::topLevelWidgets().isEmpty()) return false;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (!window) return false;
    action = window->take_action();
    refused_in_ = window;
    return true;
}

void GuiFrontEnd::action_refused(const DialogAction& action, const std::string& why) {
    QWidget* parent = refused_in_ != nullptr ? static_cast<QWidget*>(refused_in_) : owner();
    QMessageBox::warning(parent, "Ввод не принят", qt(why));
    if (refused_in_ != nullptr) refused_in_->refuse_typed_value(action.item);
}

void GuiFrontEnd::show_message(const std::string& text) {
    QMessageBox box(QMessageBox::Information, "Сообщение", qt(text), QMessageBox::Ok, owner());
    box.setObjectName("message");
    box.exec();
}

BoxAnswer GuiFrontEnd::message_box(const MessageBoxRequest& request) {
    QMessageBox box(qt_icon(request.icon), qt(request.caption), qt(request.text),
                    request.yes_no ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    request.owner.empty() ? owner() : window_of(request.owner));
    box.setObjectName("box");
    if (request.yes_no) {
        box.button(QMessageBox::Yes)->setText("Да");
        box.button(QMessageBox::No)->setText("Нет");
        box.setDefaultButton(request.default_no ? QMessageBox::No : QMessageBox::Yes);
    }
    const int answer = box.exec();
    if (!request.yes_no) return BoxAnswer::ok;
    return answer == QMessageBox::Yes ? BoxAnswer::yes : BoxAnswer::no;
}

int GuiFrontEnd::choice_menu(const std::string& title, int default_item, const std::vector<std::string>& items) {
    return run_choice_menu(owner(), title, default_item, items);
}

NumberMenuAnswer GuiFrontEnd::number_menu(const std::string& title, const std::vector<std::string>& labels,
                                          const std::vector<double>& values) {
    return run_number_menu(owner(), title, labels, values);
}

void GuiFrontEnd::listing_opened() { window_.show_listing(); }

void GuiFrontEnd::listing_written(const std::string& text) { window_.append_listing(qt(text)); }

void GuiFrontEnd::status_shown(const std::string& text) { window_.statusBar()->showMessage(qt(text)); }

void GuiFrontEnd::syslog_written(const std::string& text) { window_.append_log(qt(text)); }

void GuiFrontEnd::beep() { QApplication::beep(); }

void GuiFrontEnd::picture_shown(const std::string& image_file) {
    picture_ = new QDialog(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    picture_->setObjectName("picture");
    auto* layout = new QVBoxLayout(picture_);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(picture_);
    label->setPixmap(QPixmap(qt(image_file)));
    layout->addWidget(label);
    picture_->show();
}

void GuiFrontEnd::picture_closed(const std::string&, long) {
    delete picture_;
    picture_ = nullptr;
}

void GuiFrontEnd::wait_for(long milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(milliseconds), &loop, &QEventLoop::quit);
    loop.exec();
}

void GuiFrontEnd::output_written(int stream, const std::string& text) {
    window_.append_log(qt((stream == 2 ? "stderr: " : "stdout: ") + text));
}

}  // namespace ughost
