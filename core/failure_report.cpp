#include "failure_report.h"

#include <cstdio>
#include <sstream>

#include "uf.h"

int report_failure(int status) {
    if (status == 0) return 0;
    char message[UF_UI_MAX_STRING_LEN + 1] = {};
    UF_get_fail_message(status, message);
    UF_UI_set_status(message);
    std::ostringstream text;
    text << "\nError:\n" << message << "\n\n";
    std::fputs(text.str().c_str(), stderr);
    return status;
}
