// A user's mouse and keyboard, through the window system: a click goes to the
// window at hand and lands on whatever widget is under it there, a key goes to
// the window the window system gave the keyboard to, and a window a modal
// dialog blocks takes neither. Each call is a session step: false while the
// window is not there yet or the host has not yet taken what it was given.
#pragma once

#include <QString>
#include <Qt>

class QWidget;

// The window, when it is up, is the one with the keyboard, and its dialog has
// handed the host every action the user gave it.
QWidget* window_with_keyboard(const QString& window_name);
// A key pressed and let go in the window with the keyboard, which must be that window.
bool press_key(const QString& window_name, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Typed key by key into whatever has the keyboard in that window.
bool type_keys(const QString& window_name, const QString& text);
// A left click on the middle of a widget (a radio button on its mark).
bool click_on(QWidget* widget);
bool click_on(const QString& window_name, const QString& widget_name);
// A left click on line row of a list.
bool click_line(const QString& window_name, const QString& list_name, int row);
// The object name of the widget with the keyboard; empty when none has it.
QString keyboard_widget();
