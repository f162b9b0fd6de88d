#include "gui_front_end.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
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
#include "keyboard_focus.h"
#include "menus.h"
#include "message_text.h"
#include "user_input.h"
#include "window_sizes.h"
#include "host_text.h"
#include "uf.h"

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

// The box answered with a click once it is up, as the user answers it.
void answer_when_up(QMessageBox& box, QMessageBox::StandardButton answer) {
    QTimer::singleShot(0, &box, [&box, answer] {
        if (QAbstractButton* button = box.button(answer)) click_button(button);
    });
}

}  // namespace

GuiFrontEnd::GuiFrontEnd(HostWindow& window)
    : window_(window),
      log_notes_([this](const std::string& line) { window_.append_log(qt(line)); }),
      transcript_([this](const std::string& line) { transcript_line(line); }) {}

ScriptPlayer& GuiFrontEnd::play_script(HostControl& host, std::vector<ScriptLine> script, std::FILE* transcript,
                                       int error_fd) {
    transcript_file_ = transcript;
    player_ = std::make_unique<ScriptPlayer>(host, std::move(script), transcript_, error_fd);
    return *player_;
}

// Without a script nobody asked for a transcript, and the log keeps to the host's notes.
void GuiFrontEnd::transcript_line(const std::string& line) {
    if (!player_) return;
    if (transcript_file_ != nullptr) {
        std::fputs(line.c_str(), transcript_file_);
        std::fputc('\n', transcript_file_);
        std::fflush(transcript_file_);
    }
    window_.append_log(qt(line));
}

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
    transcript_.dialog_opened(dialog);
    auto* window = new DialogWindow(dialog, owner());
    // A played script's windows open the same each time, and leave the user's remembered sizes alone.
    if (player_) {
        fit_on_screen(*window);
    } else {
        place_window(*window, window->objectName(), window->size());
    }
    dialogs_.insert(dialog.id(), window);
    open_order_.push_back(dialog.id());
    window->show();
}

void GuiFrontEnd::dialog_closed(const Dialog& dialog, int response) {
    transcript_.dialog_closed(dialog, response);
    DialogWindow* window = dialogs_.take(dialog.id());
    if (!player_ && window != nullptr) remember_window(*window, window->objectName());
    open_order_.removeAll(dialog.id());
    if (window == refused_in_) refused_in_ = nullptr;
    delete window;
    give_keyboard_back(owner());
}

void GuiFrontEnd::item_changed(const Dialog& dialog, const ItemChange& change) {
    transcript_.item_changed(dialog, change);
    if (DialogWindow* window = dialogs_.value(dialog.id())) window->show_change(change);
}

void GuiFrontEnd::list_changes(const Dialog& dialog, const std::vector<ItemChange>& changes) {
    // Only a script's run records each line; a person's refill of a long list is not spelt out.
    if (player_) {
        for (const ItemChange& change : changes) transcript_.item_changed(dialog, change);
    }
    if (DialogWindow* window = dialogs_.value(dialog.id())) window->show_list_refill(changes);
}

bool GuiFrontEnd::next_action(Dialog& dialog, DialogAction& action) {
    QPointer<DialogWindow> window = dialogs_.value(dialog.id());
    if (window) window->ready_for_user();
    if (player_ && window && !window->has_action()) {
        const DialogAction played = play_next_action(dialog, *window);
        // The widgets took nothing (a disabled item, a line that is not there):
        // the host is given the action as written, and refuses it as the headless host does.
        if (!window->has_action()) {
            action = played;
            refused_in_ = window;
            return true;
        }
    }
    while (window && !window->has_action()) {
        if (!window_.isVisible() && QApplication::topLevelWidgets().isEmpty()) return false;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (!window) return false;
    action = window->take_action();
    refused_in_ = window;
    return true;
}

DialogAction GuiFrontEnd::play_next_action(Dialog& dialog, DialogWindow& window) {
    const DialogAction action = player_->take_dialog_action(dialog);
    QApplication::processEvents();  // the window laid out, as the user sees it
    perform_in(window, action);
    return action;
}

void GuiFrontEnd::action_refused(const DialogAction& action, const std::string& why) {
    if (player_) player_->refuse(why);
    QWidget* parent = refused_in_ != nullptr ? static_cast<QWidget*>(refused_in_) : owner();
    QMessageBox refusal(QMessageBox::Warning, "Ввод не принят", qt(why), QMessageBox::Ok, parent);
    refusal.setWindowModality(Qt::WindowModal);
    refusal.exec();
    give_keyboard_back(parent);
    if (refused_in_ != nullptr) refused_in_->refuse_typed_value(action.item);
}

void GuiFrontEnd::show_message(const std::string& text) {
    transcript_.message_shown(text);
    // The host's message says nothing of how grave it is (a refusal, a result), so the box claims nothing either.
    QMessageBox box(QMessageBox::NoIcon, "Сообщение", qt(text), QMessageBox::Ok, owner());
    box.setObjectName("message");
    show_text_as_laid_out(box);
    box.setWindowModality(Qt::WindowModal);
    if (player_) answer_when_up(box, QMessageBox::Ok);
    box.exec();
    give_keyboard_back(box.parentWidget());
}

BoxAnswer GuiFrontEnd::message_box(const MessageBoxRequest& request) {
    transcript_.message_box(request);
    QMessageBox box(qt_icon(request.icon), qt(request.caption), qt(request.text),
                    request.yes_no ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    request.owner.empty() ? owner() : window_of(request.owner));
    box.setObjectName("box");
    show_text_as_laid_out(box);
    box.setWindowModality(Qt::WindowModal);
    if (request.yes_no) {
        box.button(QMessageBox::Yes)->setText("Да");
        box.button(QMessageBox::No)->setText("Нет");
        box.setDefaultButton(request.default_no ? QMessageBox::No : QMessageBox::Yes);
    }
    if (player_) {
        const BoxAnswer scripted = request.yes_no ? player_->take_box_answer() : BoxAnswer::ok;
        answer_when_up(box, scripted == BoxAnswer::ok    ? QMessageBox::Ok
                            : scripted == BoxAnswer::yes ? QMessageBox::Yes
                                                         : QMessageBox::No);
    }
    const int answer = box.exec();
    give_keyboard_back(box.parentWidget());
    if (!request.yes_no) return BoxAnswer::ok;
    return answer == QMessageBox::Yes ? BoxAnswer::yes : BoxAnswer::no;
}

// A script's answer is the button of the code it gives; a code no button gives
// (the menu has no such item) ends the menu and is answered as written.
int GuiFrontEnd::choice_menu(const std::string& title, int default_item, const std::vector<std::string>& items) {
    transcript_.choice_menu(title, default_item, items);
    if (!player_) return run_choice_menu(owner(), title, default_item, items);
    const int code = player_->take_menu_code(title);
    bool clicked = false;
    const int answer = run_choice_menu(owner(), title, default_item, items, [code, &clicked](QDialog& menu) {
        const QString name = menu_button_for(code);
        auto* button = name.isEmpty() ? nullptr : menu.findChild<QAbstractButton*>(name);
        clicked = button != nullptr;
        if (clicked) {
            click_button(button);
        } else {
            menu.reject();
        }
    });
    return clicked ? answer : code;
}

// A script's values are typed into the fields and accepted with OK (both accepting
// codes), or the menu is left with Back or Cancel.
NumberMenuAnswer GuiFrontEnd::number_menu(const std::string& title, const std::vector<std::string>& labels,
                                          const std::vector<double>& values) {
    transcript_.number_menu(title, labels, values);
    if (!player_) return run_number_menu(owner(), title, labels, values);
    const NumberMenuAnswer scripted = player_->take_number_answer(title, values);
    const bool accepts = scripted.code == UF_UI_OK || scripted.code == UF_UI_OK_WITH_VALUES;
    const QString button_name = accepts ? "OK" : menu_button_for(scripted.code);
    bool clicked = false;
    NumberMenuAnswer answer = run_number_menu(owner(), title, labels, values, [&](QDialog& menu) {
        for (std::size_t i = 0; accepts && i < scripted.values.size(); ++i) {
            auto* field = menu.findChild<QLineEdit*>("VALUE_" + QString::number(i + 1));
            if (field != nullptr) type_text(field, qt(format_real(scripted.values[i])));
        }
        auto* button = button_name.isEmpty() ? nullptr : menu.findChild<QAbstractButton*>(button_name);
        clicked = button != nullptr;
        if (clicked) {
            click_button(button);
        } else {
            menu.reject();
        }
    });
    if (!clicked) return scripted;
    if (accepts) answer.code = scripted.code;
    return answer;
}

void GuiFrontEnd::listing_opened() {
    transcript_.listing_opened();
    window_.show_listing();
}

void GuiFrontEnd::listing_written(const std::string& text) {
    transcript_.listing_written(text);
    window_.append_listing(qt(text));
}

void GuiFrontEnd::status_shown(const std::string& text) {
    transcript_.status_shown(text);
    window_.statusBar()->showMessage(qt(text));
}

void GuiFrontEnd::syslog_written(const std::string& text) {
    transcript_.syslog_written(text);
    if (!player_) window_.append_log(qt(text));
}

void GuiFrontEnd::beep() {
    transcript_.beep();
    QApplication::beep();
}

void GuiFrontEnd::picture_shown(const std::string& image_file) {
    transcript_.picture_shown(image_file);
    picture_ = new QDialog(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    picture_->setObjectName("picture");
    auto* layout = new QVBoxLayout(picture_);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(picture_);
    label->setPixmap(QPixmap(qt(image_file)));
    layout->addWidget(label);
    picture_->show();
}

void GuiFrontEnd::picture_closed(const std::string& image_file, long elapsed_ms) {
    transcript_.picture_closed(image_file, elapsed_ms);
    delete picture_;
    picture_ = nullptr;
}

// A played script does not wait: the host's clock moves, and the transcript says so.
void GuiFrontEnd::wait_for(long milliseconds) {
    if (player_) {
        transcript_.clock_moved(milliseconds);
        QApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(milliseconds), &loop, &QEventLoop::quit);
    loop.exec();
}

void GuiFrontEnd::output_written(int stream, const std::string& text) {
    transcript_.output_written(stream, text);
    if (player_) return;
    window_.append_log(qt((stream == 2 ? "stderr: " : "stdout: ") + text));
}

}  // namespace ughost
