// A snapshot of the base: a folder holding the five files byte for byte, one
// spreadsheet file per table, and a manifest that names every file with its
// rows, size and checksum. The manifest is written last, so a folder without
// one is an export that did not finish.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base_files.h"

extern const char* const manifest_file;

struct ManifestEntry {
    std::string file;
    std::size_t rows = 0;
    std::size_t size = 0;
    std::uint64_t checksum = 0;
};

// The snapshot's files made from the base's: the five copies, the spreadsheets
// and the manifest.
FileContents snapshot_of(const FileContents& base);
std::vector<ManifestEntry> manifest_of(const FileContents& files);
std::string manifest_text(const std::vector<ManifestEntry>& entries);
// False when the text is not a manifest.
bool parse_manifest(const std::string& text, std::vector<ManifestEntry>& entries);
std::uint64_t checksum_of(std::string_view content);

// Makes the folder (and its parents) and writes every file into it, the manifest
// last; false with error saying why. A folder that exists is refused: it may
// hold another snapshot.
bool write_snapshot(const std::string& folder, const FileContents& files, std::string& error);
// Reads the manifest and the files it names; false with error saying why.
bool read_snapshot(const std::string& folder, std::vector<ManifestEntry>& manifest, FileContents& files,
                   std::string& error);

// The folders under parent holding a manifest, newest first (their names start
// with the time they were made).
std::vector<std::string> snapshots_in(const std::string& parent);
// parent + "YYYY-MM-DD_HHMMSS" of the local time now + suffix, with "-2", "-3", ...
// added when a snapshot of the same second is there already; with its separator.
std::string new_snapshot_folder(const std::string& parent, const std::string& suffix);
