#include "keyboard_focus.h"

#include <QWidget>

namespace ughost {

void give_keyboard_back(QWidget* window) {
    if (window != nullptr && window->isVisible()) window->activateWindow();
}

}  // namespace ughost
