#include "host_status.h"

namespace ughost {

const char* host_status_text(int status) {
    switch (status) {
        case status_ok: return "No error";
        case status_session_refused: return "The host session could not be opened";
        case status_session_not_closed: return "The host session could not be closed";
        case status_no_session: return "No host session is open";
        case status_dialog_not_found: return "The dialog file was not found";
        case status_dialog_file_invalid: return "The dialog file is not valid";
        case status_dialog_callback_unknown_item: return "A callback names an item the dialog file lacks";
        case status_dialog_not_created: return "The dialog could not be created";
        case status_no_such_item: return "The dialog has no such item";
        case status_bad_attribute: return "The item has no such attribute";
        case status_bad_value: return "The value does not fit the item";
        case status_no_such_dialog: return "No such dialog is open";
        case status_value_type_mismatch: return "The value type does not fit the item";
        case status_library_not_loaded: return "The library could not be loaded";
        case status_library_not_open: return "The library is not loaded";
        case status_bad_argument: return "Invalid argument";
        case status_host_failure: return "The host failed inside the call";
        default: return "Unknown host error";
    }
}

}  // namespace ughost
