#include "library_file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "file_system.h"

namespace {

namespace fs = std::filesystem;

constexpr int most_links = 40;

std::string because(const std::string& what, const std::string& path) {
    return what + " '" + path + "': " + std::strerror(errno);
}

std::string folder_of(const fs::path& path) {
    return path.parent_path().empty() ? std::string(".") : path.parent_path().string();
}

// The kernel's rule for links in sticky world-writable folders: follow only the
// user's own links and the folder owner's.
bool may_follow(const fs::path& link, const struct stat& link_status) {
    struct stat folder {};
    if (file_system::stat(folder_of(link).c_str(), &folder) != 0) return false;
    const bool shared_sticky = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared_sticky || link_status.st_uid == geteuid() || link_status.st_uid == folder.st_uid;
}

}  // namespace

bool resolve_library_path(const std::string& path, std::string& target, std::string& error) {
    fs::path current = path;
    for (int hops = 0; hops < most_links; ++hops) {
        struct stat status {};
        if (file_system::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            // A missing file is where a save creates it.
            target = current.string();
            return true;
        }
        if (!may_follow(current, status)) {
            errno = EACCES;
            error = because("a link another user made in a shared folder is not followed", current.string());
            return false;
        }
        std::error_code code;
        const fs::path next = fs::read_symlink(current, code);
        if (code) {
            errno = code.value();
            error = because("cannot read the link", current.string());
            return false;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    errno = ELOOP;
    error = because("too many links", path);
    return false;
}

int open_library_file(const std::string& path, int flags, std::string& error, std::string* target) {
    std::string resolved;
    if (path.empty()) {
        errno = ENOENT;
        error = "no library path";
        return -1;
    }
    if (!resolve_library_path(path, resolved, error)) return -1;
    // Not blocking: a FIFO would otherwise wait for a writer before the check below.
    const int fd = file_system::open(resolved.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = because("cannot open", resolved);
        return -1;
    }
    struct stat status {};
    if (file_system::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = "'" + resolved + "' is not a regular file";
        file_system::close(fd);
        errno = EINVAL;
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (target != nullptr) *target = resolved;
    return fd;
}

bool library_file_opens(const std::string& path, int flags) {
    std::string error;
    const int fd = open_library_file(path, flags, error);
    if (fd < 0) return false;
    file_system::close(fd);
    return true;
}
