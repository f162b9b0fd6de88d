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
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <deque>
#include <functional>

#include "gui_session.h"
#include "small_library.h"
#include "test_text.h"

namespace {

std::string list_line(const QString& dialog, const QString& list, int row);

class Gui : public ::testing::Test {
protected:
    void SetUp() override {
        write_small_library(library);
        setenv("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", library.with_separator().c_str(), 1);
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

// Save, confirmed, then the dialog closed.
void save_and_close(Session& session, const QString& dialog) {
    session.step([dialog] { return click(window_named(dialog), "BLO_ACT_5"); });
    session.step([] { return answer_box(QMessageBox::Yes); });
    session.step([] { return answer_box(QMessageBox::Ok); });
    session.step([dialog] { return click(window_named(dialog), "OK"); });
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

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
