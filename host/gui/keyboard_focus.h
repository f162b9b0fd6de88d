// Where the keyboard goes when a window on top of another is gone.
#pragma once

class QWidget;

namespace ughost {

// Once a box, a menu or a dialog standing on a window is gone, that window has
// the keyboard again. Many window managers see to it; not all, and none does
// without one. A window no longer shown is left alone.
void give_keyboard_back(QWidget* window);

}  // namespace ughost
