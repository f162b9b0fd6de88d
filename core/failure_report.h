// How a failed host call is shown, by an entry or by the guard of a callback.
#pragma once

// Shows a non-zero host status on the status line and as an "Error:" block on
// the error stream; returns the status.
int report_failure(int status);
