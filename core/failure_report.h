// How a plug-in reports a failed host call: the host's text on the status line
// and, as an "Error:" block, on the error stream.
#pragma once

// Shows a non-zero host status on the status line and as an "Error:" block on
// the error stream; returns the status.
int report_failure(int status);

// A dialog that could not be created: the host's text on the status line and
// on standard output, then the plug-in's own text, when it has one.
void report_dialog_not_created(int status, const char* text);
