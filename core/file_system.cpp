#include "file_system.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string_view>

#include "huge_pages.h"

namespace file_system {
namespace {

constexpr std::size_t call_count = static_cast<std::size_t>(Call::xattr) + 1;
constexpr std::array<std::string_view, call_count> call_names = {
    "open", "read", "write", "fsync", "close", "rename", "ftruncate", "fchown", "stat", "unlink", "xattr"};

struct Fault {
    long calls_left = 0;  // 0: no fault planned
    int error = 0;
};

struct Errno {
    std::string_view name;
    int value;
};
constexpr Errno errno_names[] = {
    {"EIO", EIO},         {"ENOSPC", ENOSPC}, {"EDQUOT", EDQUOT}, {"EFBIG", EFBIG},   {"EACCES", EACCES},
    {"EPERM", EPERM},     {"EROFS", EROFS},   {"EINTR", EINTR},   {"ENOENT", ENOENT}, {"EXDEV", EXDEV},
    {"EBUSY", EBUSY},     {"ENOMEM", ENOMEM}, {"EAGAIN", EAGAIN}, {"ENOTSUP", ENOTSUP}, {"KILL", kill_process},
};

std::array<Fault, call_count>& faults() {
    static std::array<Fault, call_count> planned{};
    return planned;
}

// "call:nth:ERRNO" entries separated by commas; anything malformed is ignored.
void plan_from_environment() {
    const char* text = std::getenv("LIBRARY_IO_FAULTS");
    if (text == nullptr) return;
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        std::string_view entry = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        const std::size_t first = entry.find(':');
        const std::size_t second = entry.find(':', first == std::string_view::npos ? first : first + 1);
        if (second == std::string_view::npos) continue;
        const std::string_view name = entry.substr(0, first);
        const long nth = std::atol(std::string(entry.substr(first + 1, second - first - 1)).c_str());
        const std::string_view error = entry.substr(second + 1);
        for (std::size_t c = 0; c < call_count; ++c) {
            if (call_names[c] != name) continue;
            for (const Errno& known : errno_names) {
                if (known.name == error && nth > 0) fail_call(static_cast<Call>(c), nth, known.value);
            }
        }
    }
}

[[maybe_unused]] const bool planned_at_load = (plan_from_environment(), true);

// True when this call is the one planned to fail; errno is then set.
bool fails(Call call) {
    Fault& fault = faults()[static_cast<std::size_t>(call)];
    if (fault.calls_left == 0 || --fault.calls_left != 0) return false;
    if (fault.error == kill_process) ::kill(::getpid(), SIGKILL);
    errno = fault.error;
    return true;
}

// The time spent waiting on the disk (in fsync, and for a close started in
// the background) added up when LIBRARY_IO_DISK_WAITS names a file, which is
// given one more line, the total in milliseconds, when the library is
// unloaded: a benchmark's way to tell the disk's part of a save from the rest.
class DiskWaits {
public:
    DiskWaits() {
        const char* path = std::getenv("LIBRARY_IO_DISK_WAITS");
        if (path != nullptr) report_to_ = path;
    }
    ~DiskWaits() {
        if (report_to_.empty()) return;
        std::ofstream(report_to_, std::ios::app) << static_cast<double>(nanoseconds_.load()) / 1e6 << '\n';
    }
    DiskWaits(const DiskWaits&) = delete;
    DiskWaits& operator=(const DiskWaits&) = delete;

    template <class Wait>
    auto timed(Wait wait) {
        if (report_to_.empty()) return wait();
        const auto start = std::chrono::steady_clock::now();
        const auto result = wait();
        const auto waited = std::chrono::steady_clock::now() - start;
        nanoseconds_ += std::chrono::duration_cast<std::chrono::nanoseconds>(waited).count();
        return result;
    }

    static DiskWaits disk_waits;

private:
    std::string report_to_;
    std::atomic<long long> nanoseconds_{0};
};

// The thread of the close last started in the background. A plain thread
// rather than std::thread: a child forked while a close runs holds a copy of
// the parent's handle to a thread it does not have, which it must forget
// rather than wait for.
class BackgroundClose {
public:
    BackgroundClose() {
        pthread_atfork(nullptr, nullptr, [] { background_close.running_ = false; });
    }
    // Runs when the library is unloaded or the process ends.
    ~BackgroundClose() { finish(); }
    BackgroundClose(const BackgroundClose&) = delete;
    BackgroundClose& operator=(const BackgroundClose&) = delete;

    void start(int fd) {
        const std::lock_guard lock(mutex_);
        join();
        void* const argument = reinterpret_cast<void*>(static_cast<std::intptr_t>(fd));
        running_ = pthread_create(&thread_, nullptr, &close_it, argument) == 0;
        if (!running_) ::close(fd);
    }

    void finish() {
        const std::lock_guard lock(mutex_);
        join();
    }

    static BackgroundClose background_close;

private:
    static void* close_it(void* fd) {
        ::close(static_cast<int>(reinterpret_cast<std::intptr_t>(fd)));
        return nullptr;
    }

    void join() {
        if (running_) DiskWaits::disk_waits.timed([this] { return pthread_join(thread_, nullptr); });
        running_ = false;
    }

    std::mutex mutex_;
    pthread_t thread_{};
    bool running_ = false;
};

}  // namespace

// Made before, and so ended after, every object the library makes at its
// start: a close started while the tables were saved goes on while they are
// destroyed. The waits are reported after the last of them.
__attribute__((init_priority(101))) DiskWaits DiskWaits::disk_waits;
__attribute__((init_priority(101))) BackgroundClose BackgroundClose::background_close;

void fail_call(Call call, long nth, int error) { faults()[static_cast<std::size_t>(call)] = {nth, error}; }

void clear_faults() { faults() = {}; }

int open(const char* path, int flags, mode_t mode) { return fails(Call::open) ? -1 : ::open(path, flags, mode); }

ssize_t read(int fd, void* buffer, size_t size) { return fails(Call::read) ? -1 : ::read(fd, buffer, size); }

ssize_t pwrite(int fd, const void* buffer, size_t size, off_t offset) {
    return fails(Call::write) ? -1 : ::pwrite(fd, buffer, size, offset);
}

int fsync(int fd) { return fails(Call::fsync) ? -1 : DiskWaits::disk_waits.timed([fd] { return ::fsync(fd); }); }

void start_writeback(int fd, off_t offset, off_t size) {
    // Errors wait for the fsync, which reports them.
    const int error = errno;
    ::sync_file_range(fd, offset, size, SYNC_FILE_RANGE_WRITE);
    errno = error;
}

int close(int fd) {
    if (fails(Call::close)) {
        // The descriptor is gone all the same, as after a real failed close.
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return ::close(fd);
}

void close_in_background(int fd) {
    const int error = errno;
    if (fails(Call::close)) {
        ::close(fd);
    } else {
        BackgroundClose::background_close.start(fd);
    }
    errno = error;
}

void finish_background_close() { BackgroundClose::background_close.finish(); }

int rename(const char* from, const char* to) { return fails(Call::rename) ? -1 : ::rename(from, to); }

int ftruncate(int fd, off_t length) { return fails(Call::ftruncate) ? -1 : ::ftruncate(fd, length); }

int fchown(int fd, uid_t owner, gid_t group) { return fails(Call::fchown) ? -1 : ::fchown(fd, owner, group); }

int fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }

int stat(const char* path, struct stat* status) { return fails(Call::stat) ? -1 : ::stat(path, status); }

int lstat(const char* path, struct stat* status) { return fails(Call::stat) ? -1 : ::lstat(path, status); }

int fstat(int fd, struct stat* status) { return fails(Call::stat) ? -1 : ::fstat(fd, status); }

int unlink(const char* path) { return fails(Call::unlink) ? -1 : ::unlink(path); }

ssize_t flistxattr(int fd, char* names, size_t size) { return fails(Call::xattr) ? -1 : ::flistxattr(fd, names, size); }

ssize_t fgetxattr(int fd, const char* name, void* value, size_t size) {
    return fails(Call::xattr) ? -1 : ::fgetxattr(fd, name, value, size);
}

int fsetxattr(int fd, const char* name, const void* value, size_t size, int flags) {
    return fails(Call::xattr) ? -1 : ::fsetxattr(fd, name, value, size, flags);
}

int fremovexattr(int fd, const char* name) { return fails(Call::xattr) ? -1 : ::fremovexattr(fd, name); }

bool read_all(int fd, std::string& content) {
    return read_pieces(fd, [&](std::string_view piece) { content.append(piece); });
}

bool read_all(int fd, std::string& content, std::size_t expected_size) {
    // One byte more than expected: a file that grew is read on, one that did
    // not ends with a read that finds its end.
    content.reserve(expected_size + 1);
    prefer_huge_pages(content.data(), content.capacity());
    content.resize(expected_size + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == content.size()) content.resize(2 * content.size());
        const ssize_t read_now = read(fd, content.data() + got, content.size() - got);
        if (read_now < 0 && errno == EINTR) continue;
        if (read_now < 0) return false;
        if (read_now == 0) break;
        got += static_cast<std::size_t>(read_now);
    }
    content.resize(got);
    return true;
}

bool read_pieces(int fd, const std::function<void(std::string_view)>& take) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        take(std::string_view(buffer, static_cast<std::size_t>(got)));
    }
}

bool write_all(int fd, std::string_view content, off_t offset) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t wrote = pwrite(fd, content.data() + done, content.size() - done, offset + static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) return false;
        if (wrote == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

}  // namespace file_system
