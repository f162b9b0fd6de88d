// Runs of the editors that change a row in a record dialog over their list (the
// cut-method and tool-material editors), and what their transcripts show.
#pragma once

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "small_library.h"
#include "store_session.h"
#include "test_text.h"

struct RecordEditor {
    std::string plugin;            // "strakel"
    std::string list_item;         // "LIST_CUTS"
    std::string file;              // "cut_methods.dat"
    std::string reference_prefix;  // of the references it makes, "OPD0_"
    std::string rows;              // the data lines the library starts with
};

inline const std::string save_yes = "press BLO_ACT 5\nanswer yes\n";

// The lines with one replaced, or one added at the end.
inline std::vector<std::string> with(std::vector<std::string> lines, std::size_t row, const std::string& line) {
    if (row < lines.size()) {
        lines[row] = line;
    } else {
        lines.push_back(line);
    }
    return lines;
}

class RecordEditorSession : public ::testing::Test {
protected:
    explicit RecordEditorSession(RecordEditor editor) : editor_(std::move(editor)) {}
    void SetUp() override {
        write_small_library(library);
        library.write(editor_.file, cp1251(editor_.rows));
    }

    HostRun run(const std::string& script, const std::string& plugin = "") const {
        HostRunOptions options;
        options.plugins = {std::string(APPLICATION_DIR) + "/" + (plugin.empty() ? editor_.plugin : plugin) + ".so"};
        options.script = script;
        options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.with_separator();
        HostRun run = run_host(options);
        EXPECT_EQ(run.exit_status, 0) << run.errors << run.transcript;
        return run;
    }

    std::string saved() const { return library.read(editor_.file); }
    // What a save writes before the rows.
    std::string header() const {
        const std::string bytes = sample_bytes(editor_.file);
        return bytes.substr(0, bytes.find("DATA|"));
    }
    // The file as a save writes the rows the library started with, from `from` on.
    std::string saved_rows(const std::string& from = "DATA|") const {
        return header() + cp1251(editor_.rows.substr(editor_.rows.find(from)));
    }

    // Lines put in the list, and the one selected.
    std::string listed(const std::vector<std::string>& lines, int selected) const {
        const std::string item = "item " + editor_.plugin + ".dlg " + editor_.list_item + " ";
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            text += item + "insert " + std::to_string(i) + " \"" + lines[i] + "\"\n";
        }
        return text + item + "select " + std::to_string(selected) + "\n";
    }
    // The list redrawn.
    std::string list_of(const std::vector<std::string>& lines, int selected) const {
        return "item " + editor_.plugin + ".dlg " + editor_.list_item + " delete all\n" + listed(lines, selected);
    }

    // The first reference the record dialog offered a new row.
    std::string offered_reference(const std::string& transcript) const {
        std::smatch found;
        const std::regex offered("WIDE_NUM text \"(" + editor_.reference_prefix + "\\d{4,5})\"");
        return std::regex_search(transcript, found, offered) ? found[1].str() : "<none offered>";
    }

    // The message boxes and list of a Load that meets no file.
    std::string failed_load(const std::vector<std::string>& kept) const {
        return "item " + editor_.plugin + ".dlg " + editor_.list_item + " delete all\nbox error owner=" +
               editor_.plugin + ".dlg caption=\"Ошибка - загрузки Базы\" text=\" Невозможно загрузить Базу\\n "
               "Обратитесь к сист. администратору\" -> ok\n" + listed(kept, 0);
    }

    // What the user sees when the record dialog cannot be created.
    std::string record_dialog_not_created() const {
        return "status \"The dialog could not be created\"\n"
               "stdout \"The dialog could not be created\\n\"\n"
               "message \" Невозможно загрузить '" + editor_.plugin + "edit.dlg'  ...\"\n";
    }

    // The pick list of the feeds-and-speeds editor shows exactly these entries.
    ::testing::AssertionResult feeds_pick_list_shows(const std::string& item, const std::vector<std::string>& entries) const {
        const HostRun feeds = run("ok\n", "ratomir");
        std::vector<std::string> expected = {"item ratomir.dlg " + item + " entries " + std::to_string(entries.size())};
        for (std::size_t i = 0; i < entries.size(); ++i) {
            expected.push_back("item ratomir.dlg " + item + " entry " + std::to_string(i) + " \"" + entries[i] + "\"");
        }
        if (count_lines_starting(feeds.transcript, "box") != 0) {
            return ::testing::AssertionFailure() << "a message box:\n" << feeds.transcript;
        }
        return lines_in_order(feeds.transcript, expected);
    }

    ScratchDirectory library;

private:
    RecordEditor editor_;
};
