// Finding a line in a long list in the desktop front-end: the filter above a
// list and type-ahead in it, driven through the real widgets while the real
// editors run; and the list model's rows against the host's lines.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFont>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QSettings>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "gui_session.h"
#include "gui_text.h"
#include "line_search.h"
#include "list_model.h"
#include "small_library.h"
#include "test_text.h"

namespace {

// ---- 1. The text looked for, whatever its case ----

struct SearchCase {
    const char* text;
    const char* line;
    bool found;
    bool starts;
};

TEST(LineSearch, FindsTheTextWhateverItsCaseAndNothingElse) {
    const SearchCase cases[] = {
        {"fsdo_0003", "FSDO_0003  =  0.500", true, true},
        {"0003", "FSDO_0003  =  0.500", true, false},
        {"сталь", "ST45  =  Сталь 45", true, false},
        {"СТАЛЬ 45", "ST45  =  сталь 45", true, false},
        {"ёлка", "ЁЛКА", true, true},
        {"Ё", "ель", false, false},                 // the two letters are not one
        {"С", "C", false, false},                   // Cyrillic Es is not Latin C
        {"\uF798", "a\uF798b", true, false},       // the code page's unassigned byte, as the host shows it
        {"д16т", "D16T  =  Д16Т", true, false},
        {"=  Д16", "D16T  =  Д16Т", true, false},
        {"FSDO_00031", "FSDO_0003", false, false},  // longer than the line
        {"", "anything", true, true},
        {"", "", true, true},
        {"a", "\x98", false, false},  // a stray byte is no character of the text
    };
    for (const SearchCase& each : cases) {
        const ughost::LineSearch search(QString::fromUtf8(each.text));
        EXPECT_EQ(search.found_in(each.line), each.found) << each.text << " in " << each.line;
        EXPECT_EQ(search.starts(each.line), each.starts) << each.line << " starts with " << each.text;
    }
}

// ---- 2. Rows and lines of the list model ----

ughost::Item list_item(const std::vector<std::string>& lines) {
    ughost::Item item;
    item.definition.kind = ughost::ItemKind::list;
    item.lines = ughost::ListLines(lines);
    return item;
}

std::vector<std::string> shown(const ughost::ListModel& model) {
    std::vector<std::string> lines;
    for (int row = 0; row < model.rowCount(); ++row) lines.push_back(model.index(row, 0).data().toString().toStdString());
    return lines;
}

// Typed on key by key the filter searches only the lines it showed; a key
// taken back, or a text typed over, searches them all again.
TEST(ListModel, AFilterTypedOnAndTakenBackShowsWhatItsTextFinds) {
    ughost::Item item = list_item({"ST45", "Сталь 45", "D16T", "st3", "Сталь 3", "сТ"});
    ughost::ListModel model(item, nullptr);
    const auto filtered = [&model](const char* text) {
        model.set_filter(QString::fromUtf8(text));
        return shown(model);
    };
    EXPECT_EQ(filtered("s"), (std::vector<std::string>{"ST45", "st3"}));
    EXPECT_EQ(model.show_line(2), 1);
    EXPECT_EQ(filtered("st"), (std::vector<std::string>{"ST45", "st3"})) << "a line kept for the selection goes with a new text; the dialog keeps the one selected";
    EXPECT_EQ(filtered("st4"), (std::vector<std::string>{"ST45"}));
    EXPECT_EQ(filtered("st"), (std::vector<std::string>{"ST45", "st3"}));
    EXPECT_EQ(filtered("ст"), (std::vector<std::string>{"Сталь 45", "Сталь 3", "сТ"}));
    EXPECT_EQ(filtered("Т"), (std::vector<std::string>{"Сталь 45", "Сталь 3", "сТ"})) << "Cyrillic Te, not Latin T";
    EXPECT_EQ(filtered(""), item.lines);
}

// Random inserts, removals and selections against a model of what must be
// shown: the lines holding the text and the lines selected since the last reset.
TEST(ListModel, RowsFollowTheHostsLinesThroughInsertsAndRemovals) {
    ughost::Item item = list_item({});
    ughost::ListModel model(item, nullptr);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::mt19937 random(7);
    const std::vector<std::string> texts = {"ab", "xy", "AB", "b", "Xab"};
    for (int i = 0; i < 40; ++i) {
        item.lines.push_back(texts[random() % texts.size()]);
    }
    model.lines_replaced();
    model.set_filter("ab");
    std::set<int> kept;  // the lines selected, shown whatever they hold
    for (int step = 0; step < 400; ++step) {
        const int size = static_cast<int>(item.lines.size());
        switch (random() % 3) {
            case 0: {
                const int line = static_cast<int>(random() % (size + 1));
                item.lines.insert(static_cast<std::size_t>(line), texts[random() % texts.size()]);
                std::set<int> moved;
                for (int each : kept) moved.insert(each >= line ? each + 1 : each);
                kept = moved;
                model.line_inserted(line);
                break;
            }
            case 1: {
                if (size == 0) break;
                const int line = static_cast<int>(random() % size);
                item.lines.erase(static_cast<std::size_t>(line));
                std::set<int> moved;
                for (int each : kept) {
                    if (each != line) moved.insert(each > line ? each - 1 : each);
                }
                kept = moved;
                model.line_removed(line);
                break;
            }
            default: {
                if (size == 0) break;
                const int line = static_cast<int>(random() % size);
                kept.insert(line);
                const int row = model.show_line(line);
                ASSERT_EQ(model.line_at(row), line);
                break;
            }
        }
        std::vector<int> expected;
        for (int line = 0; line < static_cast<int>(item.lines.size()); ++line) {
            const bool holds = ughost::qt(item.lines[static_cast<std::size_t>(line)]).contains("ab", Qt::CaseInsensitive);
            if (holds || kept.contains(line)) expected.push_back(line);
        }
        std::vector<int> rows;
        for (int row = 0; row < model.rowCount(); ++row) {
            rows.push_back(model.line_at(row));
            ASSERT_EQ(model.row_of(model.line_at(row)), row);
        }
        ASSERT_EQ(rows, expected) << "after step " << step;
    }
}

TEST(ListModel, TypeAheadFindsTheNextLineStartingWithTheTextElseHoldingIt) {
    ughost::Item item = list_item({"FSDO_0001 = 1", "FSDO_0002 = 2", "ST45 = 0001", "FSDO_0003 = 3"});
    ughost::ListModel model(item, nullptr);
    const auto next = [&model](int from, const char* text) {
        const QModelIndexList found = model.match(model.index(from, 0), Qt::DisplayRole, QString::fromUtf8(text), 1,
                                                  Qt::MatchStartsWith | Qt::MatchWrap);
        return found.isEmpty() ? -1 : found.first().row();
    };
    EXPECT_EQ(next(0, "fsdo"), 0);
    EXPECT_EQ(next(1, "fsdo"), 1);
    EXPECT_EQ(next(2, "fsdo"), 3);
    EXPECT_EQ(next(3, "st"), 2) << "the search wraps past the end";
    EXPECT_EQ(next(1, "0001"), 2) << "no line starts with it: the next line holding it";
    EXPECT_EQ(next(3, "0001"), 0);
    EXPECT_EQ(next(0, "0009"), -1);
    model.set_filter("fsdo");
    EXPECT_EQ(next(0, "0001"), 0) << "a hidden line is not found";
    EXPECT_EQ(next(1, "fsdo_0003"), 2);
}

// ---- 3. The filter in the editors' dialogs, as a person uses it ----

class ListFilter : public ::testing::Test {
protected:
    void SetUp() override {
        write_small_library(library);
        setenv("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", library.with_separator().c_str(), 1);
        QSettings().clear();
    }
    ScratchDirectory library;
    Session session;
};

QListView* list_of(const char* dialog, const char* list = "LIST") {
    return child<QListView>(window_named(dialog), list);
}

QLineEdit* filter_of(const char* dialog, const char* list = "LIST") {
    return child<QLineEdit>(window_named(dialog), QString(list) + ".filter");
}

// The lines the list shows, each to its first field (the reference).
std::vector<std::string> shown_references(const char* dialog, const char* list = "LIST") {
    std::vector<std::string> references;
    QListView* view = list_of(dialog, list);
    for (int row = 0; view != nullptr && row < view->model()->rowCount(); ++row) {
        const QString line = view->model()->index(row, 0).data().toString();
        references.push_back(line.section(' ', 0, 0).toStdString());
    }
    return references;
}

std::string current_reference(const char* dialog) {
    QListView* list = list_of(dialog);
    if (list == nullptr || !list->currentIndex().isValid()) return "<no current line>";
    return list->currentIndex().data().toString().section(' ', 0, 0).toStdString();
}

std::string field(const char* dialog, const char* name) {
    auto* edit = child<QLineEdit>(window_named(dialog), name);
    return edit == nullptr ? "<no field>" : edit->text().toStdString();
}

// Feeds rows FSDO_0001 to FSDO_<rows>, on the small library's other tables.
void write_feeds_rows(const ScratchDirectory& library, int rows) {
    std::string file;
    for (int row = 1; row <= rows; ++row) {
        char line[128];
        std::snprintf(line, sizeof line, "DATA|FSDO_%04d|OPD0_0001|MAT0_0001|TMC0_0001|0|%d|||0|%d|0|0.1\r\n", row,
                      row % 7, 20 + row % 50);
        file += line;
    }
    library.write("feeds_speeds.dat", file);
}

int data_lines(const std::string& file) {
    int lines = 0;
    for (std::size_t at = file.find("DATA|"); at != std::string::npos; at = file.find("DATA|", at + 1)) ++lines;
    return lines;
}

TEST_F(ListFilter, InALongTableTheFilteredLineIsTheOneShownAndDeleted) {
    write_feeds_rows(library, 3000);
    session.step([] { return list_of("ratomir.dlg") != nullptr && list_of("ratomir.dlg")->model()->rowCount() == 3000; });
    session.step([] { return type_into(window_named("ratomir.dlg"), "LIST.filter", "_12"); });
    session.step([] {
        const std::vector<std::string> references = shown_references("ratomir.dlg");
        // The hundred rows holding the text, and the first row, selected when the dialog opened.
        EXPECT_EQ(references.size(), 101u);
        if (references.size() != 101u) return true;
        EXPECT_EQ(references[0], "FSDO_0001");
        EXPECT_EQ(references[1], "FSDO_1200");
        EXPECT_EQ(references[100], "FSDO_1299");
        return select_row(window_named("ratomir.dlg"), "LIST", 50);
    });
    session.step([] {
        if (!host_took_all(window_named("ratomir.dlg"))) return false;
        EXPECT_EQ(field("ratomir.dlg", "LIBREF"), "FSDO_1249") << "the fields show another row than the one clicked";
        return click(window_named("ratomir.dlg"), "BLO_ACT_2");
    });
    session.step([] {
        if (!host_took_all(window_named("ratomir.dlg"))) return false;
        // The filter outlived the list's refill; the plug-in's new selection is in sight.
        EXPECT_EQ(filter_of("ratomir.dlg")->text(), "_12");
        const std::vector<std::string> references = shown_references("ratomir.dlg");
        EXPECT_EQ(references.size(), 99u);
        EXPECT_EQ(std::count(references.begin(), references.end(), "FSDO_1249"), 0);
        EXPECT_EQ(current_reference("ratomir.dlg"), "FSDO_1248");
        EXPECT_EQ(field("ratomir.dlg", "LIBREF"), "FSDO_1248");
        return true;
    });
    save_and_close(session, "ratomir.dlg");
    ASSERT_TRUE(session.run(plugin("ratomir")));
    const std::string saved = library.read("feeds_speeds.dat");
    EXPECT_EQ(saved.find("|FSDO_1249|"), std::string::npos) << "the row deleted is not the row the user saw";
    EXPECT_NE(saved.find("|FSDO_1248|"), std::string::npos);
    EXPECT_NE(saved.find("|FSDO_1250|"), std::string::npos);
    EXPECT_EQ(data_lines(saved), 2999);
}

// After a Delete the plug-in selects the line above, which the filter hides: it
// is shown anyway, so what Edit and Delete would act on is always in sight.
TEST_F(ListFilter, ALineThePluginSelectsIsShownThoughTheFilterHidesIt) {
    session.step([] { return type_into(window_named("ratomir.dlg"), "LIST.filter", "fsdo_0003"); });
    session.step([] {
        if (shown_references("ratomir.dlg") != std::vector<std::string>{"FSDO_0001", "FSDO_0003"}) return false;
        // The first row stays in sight: the fields show it.
        EXPECT_EQ(current_reference("ratomir.dlg"), "FSDO_0001");
        EXPECT_TRUE(list_of("ratomir.dlg")->model()->index(0, 0).data(Qt::FontRole).value<QFont>().italic());
        return select_row(window_named("ratomir.dlg"), "LIST", 1);
    });
    session.step([] {
        if (!host_took_all(window_named("ratomir.dlg"))) return false;
        EXPECT_EQ(field("ratomir.dlg", "LIBREF"), "FSDO_0003");
        return click(window_named("ratomir.dlg"), "BLO_ACT_2");
    });
    session.step([] {
        if (!host_took_all(window_named("ratomir.dlg"))) return false;
        EXPECT_EQ(shown_references("ratomir.dlg"), std::vector<std::string>{"FSDO_0002"});
        EXPECT_EQ(current_reference("ratomir.dlg"), "FSDO_0002");
        EXPECT_EQ(field("ratomir.dlg", "LIBREF"), "FSDO_0002");
        EXPECT_EQ(filter_of("ratomir.dlg")->text(), "fsdo_0003");
        // Escape in the filter shows every line, the selection where it was.
        QTest::keyClick(filter_of("ratomir.dlg"), Qt::Key_Escape);
        EXPECT_EQ(shown_references("ratomir.dlg"), (std::vector<std::string>{"FSDO_0001", "FSDO_0002", "FSDO_0004"}));
        EXPECT_EQ(list_of("ratomir.dlg")->currentIndex().row(), 1);
        return true;
    });
    session.step([] { return click(window_named("ratomir.dlg"), "OK"); });
    session.step([] { return answer_box(QMessageBox::Yes); });
    ASSERT_TRUE(session.run(plugin("ratomir")));
}

// While a new record is being written the list is closed, and its filter with
// it; the record applied is selected and shown although the filter hides it.
TEST_F(ListFilter, ANewRecordIsShownAndTheFilterKeptWhileItIsClosedForEditing) {
    session.step([] { return type_into(window_named("ratomir.dlg"), "LIST.filter", "FSDO_0002"); });
    session.step([] {
        if (shown_references("ratomir.dlg") != std::vector<std::string>{"FSDO_0001", "FSDO_0002"}) return false;
        return select_row(window_named("ratomir.dlg"), "LIST", 1);
    });
    session.step([] { return host_took_all(window_named("ratomir.dlg")) && click(window_named("ratomir.dlg"), "BLO_ACT_1"); });
    session.step([] {
        if (!host_took_all(window_named("ratomir.dlg"))) return false;
        EXPECT_FALSE(list_of("ratomir.dlg")->isEnabled());
        EXPECT_FALSE(filter_of("ratomir.dlg")->isEnabled()) << "the filter of a closed list can still be typed in";
        return type_into(window_named("ratomir.dlg"), "LIBREF", "NEW_ROW");
    });
    session.step([] { return click(window_named("ratomir.dlg"), "BLO_ACTION_0"); });
    session.step([] {
        if (!host_took_all(window_named("ratomir.dlg")) || !list_of("ratomir.dlg")->isEnabled()) return false;
        EXPECT_TRUE(filter_of("ratomir.dlg")->isEnabled());
        EXPECT_EQ(filter_of("ratomir.dlg")->text(), "FSDO_0002");
        EXPECT_EQ(shown_references("ratomir.dlg"), (std::vector<std::string>{"FSDO_0002", "NEW_ROW"}));
        EXPECT_EQ(current_reference("ratomir.dlg"), "NEW_ROW");
        return true;
    });
    save_and_close(session, "ratomir.dlg");
    ASSERT_TRUE(session.run(plugin("ratomir")));
    EXPECT_NE(library.read("feeds_speeds.dat").find("|NEW_ROW|"), std::string::npos);
}

// The dialog opens with the keyboard on the list; Tab goes from the filter to
// its list, Shift+Tab back; Enter in the filter takes the keyboard
// to the list and never ends the dialog; Escape empties a filter holding text,
// and only an empty one's Escape cancels the dialog.
TEST_F(ListFilter, TheFiltersKeysDoWhatPeopleExpect) {
    session.step([] {
        QLineEdit* filter = filter_of("blankora.dlg");
        // The keyboard is the active window's.
        if (filter == nullptr || !host_took_all(window_named("blankora.dlg")) || !window_named("blankora.dlg")->isActiveWindow()) {
            return false;
        }
        EXPECT_EQ(QApplication::focusWidget(), list_of("blankora.dlg")) << "the dialog opened with the keyboard elsewhere";
        QTest::keyClick(list_of("blankora.dlg"), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), filter);
        QTest::keyClick(filter, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), list_of("blankora.dlg"));
        return type_into(window_named("blankora.dlg"), "LIST.filter", "д16");
    });
    session.step([] {
        QTest::keyClick(filter_of("blankora.dlg"), Qt::Key_Return);
        return true;
    });
    session.step([] {
        EXPECT_NE(window_named("blankora.dlg"), nullptr) << "Enter in the filter ended the dialog";
        if (window_named("blankora.dlg") == nullptr) return true;
        EXPECT_EQ(QApplication::focusWidget(), list_of("blankora.dlg"));
        EXPECT_EQ(shown_references("blankora.dlg"), (std::vector<std::string>{"ST45", "D16T"}))
            << "the first line stays in sight, selected";
        QTest::keyClick(filter_of("blankora.dlg"), Qt::Key_Escape);
        return true;
    });
    session.step([] {
        EXPECT_NE(window_named("blankora.dlg"), nullptr) << "Escape in a filter holding text ended the dialog";
        if (window_named("blankora.dlg") == nullptr) return true;
        EXPECT_EQ(filter_of("blankora.dlg")->text(), "");
        EXPECT_EQ(list_of("blankora.dlg")->model()->rowCount(), 2);
        QTest::keyClick(filter_of("blankora.dlg"), Qt::Key_Escape);
        return true;
    });
    ASSERT_TRUE(session.run(plugin("blankora")));
    EXPECT_EQ(window_named("blankora.dlg"), nullptr) << "Escape in an empty filter does not cancel the dialog";
}

// Typed while the list has the keyboard: the line starting with the text, else
// the line holding it, is selected, and the plug-in shows it.
TEST_F(ListFilter, TypingInTheListSelectsTheLineTyped) {
    auto pause = std::make_shared<QElapsedTimer>();
    session.step([] {
        QListView* list = list_of("ratomir.dlg");
        if (list == nullptr || !host_took_all(window_named("ratomir.dlg"))) return false;
        list->setFocus();
        QTest::keyClicks(list, "fsdo_0003");
        return true;
    });
    session.step([pause] {
        if (!host_took_all(window_named("ratomir.dlg"))) return false;
        EXPECT_EQ(current_reference("ratomir.dlg"), "FSDO_0003");
        EXPECT_EQ(field("ratomir.dlg", "LIBREF"), "FSDO_0003");
        pause->start();
        return true;
    });
    // A pause longer than the keyboard's interval starts a new search.
    session.step([pause] {
        if (pause->elapsed() <= QApplication::keyboardInputInterval()) return false;
        QTest::keyClicks(list_of("ratomir.dlg"), "0002");
        return true;
    });
    session.step([] {
        if (!host_took_all(window_named("ratomir.dlg"))) return false;
        EXPECT_EQ(current_reference("ratomir.dlg"), "FSDO_0002") << "no line starts with 0002: the one holding it";
        EXPECT_EQ(field("ratomir.dlg", "LIBREF"), "FSDO_0002");
        return click(window_named("ratomir.dlg"), "CANCEL");
    });
    ASSERT_TRUE(session.run(plugin("ratomir")));
}

}  // namespace

int main(int argc, char** argv) {
    ScratchDirectory scratch;
    use_offscreen_screen(scratch, 1366, 768);
    keep_settings_in(scratch);
    QApplication application(argc, argv);
    QApplication::setOrganizationName("cutting-data-library-test");
    QApplication::setApplicationName("gui_list_filter_test");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
