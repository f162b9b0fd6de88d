// A plug-in exports its entry points and nothing else: everything else is
// compiled hidden.
#pragma once

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
