// The user's hand, for a script played through the windows: input events sent to
// the real widgets, as a mouse and a keyboard send them, so a script goes the way
// a person's work goes (a disabled widget takes nothing, a click on a list line
// selects it, Enter in a field activates it).
#pragma once

#include <QString>

#include "front_end.h"

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace ughost {

class DialogWindow;

// A left click in the middle of the button (a radio button on its mark).
void click_button(QAbstractButton* button);
// Replaces the field's text key by key; an empty text clears it. What no key
// types (a line break, a tab) goes in as pasted.
void type_text(QLineEdit* field, const QString& text);
void press_enter(QWidget* widget);

// Does in the dialog's widgets what the action says the user did; the window
// queues what its widgets made of it. Nothing is queued when the widgets could
// not take it (a disabled item, a line that is not there).
void perform_in(DialogWindow& window, const DialogAction& action);

// The name of the menu button that answers with the host's return code; empty when none does.
QString menu_button_for(int code);

}  // namespace ughost
