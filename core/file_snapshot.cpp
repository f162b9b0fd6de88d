#include "file_snapshot.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "content_hash.h"
#include "file_system.h"
#include "library_file_open.h"

namespace {

// Times on disk may be as coarse as this; a file changed this close to the
// snapshot may keep the same time.
constexpr std::time_t time_resolution_seconds = 2;

FileSnapshot snapshot_of(const struct stat& status, std::uint64_t hash) {
    FileSnapshot snapshot;
    snapshot.present = true;
    snapshot.device = status.st_dev;
    snapshot.inode = status.st_ino;
    snapshot.size = status.st_size;
    snapshot.modified = status.st_mtim;
    snapshot.content_hash = hash;
    snapshot.taken_at = std::time(nullptr);
    return snapshot;
}

bool same_identity(const struct stat& status, const FileSnapshot& snapshot) {
    return status.st_dev == snapshot.device && status.st_ino == snapshot.inode && status.st_size == snapshot.size &&
           status.st_mtim.tv_sec == snapshot.modified.tv_sec && status.st_mtim.tv_nsec == snapshot.modified.tv_nsec;
}

}  // namespace

bool read_library_file(const std::string& path, std::string& content, FileSnapshot& snapshot, std::string& error) {
    if (!read_library_file_leaving_hash(path, content, snapshot, error)) return false;
    snapshot.content_hash = content_hash(content);
    return true;
}

bool read_library_file_leaving_hash(const std::string& path, std::string& content, FileSnapshot& snapshot,
                                    std::string& error) {
    content.clear();
    const int fd = open_library_file(path, O_RDONLY, error);
    if (fd < 0) return false;
    struct stat status {};
    const bool ok = file_system::fstat(fd, &status) == 0 &&
                    file_system::read_all(fd, content, static_cast<std::size_t>(status.st_size));
    if (!ok) error = "cannot read '" + path + "': " + std::strerror(errno);
    file_system::close(fd);
    if (ok) snapshot = snapshot_of(status, 0);
    return ok;
}

bool read_library_file_pieces(const std::string& path, const FilePieceTaker& take, FileSnapshot& snapshot,
                              std::string& error) {
    const int fd = open_library_file(path, O_RDONLY, error);
    if (fd < 0) return false;
    struct stat status {};
    ContentStreamHash hash;
    bool ok = file_system::fstat(fd, &status) == 0;
    if (ok) {
        const auto file_size = static_cast<std::size_t>(status.st_size);
        ok = file_system::read_pieces(fd, [&](std::string_view piece) {
            hash.add(piece);
            take(piece, file_size);
        });
    }
    if (!ok) error = "cannot read '" + path + "': " + std::strerror(errno);
    file_system::close(fd);
    if (ok) snapshot = snapshot_of(status, hash.value());
    return ok;
}

FileSnapshot snapshot_after_writing(const std::string& path, std::string_view content) {
    return snapshot_after_writing(path, content_hash(content));
}

FileSnapshot snapshot_after_writing(const std::string& path, std::uint64_t content_hash) {
    struct stat status {};
    if (file_system::stat(path.c_str(), &status) != 0) return FileSnapshot{};
    return snapshot_of(status, content_hash);
}

bool changed_since(const std::string& path, const FileSnapshot& snapshot) {
    if (!snapshot.present) return false;
    struct stat status {};
    if (file_system::stat(path.c_str(), &status) != 0) return false;
    if (!same_identity(status, snapshot)) return true;
    if (status.st_mtim.tv_sec + time_resolution_seconds < snapshot.taken_at) return false;
    FileSnapshot now;
    std::string error;
    // Only the hash is wanted: the file is not held while it is read. An
    // unreadable file is left to the save, which reports it.
    if (!read_library_file_pieces(path, [](std::string_view, std::size_t) {}, now, error)) return false;
    return now.content_hash != snapshot.content_hash;
}
