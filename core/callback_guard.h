// Nothing thrown inside a plug-in crosses back into the host: every entry and
// callback runs its body under a guard that reports what was thrown and returns
// what a failure returns (a callback 0, so the dialog stays).
//
//   {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 1, guarded<feeds_command_cb>},
//   guarded_entry([&] { report_failure(run_session()); });
#pragma once

#include "uf.h"

// Thrown by a host call that failed inside a callback, so that the rest of the
// callback's work is dropped; the guard reports the status as every host
// failure is reported.
struct HostCallFailed {
    int status;
};

// Reports the exception being handled: a failed host call by its status (status
// line and "Error:" block), anything else by its text as an "Error:" block and a
// line of the system log. Call it only inside a catch.
void report_caught_exception() noexcept;

// The body of an entry: what it throws is reported, and the entry goes on to
// set its return code as on any other path.
template <class Body>
void guarded_entry(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        report_caught_exception();
    }
}

template <UF_STYLER_cb_t callback>
int guarded(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data) noexcept {
    try {
        return callback(dialog, client_data, callback_data);
    } catch (...) {
        report_caught_exception();
        return UF_UI_CB_CONTINUE_DIALOG;
    }
}
