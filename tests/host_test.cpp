// The host's own pieces: code page conversion, dialog files, scripts, the dialog model.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "dialog.h"
#include "dialog_file.h"
#include "host_text.h"
#include "script.h"

namespace {

using namespace ughost;

TEST(CodePage, EveryByteSurvivesTheWayToTheScreenAndBack) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        const auto back = utf8_to_cp1251(cp1251_to_utf8(text));
        ASSERT_TRUE(back.has_value()) << "byte " << byte;
        EXPECT_EQ(*back, text) << "byte " << byte;
    }
    EXPECT_EQ(cp1251_to_utf8("\xC0\xE1\xE2 \xA8\xB8 \xB9"), "Абв Ёё №");
    EXPECT_EQ(cp1251_to_utf8("\x98"), "\xEF\x9E\x98");  // the unassigned byte, as U+F798
}

// ASCII is taken a word at a time: a letter anywhere in a long line, or right
// at a word's edge, converts as it does alone.
TEST(CodePage, LettersAnywhereInALongLineConvertAsTheyDoAlone) {
    const auto byte_by_byte = [](const std::string& text) {
        std::string utf8;
        for (const char c : text) utf8 += cp1251_to_utf8(std::string(1, c));
        return utf8;
    };
    std::string reused(100, 'x');
    for (std::size_t length = 0; length <= 34; ++length) {
        for (std::size_t at = 0; at <= length; ++at) {
            for (const char letter : {'\xC0', '\x98', '\xFF', '\x80'}) {
                std::string text(length, 'a');
                for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('a' + i % 26);
                if (at < length) text[at] = letter;
                if (at + 9 < length) text[at + 9] = '\xB8';
                EXPECT_EQ(cp1251_to_utf8(text), byte_by_byte(text)) << "length " << length << ", letter at " << at;
                // Into storage that held a longer line: nothing of it stays.
                cp1251_to_utf8(text, reused);
                EXPECT_EQ(reused, byte_by_byte(text));
            }
        }
    }
}

TEST(CodePage, InputItCannotHoldIsRefused) {
    EXPECT_FALSE(utf8_to_cp1251("Сталь 中").has_value());
    EXPECT_FALSE(utf8_to_cp1251("\xD0").has_value());          // cut sequence
    EXPECT_FALSE(utf8_to_cp1251("\xFF\xFE").has_value());      // not UTF-8
    EXPECT_FALSE(utf8_to_cp1251("\xEF\x9E\x99").has_value());  // U+F799: a private character of no byte
    EXPECT_FALSE(utf8_to_cp1251("\xEF\x9F\x80").has_value());  // U+F7C0: 0xC0 has a character of its own
    EXPECT_EQ(utf8_to_cp1251("€ ±").value_or("?"), "\x88 \xB1");
}

struct BadDialog {
    const char* text;
    int line;
    const char* message;
};

TEST(DialogFileReader, NamesTheLineAndTheFault) {
    const BadDialog cases[] = {
        {"list LIST \"Rows\"\n", 1, "the 'dialog' line must come first"},
        {"", 0, "no 'dialog' line"},
        {"dialog \"T\"\ndialog \"U\"\n", 2, "a second 'dialog' line"},
        {"dialog \"T\"\nlist LIST \"a\"\ntext LIST \"b\"\n", 3, "item 'LIST' is defined twice"},
        {"dialog \"T\"\ntext NAME \"unterminated\n", 2, "unterminated quoted text"},
        {"dialog \"T\"\nbuttons BLO \"Commands\"\n", 2, "'BLO' needs its labels"},
        {"dialog \"T\"\ntext NAME \"Name\" \"extra\"\n", 2, "'NAME' takes one label"},
        {"dialog \"T\"\nend\n", 2, "'end' without a container"},
        {"dialog \"T\"\ncontainer BOX \"Box\"\n", 2, "container 'BOX' has no 'end'"},
        {"dialog \"T\"\nreal DEPTH \"Depth\" greyed\n", 2, "unknown word 'greyed'"},
        {"dialog \"T\"\nreal DEP-TH \"Depth\"\n", 2, "bad item identifier 'DEP-TH'"},
        {"dialog \"T\"\nslider S \"S\"\n", 2, "unknown item kind 'slider'"},
    };
    for (const auto& bad : cases) {
        DialogDefinition definition;
        DialogFileError error;
        EXPECT_FALSE(parse_dialog_file(bad.text, definition, error)) << bad.text;
        EXPECT_EQ(error.line, bad.line) << bad.text;
        EXPECT_EQ(error.message, bad.message) << bad.text;
    }
}

const char* const editor_dialog =
    "# a comment\n"
    "dialog \"Режимы\"\n"
    "list LIST \"Записи\"\n"
    "buttons BLO_ACT \"Команды\" \"Править\" \"Новая\" \"Удалить\"\n"
    "container SW_EDIT \"Запись\" insensitive\n"
    "  text LIBREF \"Ссылка\"\n"
    "  real DEPTH \"Глубина, мм\"   # trailing comment\n"
    "  choice MODE \"Режим\" \"MILL\" \"DRILL\" \"LATHE\"\n"
    "end\n"
    "option PICK \"Выбор\"\n";

TEST(DialogFileReader, ReadsItemsWithTheirContainers) {
    DialogDefinition definition;
    DialogFileError error;
    ASSERT_TRUE(parse_dialog_file(editor_dialog, definition, error)) << error.line << ": " << error.message;
    EXPECT_EQ(definition.title, "Режимы");
    ASSERT_EQ(definition.items.size(), 7u);
    EXPECT_EQ(definition.items[1].labels, (std::vector<std::string>{"Править", "Новая", "Удалить"}));
    EXPECT_FALSE(definition.items[2].sensitive);
    EXPECT_EQ(definition.items[3].container, "SW_EDIT");
    EXPECT_EQ(definition.items[5].labels.size(), 3u);
    EXPECT_EQ(definition.items[6].container, "");
}

class DialogModel : public ::testing::Test {
protected:
    void SetUp() override {
        DialogDefinition definition;
        DialogFileError error;
        ASSERT_TRUE(parse_dialog_file(editor_dialog, definition, error));
        dialog = std::make_unique<Dialog>(1, "test.dlg", std::move(definition), [this](const Dialog&, const ItemChange& c) {
            changes.push_back(c.item->definition.id);
        });
    }
    int set(const char* item, int attribute, int sub_item, int integer) {
        UF_STYLER_item_value_type_t value{};
        value.item_id = item;
        value.item_attr = attribute;
        value.subitem_index = sub_item;
        value.indicator = UF_STYLER_INTEGER_VALUE;
        value.value.integer = integer;
        return dialog->set_value(value);
    }
    int insert(int at, const char* text) {
        UF_STYLER_item_value_type_t value{};
        value.item_id = "LIST";
        value.item_attr = UF_STYLER_LIST_INSERT;
        value.subitem_index = at;
        value.indicator = UF_STYLER_STRING_VALUE;
        value.value.string = const_cast<char*>(text);
        return dialog->set_value(value);
    }
    int selected_line() {
        UF_STYLER_item_value_type_t value{};
        value.item_id = "LIST";
        value.item_attr = UF_STYLER_VALUE;
        EXPECT_EQ(dialog->ask_value(value), 0);
        return value.value.integer;
    }

    std::unique_ptr<Dialog> dialog;
    std::vector<std::string> changes;
    std::string why;
};

TEST_F(DialogModel, ListLinesInsertDeleteAndKeepTheSelection) {
    ASSERT_EQ(insert(0, "b"), 0);
    ASSERT_EQ(insert(0, "a"), 0);
    ASSERT_EQ(insert(2, "c"), 0);
    EXPECT_EQ(selected_line(), -1);
    ASSERT_EQ(set("LIST", UF_STYLER_VALUE, 1, 0), 0);
    EXPECT_EQ(selected_line(), 1);
    ASSERT_EQ(set("LIST", UF_STYLER_LIST_DELETE, 0, 0), 0);  // the line before the selection goes
    EXPECT_EQ(selected_line(), 0);
    EXPECT_EQ(dialog->find("LIST")->lines, (std::vector<std::string>{"b", "c"}));
    EXPECT_NE(set("LIST", UF_STYLER_VALUE, 5, 0), 0);
    ASSERT_EQ(set("LIST", UF_STYLER_LIST_DELETE, -1, 0), 0);
    EXPECT_EQ(selected_line(), -1);
    EXPECT_TRUE(dialog->find("LIST")->lines.empty());
    EXPECT_EQ(changes.size(), 6u);
}

TEST_F(DialogModel, ALongListKeepsItsLinesInOrderThroughGrowthMiddleInsertsAndARefill) {
    // Past a few thousand lines the list takes its room in one step: lines added
    // at the end, in the middle and after a refill must all stand where they went.
    std::vector<std::string> expected;
    for (int i = 0; i < 9000; ++i) {
        const std::string text = (i % 7 == 0 ? "\xD0\xE5\xE7 " : "line ") + std::to_string(i);
        if (i % 1000 == 500) {
            ASSERT_EQ(insert(i / 2, text.c_str()), 0);
            expected.insert(expected.begin() + i / 2, cp1251_to_utf8(text));
        } else {
            ASSERT_EQ(insert(-1, text.c_str()), 0);
            expected.push_back(cp1251_to_utf8(text));
        }
    }
    EXPECT_EQ(dialog->find("LIST")->lines, expected);
    EXPECT_EQ(expected[7], "Рез 7");

    ASSERT_EQ(set("LIST", UF_STYLER_LIST_DELETE, -1, 0), 0);
    expected.clear();
    for (int i = 0; i < 12000; ++i) {
        const std::string text = "again " + std::to_string(i);
        ASSERT_EQ(insert(-1, text.c_str()), 0);
        expected.push_back(text);
    }
    EXPECT_EQ(dialog->find("LIST")->lines, expected);
    EXPECT_EQ(changes.size(), 9000u + 1u + 12000u);
}

TEST_F(DialogModel, AContainersSensitivityCoversItsItems) {
    EXPECT_FALSE(dialog->user_type("LIBREF", "X", why));
    EXPECT_EQ(why, "item LIBREF is insensitive");
    ASSERT_EQ(set("SW_EDIT", UF_STYLER_SENSITIVITY, 0, 1), 0);
    EXPECT_TRUE(dialog->user_type("LIBREF", "Сталь", why)) << why;
    EXPECT_TRUE(dialog->user_select("MODE", 2, why)) << why;
    EXPECT_FALSE(dialog->user_select("MODE", 3, why));
}

TEST_F(DialogModel, ButtonsOfALayoutAreSwitchedOneByOneOrAllTogether) {
    ASSERT_EQ(set("BLO_ACT", UF_STYLER_SENSITIVITY, -1, 0), 0);
    EXPECT_FALSE(dialog->user_press("BLO_ACT", 0, why));
    ASSERT_EQ(set("BLO_ACT", UF_STYLER_SENSITIVITY, 2, 1), 0);
    EXPECT_TRUE(dialog->user_press("BLO_ACT", 2, why)) << why;
    EXPECT_FALSE(dialog->user_press("BLO_ACT", 3, why));
    EXPECT_EQ(why, "item BLO_ACT has no button 3");
}

TEST_F(DialogModel, FieldsTakeWhatTheyCanHoldAndGiveItBackInTheCodePage) {
    ASSERT_EQ(set("SW_EDIT", UF_STYLER_SENSITIVITY, 0, 1), 0);
    EXPECT_FALSE(dialog->user_type("DEPTH", "2,5", why));
    EXPECT_TRUE(dialog->user_type("DEPTH", "2.5", why));
    EXPECT_FALSE(dialog->user_type("LIBREF", "中", why));
    ASSERT_TRUE(dialog->user_type("LIBREF", "Р6М5", why));
    UF_STYLER_item_value_type_t value{};
    value.item_id = "LIBREF";
    value.item_attr = UF_STYLER_VALUE;
    ASSERT_EQ(dialog->ask_value(value), 0);
    EXPECT_STREQ(value.value.string, "\xD0\x36\xCC\x35");
    std::free(value.value.string);
}

struct BadScript {
    const char* text;
    int line;
    const char* message;
};

TEST(ScriptReader, RefusesWhatIsNotAnAction) {
    const BadScript cases[] = {
        {"press BLO_ACT 5\nklick LIST 2\n", 2, "unknown action 'klick'"},
        {"select LIST\n", 1, "expected: select ITEM LINE"},
        {"select LIST two\n", 1, "expected: select ITEM LINE"},
        {"answer maybe\n", 1, "expected: answer yes|no"},
        {"ok now\n", 1, "ok takes nothing after it"},
        {"type LIBREF \"open\n", 1, "malformed quoted text"},
        {"fail UF_initialize after\n", 1, "expected: fail CALL [after N]"},
        {"fail UF_initialize after -1\n", 1, "expected: fail CALL [after N]"},
        {"fail UF_initialise\n", 1, "no call 'UF_initialise' can be made to fail"},
        {"press BLO_ACT 4294967301\n", 1, "expected: press ITEM [BUTTON]"},
        {"select LIST 2147483648\n", 1, "expected: select ITEM LINE"},
        {"menu 99999999999\n", 1, "expected: menu CODE"},
        {"rename a\n", 1, "expected: rename FROM TO"},
        {"chmod 0855 file\n", 1, "expected: chmod MODE FILE (MODE in octal)"},
        {"chmod 0444\n", 1, "expected: chmod MODE FILE (MODE in octal)"},
    };
    for (const auto& bad : cases) {
        std::vector<ScriptLine> lines;
        ScriptError error;
        EXPECT_FALSE(parse_script(bad.text, lines, error)) << bad.text;
        EXPECT_EQ(error.line, bad.line) << bad.text;
        EXPECT_EQ(error.message, bad.message) << bad.text;
    }
}

TEST(ScriptReader, TypedTextsStandAsWrittenOrQuoted) {
    std::vector<ScriptLine> lines;
    ScriptError error;
    ASSERT_TRUE(parse_script("  # comment\n\ntype NAME Сталь 45  \ntype NAME \"a\\\"b\\n\"\nnumbers 3 1.5 -2\n",
                             lines, error));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].words, (std::vector<std::string>{"NAME", "Сталь 45  "}));
    EXPECT_EQ(lines[1].words[1], "a\"b\n");
    EXPECT_EQ(lines[2].number, 5);
    EXPECT_EQ(quote("a\"b\\\n\x01"), "\"a\\\"b\\\\\\n\\x01\"");
}

}  // namespace
