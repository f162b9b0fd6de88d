#include "file_replace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "file_attributes.h"
#include "file_system.h"
#include "library_file_open.h"
#include "save_journal.h"
#include "scratch_file.h"

namespace {

std::string because(const std::string& what, const std::string& path) {
    return what + " '" + path + "': " + std::strerror(errno);
}

// Past the file size limit (ulimit -f) the kernel kills the writer with
// SIGXFSZ; ignored, the write fails with EFBIG and the save is refused instead.
class FileSizeSignalIgnored {
public:
    FileSizeSignalIgnored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &previous_);
    }
    ~FileSizeSignalIgnored() { sigaction(SIGXFSZ, &previous_, nullptr); }
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

private:
    struct sigaction previous_ {};
};

enum class Journal { record, kept };

enum class Attempt { done, failed, rewrite_in_place };

bool barred(int error) { return error == EACCES || error == EPERM; }

// old is null when there is no file yet; old_fd is then unused.
Attempt replace_by_rename(const std::string& target, int old_fd, const struct stat* old, const ContentPieces& content,
                          std::string& error) {
    std::string scratch;
    // A new file is made as any other; a replacement gets the old mode below.
    const int fd = create_scratch_file(target, old == nullptr ? 0666 : 0600, scratch, error);
    if (fd < 0) return barred(errno) && old != nullptr ? Attempt::rewrite_in_place : Attempt::failed;
    off_t written = 0;
    const bool all_written = content([&](std::string_view piece) {
        if (!file_system::write_all(fd, piece, written)) return false;
        // The disk writes each piece while the next is made.
        file_system::start_writeback(fd, written, static_cast<off_t>(piece.size()));
        written += static_cast<off_t>(piece.size());
        return true;
    });
    if (!all_written) {
        error = because("cannot write", scratch);
        discard_scratch_file(fd, scratch);
        return Attempt::failed;
    }
    if (old != nullptr) {
        // Only the owner and group may stay together: changing the owner alone
        // would lock the colleagues of a shared file out, the group alone would
        // hand the file to the saver.
        if (file_system::fchown(fd, old->st_uid, old->st_gid) != 0) {
            discard_scratch_file(fd, scratch);
            return Attempt::rewrite_in_place;
        }
        if (file_system::fchmod(fd, old->st_mode & 07777) != 0) {
            error = because("cannot set the permissions of", scratch);
            discard_scratch_file(fd, scratch);
            return Attempt::failed;
        }
        // After the mode, which an access list's mask would otherwise be changed by.
        if (!copy_extended_attributes(old_fd, fd)) {
            discard_scratch_file(fd, scratch);
            return Attempt::rewrite_in_place;
        }
    }
    if (!commit_scratch_file(fd, scratch, target, error)) {
        return barred(errno) && old != nullptr ? Attempt::rewrite_in_place : Attempt::failed;
    }
    return Attempt::done;
}

bool write_whole(int fd, std::string_view content) {
    return file_system::write_all(fd, content, 0) &&
           file_system::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && file_system::fsync(fd) == 0;
}

// Through a descriptor of its own: the one a write failed on may be past use.
bool put_back(const std::string& target, std::string_view old) {
    std::string ignored;
    const int fd = open_library_file(target, O_RDWR, ignored);
    if (fd < 0) return false;
    const bool written = write_whole(fd, old);
    return file_system::close(fd) == 0 && written;
}

std::string gathered(const ContentPieces& content) {
    std::string whole;
    content([&](std::string_view piece) {
        whole += piece;
        return true;
    });
    return whole;
}

// Takes over fd, the old file opened for reading and writing.
bool rewrite_in_place(int fd, const std::string& target, const ContentPieces& pieces, Journal journal,
                      std::string& error) {
    const std::string content = gathered(pieces);
    std::string old;
    if (!file_system::read_all(fd, old)) {
        error = because("cannot read", target);
        file_system::close(fd);
        return false;
    }
    if (journal == Journal::record && !journal_record(target, old, content, error)) {
        file_system::close(fd);
        return false;
    }
    bool ok = write_whole(fd, content);
    if (!ok) error = because("cannot write", target);
    if (file_system::close(fd) != 0 && ok) {
        ok = false;
        error = because("cannot close", target);
    }
    if (ok) {
        if (journal == Journal::record) journal_drop(target);
        return true;
    }
    if (!put_back(target, old)) {
        error += "; the old content could not be put back";
        if (journal == Journal::record) error += ", a copy is kept in '" + journal_entry_path(target) + "'";
    } else if (journal == Journal::record) {
        journal_drop(target);
    }
    return false;
}

bool write_content(const std::string& path, const ContentPieces& content, Journal journal, std::string& error) {
    const FileSizeSignalIgnored file_size_signal_ignored;
    std::string target;
    if (!resolve_library_path(path, target, error)) return false;
    // Opening for writing is the check that the user may write the file: the
    // folder's permissions alone would let a rename replace a read-only file.
    const int fd = open_library_file(target, O_RDWR, error);
    if (fd < 0 && errno != ENOENT) return false;
    if (fd < 0) return replace_by_rename(target, -1, nullptr, content, error) == Attempt::done;
    struct stat old {};
    if (file_system::fstat(fd, &old) != 0) {
        error = because("cannot look at", target);
        file_system::close(fd);
        return false;
    }
    // The file's other names would keep the old content after a rename.
    if (old.st_nlink > 1) return rewrite_in_place(fd, target, content, journal, error);
    switch (replace_by_rename(target, fd, &old, content, error)) {
        case Attempt::done:
            // Nothing was written through this descriptor, so its close has
            // nothing to report; being the old file's last, it may wait on the disk.
            file_system::close_in_background(fd);
            if (journal == Journal::record) journal_drop(target);
            return true;
        case Attempt::failed:
            file_system::close(fd);
            return false;
        case Attempt::rewrite_in_place:
            return rewrite_in_place(fd, target, content, journal, error);
    }
    return false;
}


ContentPieces one_piece(std::string_view content) {
    return [content](const ContentWriter& write) { return write(content); };
}

}  // namespace

bool replace_file_content(const std::string& path, std::string_view content, std::string& error) {
    return write_content(path, one_piece(content), Journal::record, error);
}

bool replace_file_content(const std::string& path, const ContentPieces& content, std::string& error) {
    return write_content(path, content, Journal::record, error);
}

bool restore_file_content(const std::string& path, std::string_view content, std::string& error) {
    return write_content(path, one_piece(content), Journal::kept, error);
}
