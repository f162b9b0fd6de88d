#include "x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Xvfb writes its display number here once it takes clients.
constexpr int ready_timeout_ms = 20000;
constexpr int exec_failed = 127;

[[noreturn]] void exec_xvfb(int display_fd, const std::string& screen) {
    // Gone with the test, even when the test is killed.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int quiet = open("/dev/null", O_WRONLY);
    if (quiet >= 0) {
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
    }
    const std::string fd = std::to_string(display_fd);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(exec_failed);
}

// The display number, as far as Xvfb wrote it before the line ended or the pipe closed.
std::string read_display_number(int fd) {
    std::string number;
    pollfd wait{fd, POLLIN, 0};
    char c = 0;
    while (poll(&wait, 1, ready_timeout_ms) > 0 && read(fd, &c, 1) == 1 && c != '\n') number += c;
    return number;
}

}  // namespace

XServer::XServer(int width, int height) {
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) {
        fail(std::string("no pipe to hear from Xvfb: ") + std::strerror(errno));
        return;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_ = fork();
    if (pid_ == 0) {
        // The one end Xvfb writes to must survive the exec.
        const int display_fd = dup(ready[1]);
        exec_xvfb(display_fd, screen);
    }
    close(ready[1]);
    if (pid_ < 0) {
        close(ready[0]);
        fail(std::string("cannot start Xvfb: ") + std::strerror(errno));
        return;
    }
    const std::string number = read_display_number(ready[0]);
    close(ready[0]);
    if (!number.empty()) {
        display_ = ":" + number;
        return;
    }
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    fail(WIFEXITED(status) && WEXITSTATUS(status) == exec_failed
             ? "Xvfb is not installed (Debian: xvfb; scripts/ensure-packages installs it)"
             : "Xvfb did not start within " + std::to_string(ready_timeout_ms / 1000) + " s");
}

XServer::~XServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

void XServer::fail(const std::string& why) {
    pid_ = -1;
    failure_ = why;
}
