// A small library whose rows exercise the editors: lower-case and nested
// references, a reference that matches nothing, both list-line forms.
#pragma once

#include "host_run.h"

void write_small_library(const ScratchDirectory& library);
