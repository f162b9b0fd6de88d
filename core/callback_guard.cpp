#include "callback_guard.h"

#include <cstdio>
#include <exception>
#include <string>

#include "failure_report.h"

namespace {

void report_error_text(const char* text) {
    const std::string block = std::string("\nError:\n") + text + "\n\n";
    std::fputs(block.c_str(), stderr);
    UF_print_syslog(text, 0);
}

}  // namespace

void report_caught_exception() noexcept {
    try {
        try {
            throw;
        } catch (const HostCallFailed& failure) {
            report_failure(failure.status);
        } catch (const std::exception& error) {
            report_error_text(error.what());
        } catch (...) {
            report_error_text("an unknown exception");
        }
    } catch (...) {
        // The report itself failed (no memory is left): the caller still returns its failure value.
    }
}
