// What a library file was when an editor last read or wrote it, so that a save
// can tell whether someone else has changed the file since.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

struct FileSnapshot {
    // False when the file was missing or unreadable: a save then creates it
    // without asking.
    bool present = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    std::uint64_t content_hash = 0;
    // When the snapshot was taken: a change within the file system's time
    // resolution of that moment cannot be told from the times alone.
    std::time_t taken_at = 0;
};

// Reads the whole library file at path (a regular file, through the file seam);
// false with error saying why when it cannot be opened or a read fails.
bool read_library_file(const std::string& path, std::string& content, FileSnapshot& snapshot, std::string& error);
// The same, leaving the snapshot's content_hash to the caller, who may take it
// while going through the content.
bool read_library_file_leaving_hash(const std::string& path, std::string& content, FileSnapshot& snapshot,
                                    std::string& error);
// The same, handing the bytes to take in pieces as they are read, with the
// file's size, so that the file need not be held whole.
using FilePieceTaker = std::function<void(std::string_view piece, std::size_t file_size)>;
bool read_library_file_pieces(const std::string& path, const FilePieceTaker& take, FileSnapshot& snapshot,
                              std::string& error);

// The file at path as it stands after this editor wrote content to it.
FileSnapshot snapshot_after_writing(const std::string& path, std::string_view content);
// The same, given the content's hash (content_hash) taken while it was written.
FileSnapshot snapshot_after_writing(const std::string& path, std::uint64_t content_hash);

// Whether the file at path is no longer what the snapshot saw. A file that was
// not there then, or is gone now, has not been changed by anyone.
bool changed_since(const std::string& path, const FileSnapshot& snapshot);
