// A test plug-in that fails the ways the host and the guards must survive; the
// parameter says how:
//   entry       its entry throws, inside the entry guard the editors use
//   callback    its dialog's callbacks throw, inside their guards
//   unguarded   a callback throws with no guard, straight into the host
//   crash       it shows a message, prints a line and then dies of a bad pointer
#include <cstdio>
#include <cstring>
#include <iterator>
#include <stdexcept>

#include "callback_guard.h"
#include "editor_entry.h"
#include "host_session.h"
#include "plugin_export.h"

namespace {

int throwing_cb(int, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    throw std::runtime_error("the callback failed on purpose");
}

UF_STYLER_callback_info_t guarded_callbacks[] = {
    {UF_STYLER_DIALOG_INDEX, UF_STYLER_CONSTRUCTOR_CB, 0, guarded<throwing_cb>},
    {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 0, guarded<throwing_cb>},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

UF_STYLER_callback_info_t unguarded_callbacks[] = {
    {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 0, throwing_cb},
    {UF_STYLER_NULL_OBJECT, UF_STYLER_NO_CB, 0, nullptr},
};

template <std::size_t count>
void show_dialog(UF_STYLER_callback_info_t (&callbacks)[count]) {
    int response = 0;
    UF_STYLER_create_dialog("faulty.dlg", callbacks, static_cast<int>(count), nullptr, &response);
}

void crash() {
    uc1601("before the crash", 1);
    std::fputs("printed before the crash\n", stderr);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

}  // namespace

PLUGIN_EXPORT void ufusr(char* parameter, int* return_code, int) {
    if (std::strcmp(parameter, "entry") == 0) {
        guarded_entry([] { throw std::runtime_error("the entry failed on purpose"); });
    } else if (std::strcmp(parameter, "callback") == 0) {
        show_dialog(guarded_callbacks);
    } else if (std::strcmp(parameter, "unguarded") == 0) {
        show_dialog(unguarded_callbacks);
    } else {
        crash();
    }
    *return_code = 0;
}

PLUGIN_EXPORT int ufusr_ask_unload() { return 1; }
