// Export: the base as it is on disk, into a dated snapshot folder the user confirms.
#include "format_text.h"
#include "ferrant.h"
#include "integrity.h"
#include "listing.h"
#include "snapshot.h"
#include "uf.h"
#include "windows.h"

std::string export_parent(const BaseFolders& folders) { return folders.data + "export/"; }

bool export_base_to(const std::string& folder, const FileContents& base, const char* title) {
    const FileContents files = snapshot_of(base);
    std::string error;
    if (!write_snapshot(folder, files, error)) {
        // The user is told the export failed; the log keeps the reason for the administrator.
        UF_print_syslog(error.c_str(), 0);
        const std::string text =
            format_text(" Невозможно записать снимок Базы в папку\n %s\n Обратитесь к сист. администратору", folder);
        MessageBoxA(GetFocus(), text.c_str(), "Ошибка - Экспорт Базы", MB_ICONERROR);
        return false;
    }
    listing_start();
    listing_write(format_text("\n %s\n Папка: %s\n", title, folder));
    for (const ManifestEntry& entry : manifest_of(files)) {
        listing_write(format_text("\n  %-22s строк: %5ld   байт: %7ld", entry.file, static_cast<long>(entry.rows),
                                  static_cast<long>(entry.size)));
    }
    listing_write(format_text("\n  %s\n", manifest_file));
    listing_write(integrity_report(base));
    return true;
}

void run_export() {
    BaseFolders folders;
    FileContents base;
    if (!find_base_folders(folders) || !read_base(folders, base)) return;
    std::string folder;
    if (!ask_folder(new_snapshot_folder(export_parent(folders), ""), folder)) return;
    export_base_to(folder, base, "Экспорт Базы");
}
