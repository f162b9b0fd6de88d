// The host's choice menu and number menu, as small modal dialogs.
#pragma once

#include <string>
#include <vector>

#include "front_end.h"

class QWidget;

namespace ughost {

// Returns the host's code: 1 back, 2 cancel, 5 + n for item n.
int run_choice_menu(QWidget* parent, const std::string& title, int default_item,
                    const std::vector<std::string>& items);
NumberMenuAnswer run_number_menu(QWidget* parent, const std::string& title, const std::vector<std::string>& labels,
                                 const std::vector<double>& values);

}  // namespace ughost
