// The desktop front-end, with Qt's offscreen platform: the real widgets are
// clicked and typed into while the real plug-ins run inside the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QClipboard>
#include <QPushButton>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <deque>
#include <functional>

#include "dialog_window.h"
#include "gui_session.h"
#include "listing_window.h"
#include "menus.h"
#include "message_text.h"
#include "qt_translations.h"
#include "window_sizes.h"
#include "small_library.h"
#include "test_text.h"

namespace {

std::string list_line(const QString& dialog, const QString& list, int row);

class Gui : public ::testing::Test {
protected:
    void SetUp() override {
        write_small_library(library);
        setenv("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", library.with_separator().c_str(), 1);
        QSettings().clear();  // each test's windows open at their own size
    }
    ScratchDirectory library;
    Session session;
};

TEST_F(Gui, RatomirEditsARowAndSavesIt) {
    session.step([] { return select_row(window_named("ratomir.dlg"), "LIST", 1); });
    session.step([] {
        auto* libref = child<QLineEdit>(window_named("ratomir.dlg"), "LIBREF");
        return libref != nullptr && libref->text() == "FSDO_0002";
    });
    session.step([] { return click(window_named("ratomir.dlg"), "BLO_ACT_0"); });
    session.step([] { return type_into(window_named("ratomir.dlg"), "FEED_MMPT", "0,07"); });
    session.step([] { return click(window_named("ratomir.dlg"), "BLO_ACTION_0"); });
    session.step([] { return click(window_named("ratomir.dlg"), "BLO_ACT_5"); });
    session.step([] { return answer_box(QMessageBox::Yes); });
    session.step([] { return answer_box(QMessageBox::Ok); });
    session.step([] {
        EXPECT_EQ(list_line("ratomir.dlg", "LIST", 1), "FSDO_0002  =  1.000  i1=  1.00  i2=  2.00 =  80.000  =  0.070 ");
        EXPECT_EQ(child<QListView>(window_named("ratomir.dlg"), "LIST")->currentIndex().row(), 1);
        return click(window_named("ratomir.dlg"), "OK");
    });
    ASSERT_TRUE(session.run(plugin("ratomir")));
    EXPECT_NE(library.read("feeds_speeds.dat").find("|FSDO_0002|OPD0_0002|MAT0_0002|TMC0_0002|0.039|1.000|1.00|2.00|"
                                                    "262.467|80.000|0.003|0.070\r\n"),
              std::string::npos);
}

TEST_F(Gui, TheKeyboardWorksAsPeopleExpect) {
    // Enter in a field activates it (not the OK button); Escape cancels the dialog.
    session.step([] { return click(window_named("blankora.dlg"), "BLO_ACT_0"); });
    session.step([] {
        QWidget* dialog = window_named("blankora.dlg");
        auto* code = child<QLineEdit>(dialog, "MATCODE");
        if (code == nullptr || !code->isEnabled()) return false;
        code->setFocus();
        QTest::keyClick(code, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(dialog, "MATNAME"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        return true;
    });
    session.step([] {
        QWidget* dialog = window_named("blankora.dlg");
        EXPECT_NE(dialog, nullptr) << "Enter in a field closed the dialog";
        return click(dialog, "BLO_ACTION_1");
    });
    session.step([] {
        QWidget* dialog = window_named("blankora.dlg");
        if (dialog == nullptr) return false;
        QTest::keyClick(dialog, Qt::Key_Escape);
        return true;
    });
    ASSERT_TRUE(session.run(plugin("blankora")));
    EXPECT_EQ(window_named("blankora.dlg"), nullptr);
}

TEST_F(Gui, TextTheCodePageCannotHoldIsRefusedWithAMessage) {
    session.step([] { return click(window_named("blankora.dlg"), "BLO_ACT_0"); });
    session.step([] { return type_into(window_named("blankora.dlg"), "MATNAME", "Сталь 中"); });
    session.step([] { return click(window_named("blankora.dlg"), "BLO_ACTION_0"); });
    session.step([] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return false;
        EXPECT_NE(box->text().indexOf("1251"), -1) << box->text().toStdString();
        return answer_box(QMessageBox::Ok);
    });
    session.step([] {
        // The apply went with the refused text: the row is still being edited.
        auto* name = child<QLineEdit>(window_named("blankora.dlg"), "MATNAME");
        if (name == nullptr || !name->isEnabled()) return false;
        EXPECT_EQ(name->text().toStdString(), "Сталь 45");
        return click(window_named("blankora.dlg"), "BLO_ACTION_1");
    });
    session.step([] { return click(window_named("blankora.dlg"), "OK"); });
    ASSERT_TRUE(session.run(plugin("blankora")));
    EXPECT_NE(library.read("part_materials.dat").find(cp1251("|Сталь 45|")), std::string::npos);
}

// A refused value cancels the action it went with; nothing of it is stored
// until the user has put it right and acts again.
TEST_F(Gui, ARefusedValueCancelsTheApplyItWasTypedFor) {
    session.step([] { return select_row(window_named("ratomir.dlg"), "LIST", 1); });
    session.step([] { return click(window_named("ratomir.dlg"), "BLO_ACT_0"); });
    session.step([] {
        QWidget* dialog = window_named("ratomir.dlg");
        return type_into(dialog, "DPT_CUT_MM", "abc") && type_into(dialog, "SURF_SPEED_MPM", "95") &&
               click(dialog, "BLO_ACTION_0");
    });
    session.step([] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return false;
        EXPECT_EQ(box->text().toStdString(), "«abc» — не число.");
        return answer_box(QMessageBox::Ok);
    });
    session.step([] {
        QWidget* dialog = window_named("ratomir.dlg");
        auto* depth = child<QLineEdit>(dialog, "DPT_CUT_MM");
        if (depth == nullptr || depth->text() != "1") return false;
        EXPECT_TRUE(depth->isEnabled());
        EXPECT_EQ(child<QLineEdit>(dialog, "SURF_SPEED_MPM")->text().toStdString(), "95");
        EXPECT_EQ(list_line("ratomir.dlg", "LIST", 1), "FSDO_0002  =  1.000  i1=  1.00  i2=  2.00 =  80.000  =  0.050 ");
        return type_into(dialog, "DPT_CUT_MM", "1,5") && click(dialog, "BLO_ACTION_0");
    });
    session.step([] {
        if (list_line("ratomir.dlg", "LIST", 1) == "FSDO_0002  =  1.000  i1=  1.00  i2=  2.00 =  80.000  =  0.050 ") {
            return false;
        }
        EXPECT_EQ(list_line("ratomir.dlg", "LIST", 1), "FSDO_0002  =  1.500  i1=  1.00  i2=  2.00 =  95.000  =  0.050 ");
        return click(window_named("ratomir.dlg"), "OK");
    });
    // The row was applied but not saved: leaving asks first.
    session.step([] { return answer_box(QMessageBox::Yes); });
    ASSERT_TRUE(session.run(plugin("ratomir")));
}

TEST_F(Gui, TheCalculatorsMenusTakeTheUsersNumbers) {
    session.step([] { return click(window_named("ratomir.dlg"), "CALC"); });
    session.step([] { return click(window_named("menu"), "ITEM_2"); });
    session.step([] {
        QWidget* numbers = window_named("numbers");
        return type_into(numbers, "VALUE_1", "1200") && type_into(numbers, "VALUE_2", "4") &&
               type_into(numbers, "VALUE_3", "1000") && click(numbers, "OK");
    });
    session.step([] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return false;
        EXPECT_EQ(box->text().toStdString(), "Подача на зуб = 0.300 (мм/зуб)");
        return answer_box(QMessageBox::Ok);
    });
    session.step([] {
        EXPECT_EQ(child<QLineEdit>(window_named("ratomir.dlg"), "FEED_MMPT")->text().toStdString(), "0.3");
        return click(window_named("ratomir.dlg"), "BLO_ACT_3");
    });
    session.step([this] {
        EXPECT_NE(session.window().listing()->toPlainText().indexOf("Библиотека Скоростей и Подач."), -1);
        return click(window_named("ratomir.dlg"), "CANCEL");
    });
    ASSERT_TRUE(session.run(plugin("ratomir")));
}

std::string list_line(const QString& dialog, const QString& list, int row) {
    auto* widget = child<QListView>(window_named(dialog), list);
    if (widget == nullptr || row >= widget->model()->rowCount()) return "<no line>";
    return widget->model()->index(row, 0).data().toString().toStdString();
}

TEST_F(Gui, BlankoraEditsAMaterialAndSavesIt) {
    session.step([] { return select_row(window_named("blankora.dlg"), "LIST", 1); });
    session.step([] { return click(window_named("blankora.dlg"), "BLO_ACT_0"); });
    session.step([] { return type_into(window_named("blankora.dlg"), "HARDNESS", "HB 120"); });
    session.step([] { return click(window_named("blankora.dlg"), "BLO_ACTION_0"); });
    session.step([] {
        EXPECT_EQ(list_line("blankora.dlg", "LIST", 1), "D16T  =  Д16Т  =  HB 120  =  Алюминиевый сплав");
        return true;
    });
    save_and_close(session, "blankora.dlg");
    ASSERT_TRUE(session.run(plugin("blankora")));
    EXPECT_NE(library.read("part_materials.dat").find(cp1251("DATA|D16T|Д16Т|Алюминиевый сплав|HB 120|MAT0_0002\r\n")),
              std::string::npos);
}

TEST_F(Gui, StrakelChangesACutMethodInItsRecordDialog) {
    session.step([] { return select_row(window_named("strakel.dlg"), "LIST_CUTS", 1); });
    session.step([] { return click(window_named("strakel.dlg"), "BLO_ACT_0"); });
    session.step([] {
        QWidget* record = window_named("strakeledit.dlg");
        return record != nullptr && click(record, "MODE_CUTS_2") && type_into(record, "WIDE_MAT", "Сверление глубокое") &&
               click(record, "OK");
    });
    session.step([] {
        if (window_named("strakeledit.dlg") != nullptr) return false;
        EXPECT_EQ(list_line("strakel.dlg", "LIST_CUTS", 1), "opd0_0002 | LATHE  = Сверление глубокое  = Сверление отверстий");
        return true;
    });
    save_and_close(session, "strakel.dlg");
    ASSERT_TRUE(session.run(plugin("strakel")));
    EXPECT_NE(library.read("cut_methods.dat").find(cp1251("DATA|opd0_0002|LATHE|Сверление глубокое|Сверление отверстий\r\n")),
              std::string::npos);
}

TEST_F(Gui, GradivoAddsAToolMaterialInItsRecordDialog) {
    session.step([] { return click(window_named("gradivo.dlg"), "BLO_ACT_2"); });
    session.step([] {
        QWidget* record = window_named("gradivoedit.dlg");
        return record != nullptr && type_into(record, "WIDE_MAT", "ВК8") &&
               type_into(record, "WIDE_DISCRIPTION", "Твердый сплав для чугуна") && click(record, "OK");
    });
    session.step([] {
        if (window_named("gradivoedit.dlg") != nullptr) return false;
        auto* list = child<QListView>(window_named("gradivo.dlg"), "LIST_TOOL_MATERIAL");
        EXPECT_EQ(list->model()->rowCount(), 3);
        EXPECT_EQ(list->currentIndex().row(), 2);
        EXPECT_EQ(list_line("gradivo.dlg", "LIST_TOOL_MATERIAL", 2).rfind("ВК8  = Твердый сплав для чугуна", 0), 0u);
        return true;
    });
    save_and_close(session, "gradivo.dlg");
    ASSERT_TRUE(session.run(plugin("gradivo")));
    EXPECT_NE(library.read("tool_materials.dat").find(cp1251("|ВК8|Твердый сплав для чугуна\r\n")), std::string::npos);
}

TEST_F(Gui, TheLaunchersMenuStartsAnEditorAndComesBack) {
    library.copy_sample("tool_database.dat");
    setenv("UGII_CAM_LIBRARY_TOOL_METRIC_DIR", library.with_separator().c_str(), 1);
    setenv("UGII_USER_DIR", std::filesystem::path(APPLICATION_DIR).parent_path().c_str(), 1);
    session.step([] { return click(window_named("menu"), "ITEM_4"); });
    session.step([] { return select_row(window_named("gradivo.dlg"), "LIST_TOOL_MATERIAL", 1); });
    session.step([] { return click(window_named("gradivo.dlg"), "OK"); });
    session.step([] {
        // The menu is back once the editor has been unloaded.
        if (window_named("gradivo.dlg") != nullptr) return false;
        return click(window_named("menu"), "BACK");
    });
    ASSERT_TRUE(session.run(plugin("korvane")));
    unsetenv("UGII_USER_DIR");
    unsetenv("UGII_CAM_LIBRARY_TOOL_METRIC_DIR");
}

// A click through the window system, as a user's mouse gives it: a window a modal
// dialog blocks never gets it.
void click_through_window_system(QWidget* widget, QPoint at) {
    QWidget* top = widget->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, at));
}

TEST_F(Gui, TheListingCanBeScrolledAndCopiedWhileAnEditorIsOpen) {
    session.step([] { return click(window_named("ratomir.dlg"), "BLO_ACT_3"); });
    session.step([this] {
        ughost::ListingWindow* listing = session.window().listing_window();
        QPlainTextEdit* text = listing->text();
        if (!listing->isVisible() || text->toPlainText().indexOf("FSDO_0004") < 0) return false;
        EXPECT_NE(window_named("ratomir.dlg"), nullptr);
        listing->resize(420, 160);
        QApplication::processEvents();
        QScrollBar* bar = text->verticalScrollBar();
        EXPECT_GT(bar->maximum(), 0) << "nothing to scroll";
        bar->setValue(bar->maximum());
        // A click in the groove above the handle pages up.
        click_through_window_system(bar, QPoint(bar->width() / 2, 2));
        EXPECT_LT(bar->value(), bar->maximum()) << "the listing could not be scrolled";
        QApplication::clipboard()->clear();
        click_through_window_system(listing->findChild<QPushButton*>("copy"),
                                    listing->findChild<QPushButton*>("copy")->rect().center());
        EXPECT_EQ(QApplication::clipboard()->text(), text->toPlainText()) << "the listing could not be copied";
        return click(window_named("ratomir.dlg"), "CANCEL");
    });
    ASSERT_TRUE(session.run(plugin("ratomir")));
}

// The field with the keyboard, in the window, with all its text selected so typing replaces it.
std::string selected_field(QWidget* window) {
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (field == nullptr || field->window() != window) return "<no field has the keyboard>";
    if (field->selectedText() != field->text()) return field->objectName().toStdString() + " <not selected>";
    return field->objectName().toStdString();
}

TEST_F(Gui, TypingGoesIntoTheFieldTheWorkStartsInAndReplacesIt) {
    // Edit: the plug-in gives no field the keyboard; the first editable one gets it.
    session.step([] { return select_row(window_named("ratomir.dlg"), "LIST", 1); });
    session.step([] { return click(window_named("ratomir.dlg"), "BLO_ACT_0"); });
    session.step([] {
        QWidget* dialog = window_named("ratomir.dlg");
        if (!host_took_all(dialog) || !child<QLineEdit>(dialog, "LIBREF")->isEnabled()) return false;
        EXPECT_EQ(selected_field(dialog), "LIBREF");
        return click(dialog, "BLO_ACTION_1");
    });
    // New: the plug-in gives the depth the keyboard, with its text selected.
    session.step([] { return host_took_all(window_named("ratomir.dlg")) && click(window_named("ratomir.dlg"), "BLO_ACT_1"); });
    session.step([] {
        QWidget* dialog = window_named("ratomir.dlg");
        if (!host_took_all(dialog) || !child<QLineEdit>(dialog, "DPT_CUT_MM")->isEnabled()) return false;
        EXPECT_EQ(selected_field(dialog), "DPT_CUT_MM");
        return click(dialog, "BLO_ACTION_1");
    });
    // The calculator: typing replaces the 0 of the first number.
    session.step([] { return host_took_all(window_named("ratomir.dlg")) && click(window_named("ratomir.dlg"), "CALC"); });
    session.step([] { return click(window_named("menu"), "ITEM_2"); });
    session.step([] {
        QWidget* numbers = window_named("numbers");
        // The keyboard reaches a window once it is active, which follows its showing.
        if (numbers == nullptr || !numbers->isActiveWindow()) return false;
        EXPECT_EQ(selected_field(numbers), "VALUE_1");
        return click(numbers, "CANCEL");
    });
    session.step([] { return host_took_all(window_named("ratomir.dlg")) && click(window_named("ratomir.dlg"), "CANCEL"); });
    ASSERT_TRUE(session.run(plugin("ratomir")));
}

// The quick guide's hold menu is there so the user can read the guide: it must not block it.
TEST_F(Gui, TheQuickGuideCanBeReadWhileItsHoldMenuIsUp) {
    library.copy_sample("tool_database.dat");
    setenv("UGII_CAM_LIBRARY_TOOL_METRIC_DIR", library.with_separator().c_str(), 1);
    setenv("UGII_USER_DIR", std::filesystem::path(APPLICATION_DIR).parent_path().c_str(), 1);
    session.step([] { return click(window_named("menu"), "ITEM_8"); });
    session.step([this] {
        QWidget* hold = window_named("menu");
        ughost::ListingWindow* listing = session.window().listing_window();
        if (hold == nullptr || hold->findChild<QPushButton*>("ITEM_8") != nullptr) return false;
        EXPECT_TRUE(listing->isVisible());
        QApplication::clipboard()->clear();
        auto* copy = listing->findChild<QPushButton*>("copy");
        click_through_window_system(copy, copy->rect().center());
        EXPECT_NE(QApplication::clipboard()->text().indexOf("Загрузочный модуль библиотеки"), -1)
            << "the guide could not be copied while its hold menu was up";
        return click(hold, "ITEM_1");
    });
    session.step([] {
        QWidget* menu = window_named("menu");
        if (menu == nullptr || menu->findChild<QPushButton*>("ITEM_8") == nullptr) return false;
        return click(menu, "BACK");
    });
    ASSERT_TRUE(session.run(plugin("korvane")));
    unsetenv("UGII_USER_DIR");
    unsetenv("UGII_CAM_LIBRARY_TOOL_METRIC_DIR");
}

TEST_F(Gui, EnterOnAListLineActivatesThatLineAndNeverEndsTheDialog) {
    session.step([] { return select_row(window_named("ratomir.dlg"), "LIST", 1); });
    session.step([] {
        QWidget* dialog = window_named("ratomir.dlg");
        auto* libref = child<QLineEdit>(dialog, "LIBREF");
        if (libref == nullptr || libref->text() != "FSDO_0002" || !host_took_all(dialog)) return false;
        // The line under the cursor moves without telling the plug-in; Enter activates it.
        auto* list = child<QListView>(dialog, "LIST");
        const QSignalBlocker quiet(list->selectionModel());
        list->setCurrentIndex(list->model()->index(2, 0));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        return true;
    });
    session.step([] {
        QWidget* dialog = window_named("ratomir.dlg");
        EXPECT_NE(dialog, nullptr) << "Enter in the list ended the dialog";
        if (dialog == nullptr) return true;
        if (!host_took_all(dialog)) return false;
        EXPECT_EQ(child<QLineEdit>(dialog, "LIBREF")->text().toStdString(), "FSDO_0003");
        return click(dialog, "CANCEL");
    });
    ASSERT_TRUE(session.run(plugin("ratomir")));
}

// In the cut method's record dialog the reference field's Enter ends the dialog,
// as Cancel does; Enter in the other fields leaves it open and says how to leave.
TEST_F(Gui, EnterInARecordFieldEndsTheDialogOnlyWhereThePluginEndsIt) {
    session.step([] { return select_row(window_named("strakel.dlg"), "LIST_CUTS", 1); });
    session.step([] { return click(window_named("strakel.dlg"), "BLO_ACT_0"); });
    session.step([] {
        QWidget* record = window_named("strakeledit.dlg");
        if (record == nullptr || !type_into(record, "WIDE_MAT", "Другое")) return false;
        QTest::keyClick(child<QLineEdit>(record, "WIDE_MAT"), Qt::Key_Return);
        return true;
    });
    session.step([] {
        QWidget* record = window_named("strakeledit.dlg");
        EXPECT_NE(record, nullptr) << "Enter in the name field ended the record dialog";
        if (record == nullptr) return true;
        if (!host_took_all(record)) return false;
        auto* name = child<QLineEdit>(record, "WIDE_MAT");
        EXPECT_NE(name->toolTip().indexOf("Enter"), -1) << "no hint on a field whose Enter does nothing";
        EXPECT_EQ(child<QLineEdit>(record, "WIDE_NUM")->toolTip(), "");
        QTest::keyClick(child<QLineEdit>(record, "WIDE_NUM"), Qt::Key_Return);
        return true;
    });
    session.step([] {
        if (window_named("strakeledit.dlg") != nullptr) return false;
        EXPECT_EQ(list_line("strakel.dlg", "LIST_CUTS", 1), "opd0_0002 | DRILL  = Сверление  = Сверление отверстий");
        return click(window_named("strakel.dlg"), "CANCEL");
    });
    ASSERT_TRUE(session.run(plugin("strakel")));
}

// ---- Qt's own texts, message layout, the View menu, small windows ----

TEST(QtTranslations, QtsOwnMenusSpeakRussianAndAMissingFolderLeavesThemAlone) {
    ScratchDirectory empty;
    EXPECT_FALSE(ughost::install_russian_qt_translations(*qApp, QString::fromStdString(empty.path())));
    QLineEdit field;
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions()) texts << action->text();
    EXPECT_TRUE(texts.join('|').contains(QString::fromUtf8("Копировать"))) << texts.join('|').toStdString();
    EXPECT_FALSE(texts.contains("&Copy")) << texts.join('|').toStdString();
}

// How many lines the box's label shows its text in.
int shown_lines(QMessageBox& box) {
    box.show();
    QApplication::processEvents();
    auto* label = box.findChild<QLabel*>("qt_msgbox_label");
    return label->height() / label->fontMetrics().lineSpacing();
}

TEST(MessageLayout, ColumnsAreShownInAFixedWidthFontAndNoLineIsBroken) {
    const QString report = QString::fromUtf8(
        "\t\t r w\ntool_database.dat    +  - \ncut_methods.dat    +  + \n\n r - режим чтения (наличия) \n w - записи "
        "(наличия) \n обратитесь к системному администратору.");
    EXPECT_TRUE(ughost::laid_out_in_columns(report));
    QMessageBox columns(QMessageBox::Critical, "Проверка", report);
    ughost::show_text_as_laid_out(columns);
    EXPECT_TRUE(QFontInfo(columns.findChild<QLabel*>("qt_msgbox_label")->font()).fixedPitch());
    EXPECT_EQ(columns.text(), report);
    EXPECT_LE(shown_lines(columns), 7);

    const QString question = QString::fromUtf8(
        "Файл feeds_speeds.dat изменён другим пользователем после загрузки; его изменения будут потеряны. "
        "Записать Базу?");
    EXPECT_FALSE(ughost::laid_out_in_columns(question));
    QMessageBox prose(QMessageBox::Question, "Запись Базы", question);
    ughost::show_text_as_laid_out(prose);
    EXPECT_FALSE(QFontInfo(prose.findChild<QLabel*>("qt_msgbox_label")->font()).fixedPitch());
    EXPECT_EQ(shown_lines(prose), 1) << "the question was wrapped";
}

QAction* view_action(ughost::HostWindow& window, const QString& name) {
    auto* menu = window.menuBar()->findChild<QMenu*>("view_menu");
    return menu == nullptr ? nullptr : menu->findChild<QAction*>(name);
}

TEST_F(Gui, TheViewMenuBringsBackTheLogAndTheListingOnceClosed) {
    ughost::HostWindow& window = session.window();
    QAction* log = view_action(window, "view_log");
    QAction* listing = view_action(window, "view_listing");
    ASSERT_NE(log, nullptr);
    ASSERT_NE(listing, nullptr);
    auto* log_panel = window.findChild<QPlainTextEdit*>("log");
    log->trigger();
    EXPECT_FALSE(log_panel->isVisible());
    log->trigger();
    EXPECT_TRUE(log_panel->isVisible());

    window.show_listing();
    EXPECT_TRUE(listing->isChecked());
    window.listing_window()->close();  // the user closes it with its frame's button
    EXPECT_FALSE(listing->isChecked());
    listing->trigger();
    EXPECT_TRUE(window.listing_window()->isVisible());
    listing->trigger();
    EXPECT_FALSE(window.listing_window()->isVisible());
}

TEST(SmallWindows, AMenuIsWideEnoughForItsTitle) {
    const std::string title = "Режимы резания: подачи, шпинд. — выбор таблицы для просмотра и правки";
    int width = 0;
    int title_width = 0;
    ughost::run_choice_menu(nullptr, title, 1, {"Да"}, [&](QDialog& menu) {
        width = menu.width();
        title_width = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(menu.windowTitle());
        menu.reject();
    });
    EXPECT_GT(width, title_width);
}

// ---- Window sizes ----

// The whole window, its frame included, lies on the free area of its screen.
void expect_on_screen(QWidget* window) {
    const QRect free = window->screen()->availableGeometry();
    EXPECT_LE(free.width(), 1366);
    EXPECT_LE(free.height(), 768);
    EXPECT_TRUE(free.contains(window->frameGeometry())) << window->objectName().toStdString() << " does not fit";
}

TEST_F(Gui, TheFeedsEditorFitsALaptopScreenWithOKAndCancelInSight) {
    session.step([] {
        QWidget* dialog = window_named("ratomir.dlg");
        if (dialog == nullptr) return false;
        expect_on_screen(dialog);
        for (const char* name : {"OK", "CANCEL"}) {
            auto* button = child<QPushButton>(dialog, name);
            EXPECT_TRUE(dialog->rect().contains(QRect(button->mapTo(dialog, QPoint(0, 0)), button->size()))) << name;
        }
        // What the screen has no room for scrolls inside the dialog.
        EXPECT_GT(child<QScrollArea>(dialog, "items")->verticalScrollBar()->maximum(), 0);
        return click(dialog, "CANCEL");
    });
    ASSERT_TRUE(session.run(plugin("ratomir")));
}

TEST_F(Gui, ARecordDialogOpensWideEnoughForItsLongestValue) {
    // The longest description the table holds: 132 characters.
    const std::string description =
        QString::fromUtf8("Черновая обработка плоскостей и уступов торцевой фрезой со сменными пластинами, "
                          "глубина до 5 мм, с охлаждением эмульсией, без удара.")
            .left(132)
            .toStdString();
    library.write("cut_methods.dat", cp1251("DATA|OPD0_0001|MILL|Фрезерование черновое|" + description + "\r\n"));
    session.step([] { return select_row(window_named("strakel.dlg"), "LIST_CUTS", 0); });
    session.step([] { return click(window_named("strakel.dlg"), "BLO_ACT_0"); });
    session.step([&description] {
        QWidget* record = window_named("strakeledit.dlg");
        if (record == nullptr) return false;
        QApplication::processEvents();
        auto* field = child<QLineEdit>(record, "WIDE_DISCRIPTION");
        EXPECT_EQ(field->text().toStdString(), description);
        EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance(field->text())) << "the value is cut off";
        expect_on_screen(record);
        return click(record, "CANCEL");
    });
    session.step([] { return window_named("strakeledit.dlg") == nullptr && click(window_named("strakel.dlg"), "CANCEL"); });
    ASSERT_TRUE(session.run(plugin("strakel")));
}

TEST_F(Gui, ADialogOpensWhereAndAsLargeAsTheUserLeftIt) {
    ASSERT_TRUE(QSettings().fileName().startsWith(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"))))
        << "the test would touch the user's own settings: " << QSettings().fileName().toStdString();
    const QRect left_at(40, 60, 700, 520);
    session.step([&] {
        QWidget* dialog = window_named("blankora.dlg");
        if (dialog == nullptr) return false;
        dialog->setGeometry(left_at);
        return click(dialog, "CANCEL");
    });
    ASSERT_TRUE(session.run(plugin("blankora")));
    QRect reopened_at;
    session.step([&] {
        QWidget* dialog = window_named("blankora.dlg");
        if (dialog == nullptr) return false;
        reopened_at = dialog->geometry();
        return click(dialog, "CANCEL");
    });
    ASSERT_TRUE(session.run(plugin("blankora")));
    EXPECT_EQ(reopened_at, left_at);
}

TEST(WindowSizes, AWindowRememberedLargerThanTheScreenIsFittedOnIt) {
    QSettings().clear();
    QWidget window;
    window.setGeometry(900, 500, 3000, 2000);
    ughost::remember_window(window, "too_large");
    QWidget reopened;
    ughost::place_window(reopened, "too_large", QSize(300, 200));
    reopened.show();
    expect_on_screen(&reopened);
    QWidget fresh;
    ughost::place_window(fresh, "never_seen", QSize(300, 200));
    EXPECT_EQ(fresh.size(), QSize(300, 200));
}

}  // namespace

int main(int argc, char** argv) {
    // A laptop's screen, 1366 by 768, which every window must fit; and settings
    // of the test's own, never the user's.
    ScratchDirectory scratch;
    use_offscreen_screen(scratch, 1366, 768);
    keep_settings_in(scratch);
    QApplication application(argc, argv);
    QApplication::setOrganizationName("cutting-data-library-test");
    QApplication::setApplicationName("gui_test");
    // As ughost-gui does at start.
    if (!ughost::install_russian_qt_translations(application, ughost::qt_translations_folder())) return 2;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
