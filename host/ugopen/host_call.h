// The guard every C call of the host runs its body in: nothing thrown inside the
// host crosses into a plug-in. What was thrown goes to the system log, and the
// call returns its failure value (a non-zero status for the UF_ calls).
//
//   int UF_print_syslog(const char* text, int) {
//       return host_call("UF_print_syslog", status_host_failure, [&] { ...; return 0; });
//   }
#pragma once

#include <exception>
#include <type_traits>

namespace ughost {

// Writes "NAME: WHAT" to the system log; never throws.
void report_host_call_failure(const char* name, const char* what) noexcept;

template <class Body>
std::invoke_result_t<Body&> host_call(const char* name, std::invoke_result_t<Body&> failure, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& error) {
        report_host_call_failure(name, error.what());
    } catch (...) {
        report_host_call_failure(name, "an unknown exception");
    }
    return failure;
}

}  // namespace ughost
