#include "host.h"

extern "C" ughost::HostControl* ughost_host_control(void) { return &ughost::Host::instance(); }
