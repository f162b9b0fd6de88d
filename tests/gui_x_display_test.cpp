// The desktop front-end on a real X server of the test's own (Xvfb): the
// README's walkthrough played with the mouse and with the keyboard alone, from
// the launcher's menu to the saved file, through the window system's input and
// focus; the tab order of every editor's dialogs; and the README's pictures,
// taken on the way (into SCREENSHOT_DIR; scripts/update-screenshots copies them
// into docs/screenshots).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "gui_session.h"
#include "host_run.h"
#include "qt_translations.h"
#include "test_text.h"
#include "window_input.h"
#include "x_server.h"

namespace {

// Large enough for every dialog at its full size, so the pictures show them whole.
constexpr int screen_width = 1600;
constexpr int screen_height = 1200;

class OnX : public ::testing::Test {
protected:
    void SetUp() override {
        library.copy_samples();
        setenv("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", library.with_separator().c_str(), 1);
        setenv("UGII_CAM_LIBRARY_TOOL_METRIC_DIR", library.with_separator().c_str(), 1);
        setenv("UGII_USER_DIR", std::filesystem::path(APPLICATION_DIR).parent_path().c_str(), 1);
        QSettings().clear();  // every window opens at its own size
    }
    ScratchDirectory library;
    Session session;
};

// The window as it stands, once it has the keyboard, into the pictures' folder.
bool take_picture(const QString& window_name, const QString& file) {
    QWidget* window = window_with_keyboard(window_name);
    if (window == nullptr) return false;
    QDir().mkpath(SCREENSHOT_DIR);
    EXPECT_TRUE(window->grab().save(QString(SCREENSHOT_DIR) + "/" + file)) << file.toStdString();
    return true;
}

bool field_shows(const QString& window_name, const QString& field_name, const QString& text) {
    auto* field = child<QLineEdit>(window_named(window_name), field_name);
    return field != nullptr && field->text() == text;
}

std::string list_line(const QString& window_name, const QString& list_name, int row) {
    auto* list = child<QListView>(window_named(window_name), list_name);
    if (list == nullptr || row >= list->model()->rowCount()) return "<no line>";
    return list->model()->index(row, 0).data().toString().toStdString();
}

// Answers the message box on top with a click on one of its buttons.
bool click_in_box(QMessageBox::StandardButton answer) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    return box != nullptr && click_on(box->button(answer));
}

// Into a field with a click, all its text selected as a user does (Ctrl+A), then typed over.
void retype(Session& session, const QString& window_name, const QString& field_name, const QString& text) {
    session.step([=] { return click_on(window_name, field_name); });
    session.step([=] { return keyboard_widget() == field_name && press_key(window_name, Qt::Key_A, Qt::ControlModifier); });
    session.step([=] { return type_keys(window_name, text); });
}

// Save, answered "Да", the count of rows read, and the editor left with its OK.
void save_with_the_mouse(Session& session, const QString& dialog) {
    session.step([=] { return click_on(dialog, "BLO_ACT_5"); });
    session.step([] { return click_in_box(QMessageBox::Yes); });
    session.step([] { return click_in_box(QMessageBox::Ok); });
    session.step([=] { return click_on(dialog, "OK"); });
}

// The bundled table with one line changed: all that a save of that one change may alter.
std::string sample_changed(const std::string& table, const std::string& line, const std::string& changed) {
    std::string bytes = sample_bytes(table);
    const std::string old_line = cp1251(line) + "\r\n";
    const std::size_t at = bytes.find(old_line);
    EXPECT_NE(at, std::string::npos) << table << " has no line " << line;
    if (at != std::string::npos) bytes.replace(at, old_line.size(), cp1251(changed) + "\r\n");
    return bytes;
}

std::string feeds_after_the_walkthrough() {
    return sample_changed("feeds_speeds.dat",
                          "DATA|FSDO_0003|OPD0_0001|MAT0_0002|TMC0_0001|0.118|3.000|1.00|2.00|72.178|22.000|0.003|0.080",
                          "DATA|FSDO_0003|OPD0_0001|MAT0_0002|TMC0_0001|0.118|3.000|1.00|2.00|72.178|22.000|0.004|0.090");
}

// ---- The README's walkthrough ----

TEST_F(OnX, TheWalkthroughWithTheMouseSavesTheChangedFeed) {
    session.step([] { return take_picture("menu", "korvane-menu.png") && click_on("menu", "ITEM_2"); });
    session.step([] { return take_picture("ratomir.dlg", "ratomir.png") && click_line("ratomir.dlg", "LIST", 2); });
    session.step([] { return field_shows("ratomir.dlg", "LIBREF", "FSDO_0003") && click_on("ratomir.dlg", "BLO_ACT_0"); });
    retype(session, "ratomir.dlg", "FEED_MMPT", "0,09");
    session.step([] { return click_on("ratomir.dlg", "BLO_ACTION_0"); });
    session.step([] {
        return list_line("ratomir.dlg", "LIST", 2) == "FSDO_0003  =  3.000  i1=  1.00  i2=  2.00 =  22.000  =  0.090 ";
    });
    save_with_the_mouse(session, "ratomir.dlg");
    session.step([] { return click_on("menu", "CANCEL"); });
    ASSERT_TRUE(session.run(plugin("korvane")));
    EXPECT_EQ(library.read("feeds_speeds.dat"), feeds_after_the_walkthrough());
}

TEST_F(OnX, TheOtherEditorsEachSaveAnEditMadeWithTheMouse) {
    session.step([] { return click_on("menu", "ITEM_3"); });
    session.step([] { return take_picture("strakel.dlg", "strakel.png") && click_line("strakel.dlg", "LIST_CUTS", 1); });
    session.step([] { return click_on("strakel.dlg", "BLO_ACT_0"); });
    retype(session, "strakeledit.dlg", "WIDE_MAT", "Фрезерование тонкое");
    session.step([] { return click_on("strakeledit.dlg", "OK"); });
    save_with_the_mouse(session, "strakel.dlg");

    session.step([] { return click_on("menu", "ITEM_4"); });
    session.step([] {
        return take_picture("gradivo.dlg", "gradivo.png") && click_line("gradivo.dlg", "LIST_TOOL_MATERIAL", 1);
    });
    session.step([] { return click_on("gradivo.dlg", "BLO_ACT_0"); });
    retype(session, "gradivoedit.dlg", "WIDE_DISCRIPTION", "Быстрорежущая сталь, HRC 64");
    session.step([] { return click_on("gradivoedit.dlg", "OK"); });
    save_with_the_mouse(session, "gradivo.dlg");

    session.step([] { return click_on("menu", "ITEM_5"); });
    session.step([] { return take_picture("blankora.dlg", "blankora.png") && click_line("blankora.dlg", "LIST", 1); });
    session.step([] { return field_shows("blankora.dlg", "MATCODE", "ST40X") && click_on("blankora.dlg", "BLO_ACT_0"); });
    retype(session, "blankora.dlg", "HARDNESS", "HRC 30-34");
    session.step([] { return click_on("blankora.dlg", "BLO_ACTION_0"); });
    save_with_the_mouse(session, "blankora.dlg");
    session.step([] { return click_on("menu", "CANCEL"); });
    ASSERT_TRUE(session.run(plugin("korvane")));

    EXPECT_EQ(library.read("cut_methods.dat"),
              sample_changed("cut_methods.dat",
                             "DATA|OPD0_0002|MILL|Фрезерование чистовое|Чистовое фрезерование плоскостей и контуров, малый припуск",
                             "DATA|OPD0_0002|MILL|Фрезерование тонкое|Чистовое фрезерование плоскостей и контуров, малый припуск"));
    EXPECT_EQ(library.read("tool_materials.dat"),
              sample_changed("tool_materials.dat", "DATA|TMC0_0002|Р18|Быстрорежущая сталь вольфрамовая, HRC 63-66",
                             "DATA|TMC0_0002|Р18|Быстрорежущая сталь, HRC 64"));
    EXPECT_EQ(library.read("part_materials.dat"),
              sample_changed("part_materials.dat",
                             "DATA|ST40X|Сталь 40Х|Сталь конструкционная легированная хромистая, улучшенная|HRC 28-32|MAT0_0002",
                             "DATA|ST40X|Сталь 40Х|Сталь конструкционная легированная хромистая, улучшенная|HRC 30-34|MAT0_0002"));
}

// Presses Tab in the window until the widget has the keyboard; a user sees where it is.
void tab_to(Session& session, const QString& window_name, const QString& widget_name) {
    auto presses = std::make_shared<int>(0);
    session.step([=] {
        if (window_with_keyboard(window_name) == nullptr) return false;
        if (keyboard_widget() == widget_name) return true;
        if (++*presses > 40) {
            ADD_FAILURE() << "Tab never reached " << widget_name.toStdString() << " in " << window_name.toStdString();
            return true;
        }
        press_key(window_name, Qt::Key_Tab);
        return false;
    });
}

// The widget with the keyboard is the one named, then the key.
bool press_key_in(const QString& window_name, const QString& widget_name, Qt::Key key) {
    return window_with_keyboard(window_name) != nullptr && keyboard_widget() == widget_name &&
           press_key(window_name, key);
}

TEST_F(OnX, TheWalkthroughWithTheKeyboardAloneSavesTheSameBytes) {
    // The menu: the arrow moves to the feeds editor's item, Enter chooses it.
    session.step([] { return press_key_in("menu", "ITEM_1", Qt::Key_Down); });
    session.step([] { return press_key_in("menu", "ITEM_2", Qt::Key_Return); });
    // The list has the keyboard; the arrows select the third line.
    session.step([] { return press_key_in("ratomir.dlg", "LIST", Qt::Key_Down); });
    session.step([] { return field_shows("ratomir.dlg", "LIBREF", "FSDO_0002") && press_key("ratomir.dlg", Qt::Key_Down); });
    // Enter on the line activates it again, and leaves the dialog open.
    session.step([] { return field_shows("ratomir.dlg", "LIBREF", "FSDO_0003") && press_key("ratomir.dlg", Qt::Key_Return); });
    session.step([] { return field_shows("ratomir.dlg", "LIBREF", "FSDO_0003") && press_key("ratomir.dlg", Qt::Key_Tab); });
    session.step([] { return press_key_in("ratomir.dlg", "BLO_ACT_0", Qt::Key_Return); });
    // Editing starts in the first field; Tab goes on field by field to the feed.
    session.step([] { return keyboard_widget() == "LIBREF" && window_with_keyboard("ratomir.dlg") != nullptr; });
    tab_to(session, "ratomir.dlg", "FEED_MMPT");
    session.step([] { return type_keys("ratomir.dlg", "0,09") && press_key("ratomir.dlg", Qt::Key_Tab); });
    session.step([] { return press_key_in("ratomir.dlg", "BLO_ACTION_0", Qt::Key_Space); });
    session.step([] {
        return list_line("ratomir.dlg", "LIST", 2) == "FSDO_0003  =  3.000  i1=  1.00  i2=  2.00 =  22.000  =  0.090 ";
    });
    tab_to(session, "ratomir.dlg", "BLO_ACT_5");
    session.step([] { return press_key_in("ratomir.dlg", "BLO_ACT_5", Qt::Key_Return); });
    // "Нет" is the question's default: Tab to "Да", Enter; Enter again reads the count.
    session.step([] { return press_key("box", Qt::Key_Tab) && press_key("box", Qt::Key_Return); });
    session.step([] {
        auto* box = qobject_cast<QMessageBox*>(window_with_keyboard("box"));
        return box != nullptr && box->button(QMessageBox::Yes) == nullptr && press_key("box", Qt::Key_Return);
    });
    session.step([] { return press_key("ratomir.dlg", Qt::Key_Escape); });
    session.step([] { return press_key("menu", Qt::Key_Escape); });
    ASSERT_TRUE(session.run(plugin("korvane")));
    EXPECT_EQ(library.read("feeds_speeds.dat"), feeds_after_the_walkthrough());
}

// ---- The keyboard's rules ----

TEST_F(OnX, TheMenuIsWalkedWithTheArrowsAndTypingAndEnterPressesCancel) {
    session.step([] { return window_with_keyboard("menu") != nullptr && keyboard_widget() == "ITEM_1"; });
    session.step([] { return type_keys("menu", "Мат"); });
    session.step([] {
        EXPECT_EQ(keyboard_widget().toStdString(), "ITEM_4") << "typing did not reach \"Материал инструмента\"";
        return press_key("menu", Qt::Key_Up);
    });
    session.step([] { return press_key_in("menu", "ITEM_3", Qt::Key_Up); });
    session.step([] { return press_key_in("menu", "ITEM_2", Qt::Key_Up); });
    session.step([] { return press_key_in("menu", "ITEM_1", Qt::Key_Up); });
    // Round from the top to the bottom; Enter on Cancel ends the menu, and starts no item.
    session.step([] { return press_key_in("menu", "CANCEL", Qt::Key_Return); });
    ASSERT_TRUE(session.run(plugin("korvane")));
}

bool enter_hint_on(const QString& window_name, const QString& widget_name) {
    auto* widget = child<QWidget>(window_named(window_name), widget_name);
    return widget != nullptr && widget->toolTip().contains("Enter");
}

TEST_F(OnX, EnterNeverEndsADialogThroughOKAndEscapeCancelsOrSaysNo) {
    session.step([] { return click_on("strakel.dlg", "BLO_ACT_0"); });
    session.step([] { return window_with_keyboard("strakeledit.dlg") != nullptr; });
    tab_to(session, "strakeledit.dlg", "MODE_CUTS_0");
    session.step([] { return press_key("strakeledit.dlg", Qt::Key_Return); });
    session.step([] {
        if (window_named("strakeledit.dlg") == nullptr) {
            ADD_FAILURE() << "Enter on a choice ended the record dialog";
            return true;
        }
        if (window_with_keyboard("strakeledit.dlg") == nullptr) return false;
        EXPECT_TRUE(enter_hint_on("strakeledit.dlg", "MODE_CUTS_0")) << "no hint on how to leave";
        return press_key("strakeledit.dlg", Qt::Key_Escape);
    });
    // Enter in the reference field ends the record dialog as Cancel does: the name typed is not kept.
    session.step([] { return window_named("strakeledit.dlg") == nullptr && click_on("strakel.dlg", "BLO_ACT_0"); });
    tab_to(session, "strakeledit.dlg", "WIDE_MAT");
    session.step([] { return type_keys("strakeledit.dlg", "Другое"); });
    tab_to(session, "strakeledit.dlg", "WIDE_NUM");
    session.step([] { return press_key("strakeledit.dlg", Qt::Key_Return); });
    session.step([] {
        if (window_named("strakeledit.dlg") != nullptr) return false;
        EXPECT_EQ(list_line("strakel.dlg", "LIST_CUTS", 0).rfind("OPD0_0001 | MILL  = Фрезерование черновое  = ", 0), 0u)
            << list_line("strakel.dlg", "LIST_CUTS", 0);
        return press_key("strakel.dlg", Qt::Key_Escape);
    });
    ASSERT_TRUE(session.run(plugin("strakel")));

    session.step([] { return click_on("ratomir.dlg", "BLO_ACT_0"); });
    tab_to(session, "ratomir.dlg", "PARTMAT");
    session.step([] { return press_key("ratomir.dlg", Qt::Key_Return); });
    session.step([] {
        if (window_named("ratomir.dlg") == nullptr) {
            ADD_FAILURE() << "Enter on an option list ended the dialog";
            return true;
        }
        if (window_with_keyboard("ratomir.dlg") == nullptr) return false;
        EXPECT_TRUE(enter_hint_on("ratomir.dlg", "PARTMAT")) << "no hint on how to leave";
        return click_on("ratomir.dlg", "BLO_ACTION_1");
    });
    // Escape in the save's question answers "Нет". The table has bare LF line ends,
    // which any save would turn into CR LF.
    std::string feeds = sample_bytes("feeds_speeds.dat");
    std::erase(feeds, '\r');
    library.write("feeds_speeds.dat", feeds);
    tab_to(session, "ratomir.dlg", "BLO_ACT_5");
    session.step([] { return press_key("ratomir.dlg", Qt::Key_Return); });
    session.step([] { return press_key("box", Qt::Key_Escape); });
    session.step([] { return press_key("ratomir.dlg", Qt::Key_Escape); });
    ASSERT_TRUE(session.run(plugin("ratomir")));
    EXPECT_EQ(library.read("cut_methods.dat"), sample_bytes("cut_methods.dat"));
    EXPECT_EQ(library.read("feeds_speeds.dat"), feeds);
}

TEST_F(OnX, TheArrowsPickAChoiceAndTheRecordDialogKeepsIt) {
    session.step([] { return click_on("strakel.dlg", "BLO_ACT_0"); });
    tab_to(session, "strakeledit.dlg", "MODE_CUTS_0");
    session.step([] { return press_key("strakeledit.dlg", Qt::Key_Down); });
    tab_to(session, "strakeledit.dlg", "OK");
    session.step([] { return press_key("strakeledit.dlg", Qt::Key_Return); });
    session.step([] {
        if (window_named("strakeledit.dlg") != nullptr) return false;
        EXPECT_EQ(list_line("strakel.dlg", "LIST_CUTS", 0).rfind("OPD0_0001 | DRILL  = ", 0), 0u)
            << list_line("strakel.dlg", "LIST_CUTS", 0);
        return press_key("strakel.dlg", Qt::Key_Escape);
    });
    // Left unsaved: "Выйти без сохранения?" answered "Да" with Tab and Enter.
    session.step([] { return press_key("box", Qt::Key_Tab) && press_key("box", Qt::Key_Return); });
    ASSERT_TRUE(session.run(plugin("strakel")));
    EXPECT_EQ(library.read("cut_methods.dat"), sample_bytes("cut_methods.dat"));
}

// ---- Tab order ----

QRect on_screen(const QWidget* widget) { return {widget->mapToGlobal(QPoint(0, 0)), widget->size()}; }

// Reading order: of two widgets, the one wholly above comes first; of two side by side, the left one.
bool reads_before(const QWidget* a, const QWidget* b) {
    const QRect first = on_screen(a);
    const QRect second = on_screen(b);
    if (first.bottom() < second.top()) return true;
    if (second.bottom() < first.top()) return false;
    return first.left() < second.left();
}

std::string names(const QList<QWidget*>& widgets) {
    QStringList named;
    for (const QWidget* widget : widgets) named << (widget == nullptr ? "<none>" : widget->objectName());
    return named.join(' ').toStdString();
}

// The widgets Tab goes through, once round, from the one at the top left.
QList<QWidget*> tab_round(const QString& window_name) {
    QList<QWidget*> round;
    for (int presses = 0; presses < 60; ++presses) {
        press_key(window_name, Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || round.contains(focus)) break;
        round.append(focus);
    }
    std::rotate(round.begin(), std::min_element(round.begin(), round.end(), reads_before), round.end());
    return round;
}

// Tab goes through the window's widgets in reading order and misses none that takes
// the keyboard (of a choice's radio buttons it stops at one, and the arrows go on).
bool tab_follows_reading_order(const QString& window_name) {
    QWidget* window = window_with_keyboard(window_name);
    if (window == nullptr) return false;
    const QList<QWidget*> round = tab_round(window_name);
    for (qsizetype i = 1; i < round.size(); ++i) {
        EXPECT_TRUE(reads_before(round[i - 1], round[i]))
            << window_name.toStdString() << ": Tab goes from " << names({round[i - 1]}) << " to " << names({round[i]})
            << "; all of it: " << names(round);
    }
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const bool takes_tab = (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
        if (takes_tab && widget->isVisible() && widget->isEnabled() && qobject_cast<QRadioButton*>(widget) == nullptr) {
            EXPECT_TRUE(round.contains(widget)) << window_name.toStdString() << ": Tab never reaches "
                                                << names({widget}) << "; it goes " << names(round);
        }
    }
    return true;
}

struct EditorDialogs {
    const char* plugin;
    QString main;
    QString record;  // empty: a row is edited in the main dialog
};

TEST_F(OnX, TabFollowsTheReadingOrderInEveryEditorsDialogs) {
    const EditorDialogs editors[] = {{"ratomir", "ratomir.dlg", ""},
                                     {"blankora", "blankora.dlg", ""},
                                     {"strakel", "strakel.dlg", "strakeledit.dlg"},
                                     {"gradivo", "gradivo.dlg", "gradivoedit.dlg"}};
    for (const EditorDialogs& editor : editors) {
        const QString main = editor.main;
        const QString record = editor.record;
        session.step([=] { return tab_follows_reading_order(main); });
        session.step([=] { return click_on(main, "BLO_ACT_0"); });
        if (record.isEmpty()) {
            session.step([=] { return tab_follows_reading_order(main); });  // the row's fields open
            session.step([=] { return click_on(main, "BLO_ACTION_1"); });
        } else {
            session.step([=] { return tab_follows_reading_order(record); });
            session.step([=] { return click_on(record, "CANCEL"); });
        }
        session.step([=] { return (record.isEmpty() || window_named(record) == nullptr) && click_on(main, "CANCEL"); });
        ASSERT_TRUE(session.run(plugin(editor.plugin))) << editor.plugin;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    ScratchDirectory scratch;
    keep_settings_in(scratch);
    XServer x_server(screen_width, screen_height);
    if (!x_server.running()) {
        std::fprintf(stderr, "gui_x_display_test: no X server to run on: %s\n", x_server.failure().c_str());
        return 1;
    }
    setenv("DISPLAY", x_server.display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // No desktop's look from the environment either (a desktop's theme orders and
    // styles the dialog buttons its own way): the same windows, and pictures, on
    // every machine. GUI_TEST_DESKTOP names one to run under on purpose.
    for (const char* desktop : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE"}) {
        unsetenv(desktop);
    }
    if (const char* desktop = std::getenv("GUI_TEST_DESKTOP")) setenv("XDG_CURRENT_DESKTOP", desktop, 1);
    QApplication application(argc, argv);
    QApplication::setOrganizationName("cutting-data-library-test");
    QApplication::setApplicationName("gui_x_display_test");
    if (!ughost::install_russian_qt_translations(application, ughost::qt_translations_folder())) return 2;
    return RUN_ALL_TESTS();
}
