#include "scratch_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "file_system.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* scratch_marker = ".saving-";

std::string because(const std::string& what, const std::string& path) {
    return what + " '" + path + "': " + std::strerror(errno);
}

// ".NAME.saving-": what every scratch file of the file NAME starts with.
std::string scratch_prefix(const std::string& final_path) {
    return "." + fs::path(final_path).filename().string() + scratch_marker;
}

// The process that wrote a scratch file of this name, or 0 when the name is not one.
pid_t writer_of(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
    const std::string digits = name.substr(prefix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) return 0;
    return static_cast<pid_t>(std::atol(digits.c_str()));
}

// A process that has ended cannot finish its save. Another user's process
// answers EPERM, and its files are not ours to remove anyway.
bool still_running(pid_t writer) {
    if (writer == getpid()) return false;
    return kill(writer, 0) == 0 || errno != ESRCH;
}

// What killed saves of this file left behind: only the user's own files, and
// only those of processes that no longer run, so a save in progress elsewhere
// keeps its file.
void remove_leftovers(const std::string& folder, const std::string& prefix) {
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) return;
    while (const dirent* entry = readdir(listing)) {
        const pid_t writer = writer_of(entry->d_name, prefix);
        if (writer <= 0 || still_running(writer)) continue;
        const std::string leftover = (fs::path(folder) / entry->d_name).string();
        struct stat status {};
        if (file_system::lstat(leftover.c_str(), &status) != 0) continue;
        if (S_ISREG(status.st_mode) && status.st_uid == geteuid()) file_system::unlink(leftover.c_str());
    }
    closedir(listing);
}

// Flushes the folder's entry of a rename; a failure here leaves a correct file
// that may not yet be durable, so it is not reported.
void sync_folder(const std::string& folder) {
    const int fd = file_system::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    file_system::fsync(fd);
    file_system::close(fd);
}

}  // namespace

std::string folder_of(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

int create_scratch_file(const std::string& final_path, mode_t mode, std::string& scratch_path, std::string& error) {
    const std::string folder = folder_of(final_path);
    const std::string prefix = scratch_prefix(final_path);
    remove_leftovers(folder, prefix);
    scratch_path = (fs::path(folder) / (prefix + std::to_string(getpid()))).string();
    const int fd =
        file_system::open(scratch_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) error = because("cannot create a file beside", final_path);
    return fd;
}

bool commit_scratch_file(int fd, const std::string& scratch_path, const std::string& final_path, std::string& error) {
    if (file_system::fsync(fd) != 0) {
        error = because("cannot flush", scratch_path);
        discard_scratch_file(fd, scratch_path);
        return false;
    }
    // Closing reports what a network file system could not write back.
    if (file_system::close(fd) != 0) {
        error = because("cannot close", scratch_path);
        discard_scratch_file(-1, scratch_path);
        return false;
    }
    if (file_system::rename(scratch_path.c_str(), final_path.c_str()) != 0) {
        error = because("cannot rename the new file to", final_path);
        discard_scratch_file(-1, scratch_path);
        return false;
    }
    sync_folder(folder_of(final_path));
    return true;
}

void discard_scratch_file(int fd, const std::string& scratch_path) {
    const int failure = errno;
    if (fd >= 0) file_system::close(fd);
    file_system::unlink(scratch_path.c_str());
    errno = failure;
}
