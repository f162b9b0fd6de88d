// The journal of saves that rewrite a library file in place. Such a save has no
// second file to fall back on, so before it writes it keeps the old content,
// with the file's path and the checksums of the old and the new content, in the
// user's own state folder ($XDG_STATE_HOME, else ~/.local/state, then
// cutting_data_library/), one entry per file. A finished save drops its entry;
// an entry found later means the save was cut short, and the file's content
// tells whether it was cut short while the file was being written.
//
// An entry is text lines, then the old content:
//   cutting_data_library interrupted save
//   path <length>
//   <path>
//   old <size> <checksum>
//   new <size> <checksum>
//   <old content>
// checksums in hexadecimal (64-bit FNV-1a).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct InterruptedSave {
    std::string path;         // the library file the save rewrote
    std::string old_content;  // what it held before
    std::uint64_t old_size = 0;
    std::uint64_t old_checksum = 0;
    std::uint64_t new_size = 0;
    std::uint64_t new_checksum = 0;

    // True when content is the whole old or the whole new content: the save
    // was then cut short before or after the file was written.
    bool file_is_whole(std::string_view content) const;
};

std::uint64_t content_checksum(std::string_view content);

// Where the entry of the file at path is kept, or empty when the user has no
// state folder.
std::string journal_entry_path(const std::string& path);

// Keeps the old content before the file at path is rewritten; false with error
// saying why (the save must then not write).
bool journal_record(const std::string& path, std::string_view old_content, std::string_view new_content,
                    std::string& error);

// The entry of the file at path, when a save of it did not finish.
std::optional<InterruptedSave> journal_find(const std::string& path);

void journal_drop(const std::string& path);
