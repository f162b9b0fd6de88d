// A virtual X server of the test's own (Debian's Xvfb): a real display, with
// real windows, focus and input, on a display number no other program holds.
#pragma once

#include <sys/types.h>

#include <string>

class XServer {
public:
    // Starts Xvfb with one screen of that size and waits until it takes clients.
    XServer(int width, int height);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool running() const { return pid_ > 0; }
    // ":N", for DISPLAY.
    const std::string& display() const { return display_; }
    // Why it is not running.
    const std::string& failure() const { return failure_; }

private:
    void fail(const std::string& why);

    pid_t pid_ = -1;
    std::string display_;
    std::string failure_;
};
