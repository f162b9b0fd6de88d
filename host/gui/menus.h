// The host's choice menu and number menu, as small modal dialogs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "front_end.h"

class QDialog;
class QWidget;

namespace ughost {

// What a played script does in a menu once it is up (nothing for a person's menu).
using MenuPlay = std::function<void(QDialog& menu)>;

// Returns the host's code: 1 back, 2 cancel, 5 + n for item n.
int run_choice_menu(QWidget* parent, const std::string& title, int default_item,
                    const std::vector<std::string>& items, const MenuPlay& play = {});
NumberMenuAnswer run_number_menu(QWidget* parent, const std::string& title, const std::vector<std::string>& labels,
                                 const std::vector<double>& values, const MenuPlay& play = {});

}  // namespace ughost
