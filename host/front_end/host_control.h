// How a host program reaches the host library: through one C entry, which gives
// it the host's control object. The library exports nothing else besides the
// plug-ins' interface, so everything a program asks of the host is a virtual
// call on that object, and the host's state lives once, in the library.
//
//   ughost::HostControl& host = *ughost_host_control();
//   host.set_front_end(&front_end);   // the host now shows everything through it
#pragma once

#include <functional>
#include <string>

#include "front_end.h"

namespace ughost {

class HostControl {
public:
    // The front-end the host shows everything through and asks the user with.
    virtual void set_front_end(FrontEnd* front_end) = 0;
    // The front-end, after what the plug-ins printed has been passed to it
    // (by the drain), so events keep the order in which they happened.
    virtual FrontEnd& ui() = 0;
    virtual void set_output_drain(std::function<void()> drain) = 0;
    virtual void set_syslog_file(std::string path) = 0;

    // Faults: the named call (one of failing_calls) fails once, after `after`
    // further successful calls.
    virtual void plan_fault(const std::string& call, int after) = 0;
    // Whether a fault planned for the call has yet to happen.
    virtual bool fault_pending(const std::string& call) const = 0;

    virtual int session_depth() const = 0;

    // Plug-in libraries: a loaded library's folder is where its dialog files are looked for first.
    virtual int load_library(const std::string& path, void*& handle, std::string& error) = 0;
    virtual void unload_library(void* handle) = 0;
    // Whether the library is still mapped into the process.
    virtual bool is_loaded(const std::string& path) const = 0;

protected:
    ~HostControl() = default;
};

}  // namespace ughost

// The host-private entry of libugopen.so: the one host there is. Never null.
extern "C" __attribute__((visibility("default"))) ughost::HostControl* ughost_host_control(void);
