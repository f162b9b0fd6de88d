#include "save_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "file_system.h"
#include "scratch_file.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view first_line = "cutting_data_library interrupted save";
constexpr const char* own_folder = "cutting_data_library";

// $XDG_STATE_HOME, or ~/.local/state; a relative value counts as unset, as the
// XDG rules say.
std::string state_folder() {
    const char* state_home = std::getenv("XDG_STATE_HOME");
    if (state_home != nullptr && state_home[0] == '/') return (fs::path(state_home) / own_folder).string();
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return (fs::path(home) / ".local" / "state" / own_folder).string();
    return {};
}

// One name for a file however the library directory was spelt.
std::string journal_key(const std::string& path) {
    std::error_code ignored;
    return fs::absolute(path, ignored).lexically_normal().string();
}

std::string hex(std::uint64_t value) {
    char text[17];
    const auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
    return std::string(text, end);
}

std::string entry_header(const std::string& key, std::string_view old_content, std::string_view new_content) {
    std::string header(first_line);
    header += "\npath " + std::to_string(key.size()) + "\n" + key + "\n";
    header += "old " + std::to_string(old_content.size()) + " " + hex(content_checksum(old_content)) + "\n";
    header += "new " + std::to_string(new_content.size()) + " " + hex(content_checksum(new_content)) + "\n";
    return header;
}

std::optional<std::string_view> next_line(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    return line;
}

bool read_number(std::string_view& text, std::uint64_t& value, int base) {
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (failure != std::errc()) return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return true;
}

// "NAME SIZE CHECKSUM"
bool read_sum_line(std::string_view& rest, std::string_view name, std::uint64_t& size, std::uint64_t& checksum) {
    std::optional<std::string_view> line = next_line(rest);
    if (!line || line->substr(0, name.size() + 1) != std::string(name) + " ") return false;
    line->remove_prefix(name.size() + 1);
    return read_number(*line, size, 10) && read_number(*line, checksum, 16) && line->empty();
}

std::optional<InterruptedSave> parse_entry(std::string_view bytes) {
    InterruptedSave entry;
    if (next_line(bytes) != first_line) return std::nullopt;
    std::optional<std::string_view> path_line = next_line(bytes);
    if (!path_line || path_line->substr(0, 5) != "path ") return std::nullopt;
    path_line->remove_prefix(5);
    std::uint64_t path_size = 0;
    if (!read_number(*path_line, path_size, 10) || !path_line->empty()) return std::nullopt;
    if (bytes.size() <= path_size || bytes[path_size] != '\n') return std::nullopt;
    entry.path = bytes.substr(0, path_size);
    bytes.remove_prefix(path_size + 1);
    if (!read_sum_line(bytes, "old", entry.old_size, entry.old_checksum) ||
        !read_sum_line(bytes, "new", entry.new_size, entry.new_checksum)) {
        return std::nullopt;
    }
    // A copy that does not check out is no better than none.
    if (bytes.size() != entry.old_size || content_checksum(bytes) != entry.old_checksum) return std::nullopt;
    entry.old_content = bytes;
    return entry;
}

}  // namespace

bool InterruptedSave::file_is_whole(std::string_view content) const {
    const std::uint64_t checksum = content_checksum(content);
    return (content.size() == old_size && checksum == old_checksum) ||
           (content.size() == new_size && checksum == new_checksum);
}

std::uint64_t content_checksum(std::string_view content) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : content) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    return hash;
}

std::string journal_entry_path(const std::string& path) {
    const std::string folder = state_folder();
    if (folder.empty()) return {};
    return (fs::path(folder) / (hex(content_checksum(journal_key(path))) + ".journal")).string();
}

bool journal_record(const std::string& path, std::string_view old_content, std::string_view new_content,
                    std::string& error) {
    const std::string entry_path = journal_entry_path(path);
    if (entry_path.empty()) {
        error = "no state folder to keep the old content of '" + path + "' in (HOME is not set)";
        return false;
    }
    const fs::path folder = fs::path(entry_path).parent_path();
    std::error_code ignored;
    fs::create_directories(folder.parent_path(), ignored);
    // The copies are the user's own business.
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create the folder '" + folder.string() + "': " + std::strerror(errno);
        return false;
    }
    std::string scratch;
    const int fd = create_scratch_file(entry_path, 0600, scratch, error);
    if (fd < 0) return false;
    const std::string header = entry_header(journal_key(path), old_content, new_content);
    if (!file_system::write_all(fd, header, 0) ||
        !file_system::write_all(fd, old_content, static_cast<off_t>(header.size()))) {
        error = "cannot write '" + scratch + "': " + std::strerror(errno);
        discard_scratch_file(fd, scratch);
        return false;
    }
    return commit_scratch_file(fd, scratch, entry_path, error);
}

std::optional<InterruptedSave> journal_find(const std::string& path) {
    const std::string entry_path = journal_entry_path(path);
    if (entry_path.empty()) return std::nullopt;
    const int fd = file_system::open(entry_path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    const bool read = file_system::read_all(fd, bytes);
    file_system::close(fd);
    if (!read) return std::nullopt;
    std::optional<InterruptedSave> entry = parse_entry(bytes);
    if (!entry || entry->path != journal_key(path)) return std::nullopt;
    return entry;
}

void journal_drop(const std::string& path) {
    const std::string entry_path = journal_entry_path(path);
    if (!entry_path.empty()) file_system::unlink(entry_path.c_str());
}
