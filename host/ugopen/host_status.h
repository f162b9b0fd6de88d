// Status codes the host returns to plug-ins, and their texts (UF_get_fail_message).
#pragma once

#include "uf.h"

namespace ughost {

enum HostStatus : int {
    status_ok = 0,
    status_session_refused = 1001,
    status_session_not_closed = 1002,
    status_no_session = 1003,
    status_dialog_not_found = 1010,
    status_dialog_file_invalid = 1011,
    status_dialog_callback_unknown_item = 1012,
    status_dialog_not_created = 1013,
    status_no_such_item = 1020,
    status_bad_attribute = 1021,
    status_bad_value = 1022,
    status_no_such_dialog = 1023,
    status_value_type_mismatch = UF_STYLER_ERR_VALUE_TYPE,
    status_library_not_loaded = 1030,
    status_library_not_open = 1031,
    status_bad_argument = 1040,
    status_host_failure = 1050,
};

// The host's text for a status; an unknown status gets a generic text with its number.
const char* host_status_text(int status);

}  // namespace ughost
