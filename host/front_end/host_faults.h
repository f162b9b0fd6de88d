// The host calls a script can make fail, as the host library plans them and a
// script player checks them before the run starts.
#pragma once

#include <algorithm>
#include <iterator>
#include <string_view>

namespace ughost {

inline constexpr std::string_view failing_calls[] = {"UF_initialize", "UF_terminate", "UF_STYLER_create_dialog",
                                                     "UF_load_library"};

inline bool can_fail(std::string_view call) {
    return std::find(std::begin(failing_calls), std::end(failing_calls), call) != std::end(failing_calls);
}

}  // namespace ughost
