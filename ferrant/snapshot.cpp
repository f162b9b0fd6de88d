#include "snapshot.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "content_hash.h"
#include "file_system.h"
#include "format_text.h"
#include "library_file.h"
#include "snapshot_tables.h"

const char* const manifest_file = "manifest.txt";

namespace {

constexpr const char* manifest_heading = "# FILE;ROWS;SIZE;CHECKSUM";

std::string with_separator(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

std::string because(const char* what, const std::string& path) {
    return std::string(what) + " '" + path + "': " + std::strerror(errno);
}

bool make_folders(const std::string& folder, std::string& error) {
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
            error = because("cannot make the folder", part);
            return false;
        }
    }
    return true;
}

bool write_new_file(const std::string& path, std::string_view content, std::string& error) {
    const int fd = file_system::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) {
        error = because("cannot create", path);
        return false;
    }
    const bool written = file_system::write_all(fd, content, 0) && file_system::fsync(fd) == 0;
    if (!written) error = because("cannot write", path);
    const bool closed = file_system::close(fd) == 0;
    if (written && !closed) error = because("cannot close", path);
    return written && closed;
}

std::size_t rows_in(const std::string& name, const std::string& content) {
    LoadReport report;
    if (const SnapshotTable* table = snapshot_table_of(name)) return table->rows(content, report);
    for (const SnapshotTable& table : snapshot_tables()) {
        // A spreadsheet's rows are its lines but the header.
        if (name == table.csv_name) {
            return static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')) - 1;
        }
    }
    return data_lines(content).size();
}

}  // namespace

std::uint64_t checksum_of(std::string_view content) { return content_hash(content); }

FileContents snapshot_of(const FileContents& base) {
    FileContents files = base;
    for (const SnapshotTable& table : snapshot_tables()) files[table.csv_name] = table.to_csv(base.at(table.file_name));
    files[manifest_file] = manifest_text(manifest_of(files));
    return files;
}

std::vector<ManifestEntry> manifest_of(const FileContents& files) {
    std::vector<ManifestEntry> entries;
    for (const auto& [name, content] : files) {
        if (name == manifest_file) continue;
        entries.push_back({name, rows_in(name, content), content.size(), checksum_of(content)});
    }
    return entries;
}

std::string manifest_text(const std::vector<ManifestEntry>& entries) {
    std::string text = std::string(manifest_heading) + "\r\n";
    for (const ManifestEntry& entry : entries) {
        text += format_text("%s;%ld;%ld;", entry.file, static_cast<long>(entry.rows), static_cast<long>(entry.size));
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(entry.checksum));
        text += std::string(hex) + "\r\n";
    }
    return text;
}

bool parse_manifest(const std::string& text, std::vector<ManifestEntry>& entries) {
    entries.clear();
    std::string_view rest = text;
    if (!rest.starts_with(manifest_heading)) return false;
    rest.remove_prefix(rest.find('\n') == std::string_view::npos ? rest.size() : rest.find('\n') + 1);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string line(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        char name[256] = {};
        unsigned long rows = 0;
        unsigned long size = 0;
        unsigned long long checksum = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), "%255[^;];%lu;%lu;%16llx%n", name, &rows, &size, &checksum, &used) != 4 ||
            static_cast<std::size_t>(used) != line.size()) {
            return false;
        }
        entries.push_back({name, rows, size, checksum});
    }
    return !entries.empty();
}

bool write_snapshot(const std::string& folder_path, const FileContents& files, std::string& error) {
    const std::string folder = with_separator(folder_path);
    struct stat status;
    if (file_system::stat(folder.c_str(), &status) == 0) {
        errno = EEXIST;
        error = because("the snapshot folder exists", folder);
        return false;
    }
    if (!make_folders(folder, error)) return false;
    for (const auto& [name, content] : files) {
        if (name != manifest_file && !write_new_file(folder + name, content, error)) return false;
    }
    return write_new_file(folder + manifest_file, files.at(manifest_file), error);
}

bool read_snapshot(const std::string& folder_path, std::vector<ManifestEntry>& manifest, FileContents& files,
                   std::string& error) {
    const std::string folder = with_separator(folder_path);
    std::string text;
    if (!read_whole_file(folder + manifest_file, text, error)) return false;
    if (!parse_manifest(text, manifest)) {
        error = "'" + folder + manifest_file + "' is not a snapshot manifest";
        return false;
    }
    for (const ManifestEntry& entry : manifest) {
        if (!read_whole_file(folder + entry.file, files[entry.file], error)) return false;
    }
    return true;
}

std::vector<std::string> snapshots_in(const std::string& parent) {
    std::vector<std::string> names;
    DIR* folder = opendir(parent.c_str());
    if (folder == nullptr) return names;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        struct stat status;
        if (name.starts_with('.')) continue;
        if (file_system::stat((parent + name + "/" + manifest_file).c_str(), &status) == 0) names.push_back(name);
    }
    closedir(folder);
    std::sort(names.rbegin(), names.rend());
    return names;
}

std::string new_snapshot_folder(const std::string& parent, const std::string& suffix) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H%M%S", &local);
    const std::string base = parent + text + suffix;
    std::string folder = base;
    struct stat status;
    for (int count = 2; file_system::stat(folder.c_str(), &status) == 0; ++count) {
        folder = base + "-" + std::to_string(count);
    }
    return folder + "/";
}
