#include "file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string describe(const std::string& what, const std::string& path) {
    return what + " '" + path + "': " + std::strerror(errno);
}

// The file a path finally names, through any chain of symbolic links.
bool resolve_links(const std::string& path, std::string& target, std::string& error) {
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code code;
        if (!fs::is_symlink(fs::symlink_status(current, code))) {
            target = current.string();
            return true;
        }
        const fs::path link = fs::read_symlink(current, code);
        if (code) {
            error = "cannot read the link '" + current.string() + "': " + code.message();
            return false;
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    error = "too many levels of symbolic links at '" + path + "'";
    return false;
}

bool write_all(int fd, std::string_view content, off_t offset) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t wrote = pwrite(fd, content.data() + done, content.size() - done, offset + static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

bool read_all(int fd, std::string& content) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

// Flushes the directory entry of a rename; a failure here leaves a correct file
// that may not yet be durable, so it is not reported.
void sync_directory(const std::string& directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

enum class Attempt { done, failed, cannot_create };

Attempt replace_by_rename(const std::string& target, const struct stat* old, std::string_view content,
                          std::string& error) {
    const fs::path target_path(target);
    const std::string directory = target_path.parent_path().empty() ? "." : target_path.parent_path().string();
    std::string temporary = (fs::path(directory) / ("." + target_path.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM) return Attempt::cannot_create;
        error = describe("cannot create a file beside", target);
        return Attempt::failed;
    }
    temporary = name.data();
    bool ok = write_all(fd, content, 0);
    if (!ok) error = describe("cannot write", temporary);
    if (ok && old != nullptr) {
        // The file keeps its owner where we may set it, and its mode always.
        [[maybe_unused]] const int owner_kept = fchown(fd, old->st_uid, old->st_gid);
        ok = fchmod(fd, old->st_mode & 07777) == 0;
        if (!ok) error = describe("cannot set the permissions of", temporary);
    } else if (ok) {
        const mode_t mask = umask(0);
        umask(mask);
        ok = fchmod(fd, 0666 & ~mask) == 0;
        if (!ok) error = describe("cannot set the permissions of", temporary);
    }
    if (ok && fsync(fd) != 0) {
        ok = false;
        error = describe("cannot flush", temporary);
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        error = describe("cannot close", temporary);
    }
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = describe("cannot rename the new file to", target);
    }
    if (!ok) {
        unlink(temporary.c_str());
        return Attempt::failed;
    }
    sync_directory(directory);
    return Attempt::done;
}

bool rewrite_in_place(const std::string& target, std::string_view content, std::string& error) {
    const int fd = open(target.c_str(), O_RDWR);
    if (fd < 0) {
        error = describe("cannot open", target);
        return false;
    }
    std::string old;
    if (!read_all(fd, old)) {
        error = describe("cannot read", target);
        close(fd);
        return false;
    }
    const bool ok = write_all(fd, content, 0) && ftruncate(fd, static_cast<off_t>(content.size())) == 0 &&
                    fsync(fd) == 0;
    if (!ok) {
        error = describe("cannot write", target);
        // Put back what was there, as far as the disk allows.
        if (write_all(fd, old, 0)) {
            if (ftruncate(fd, static_cast<off_t>(old.size())) == 0) fsync(fd);
        }
        close(fd);
        return false;
    }
    if (close(fd) != 0) {
        error = describe("cannot close", target);
        return false;
    }
    return true;
}

}  // namespace

bool replace_file_content(const std::string& path, std::string_view content, std::string& error) {
    std::string target;
    if (!resolve_links(path, target, error)) return false;
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        error = "'" + target + "' is not a regular file";
        return false;
    }
    if (exists && access(target.c_str(), W_OK) != 0) {
        error = describe("may not write", target);
        return false;
    }
    switch (replace_by_rename(target, exists ? &old : nullptr, content, error)) {
        case Attempt::done:
            return true;
        case Attempt::failed:
            return false;
        case Attempt::cannot_create:
            if (!exists) {
                error = describe("cannot create", target);
                return false;
            }
            return rewrite_in_place(target, content, error);
    }
    return false;
}
