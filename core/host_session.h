// The host-session bracket of every entry and callback: opened on entry, closed
// on every path out.
#pragma once

#include "uf.h"

class HostSession {
public:
    HostSession() : status_(UF_initialize()) {}
    ~HostSession() {
        if (status_ == 0) UF_terminate();
    }
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    bool open() const { return status_ == 0; }

private:
    int status_;
};

// A callback whose whole work is body(dialog) inside a host session; the dialog
// stays open. Callback tables bind it through guarded<>:
//
//   {"BLO_ACT", UF_STYLER_ACTIVATE_CB, 1, guarded<in_session<cutmeth_command>>},
template <void (*body)(int)>
int in_session(int dialog, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    if (session.open()) body(dialog);
    return UF_UI_CB_CONTINUE_DIALOG;
}

// The same for a body that decides whether the dialog ends (a record dialog's OK).
template <int (*body)(int)>
int in_session_ending(int dialog, void*, UF_STYLER_item_value_type_p_t) {
    const HostSession session;
    return session.open() ? body(dialog) : UF_UI_CB_CONTINUE_DIALOG;
}
