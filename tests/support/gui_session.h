// Drives the desktop front-end's real widgets while plug-ins run in-process.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>

#include "gui_front_end.h"
#include "host_window.h"

class ScratchDirectory;

// Before the QApplication: Qt's offscreen platform with one screen of that size,
// and QSettings (remembered window sizes) kept in folder, never in the user's own.
void use_offscreen_screen(const ScratchDirectory& folder, int width, int height);
void keep_settings_in(const ScratchDirectory& folder);

QWidget* window_named(const QString& name);

template <class Widget>
Widget* child(QWidget* window, const QString& name) {
    return window == nullptr ? nullptr : window->findChild<Widget*>(name);
}

// Plays steps against the widgets while plug-ins run: each step is retried
// until it finds what it waits for.
class Session {
public:
    Session();
    void step(std::function<bool()> action) { steps_.push_back(std::move(action)); }
    // Runs the plug-in while the steps play; false when they did not all play in time.
    bool run(const std::string& plugin);
    ughost::HostWindow& window() { return window_; }

private:
    ughost::HostWindow window_;
    ughost::GuiFrontEnd front_end_;
    std::deque<std::function<bool()>> steps_;
};

std::string plugin(const char* name);
bool click(QWidget* window, const QString& button_name);
bool select_row(QWidget* window, const QString& list_name, int row);
bool type_into(QWidget* window, const QString& field_name, const QString& text);
// Answers the message box on top, if there is one.
bool answer_box(QMessageBox::StandardButton answer);
// The dialog has taken every action the user gave it.
bool host_took_all(QWidget* dialog);
// Save, confirmed, then the dialog closed.
void save_and_close(Session& session, const QString& dialog);
