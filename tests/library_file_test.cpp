// The line grammar, read and written directly on in-memory text.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <fstream>
#include <sstream>

#include "library_file.h"
#include "table_formats.h"
#include "test_text.h"

namespace {

template <class Record>
RecordTable<Record> read(const TableFormat<Record>& format, const std::string& text, LoadReport& report) {
    RecordTable<Record> table;
    read_table(text, format, table, report);
    return table;
}

template <class Record>
RecordTable<Record> read(const TableFormat<Record>& format, const std::string& text) {
    LoadReport report;
    return read(format, text, report);
}

std::string sample_text(const std::string& file_name) {
    std::ifstream in(std::string(SAMPLE_LIBRARY_DIR) + "/" + file_name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The data lines of a written file: what follows the header.
template <class Record>
std::string data_lines(const TableFormat<Record>& format, const RecordTable<Record>& table) {
    const std::string file = write_table(format, table);
    const std::size_t header = crlf(format.header).size();
    EXPECT_EQ(file.substr(0, header), crlf(format.header));
    return file.substr(header);
}

FEEDS feeds_row(const char* reference, double depth, double index1, double index2, double speed, double feed) {
    FEEDS row;
    std::strcpy(row.tag, "DATA");
    std::strcpy(row.LIBRF, reference);
    std::strcpy(row.OPERTYPE, "OPD0_0001");
    std::strcpy(row.PARTMAT, "MAT0_0001");
    std::strcpy(row.TOOLMAT, "TMC0_0001");
    row.DPT_CUT_MM = depth;
    row.INDEX1 = index1;
    row.INDEX2 = index2;
    row.SURF_SPEED_MPM = speed;
    row.FEED_MMPT = feed;
    return row;
}

// 1. Which lines are data lines.
TEST(LineGrammar, OnlyDataLinesWithoutHashBecomeRows) {
    const std::string text =
        "DATA|A1|MILL|n|d\n"
        " DATA|A2|MILL|n|d\n"          // one blank before the keyword: read
        "  DATA|A3|MILL|n|d\n"         // two blanks: not a data line
        "data|A4|MILL|n|d\n"           // small letters: not a data line
        "DATA |A5|MILL|n|d\n"          // text between keyword and separator: read
        "DATA|A6|MILL|n #7|d\n"        // a hash anywhere makes a comment
        "\n"
        "FORMAT LIBRF MODE NAME DESCRIPTION\n"
        "DATAX|A7|MILL|n|d\n";         // anything after the keyword up to the first separator
    const auto table = read(cut_method_format, text);
    ASSERT_EQ(table.size(), 4u);
    EXPECT_STREQ(table.at(0).LIBRF, "A1");
    EXPECT_STREQ(table.at(1).LIBRF, "A2");
    EXPECT_STREQ(table.at(2).LIBRF, "A5");
    EXPECT_STREQ(table.at(3).LIBRF, "A7");
    for (const auto& row : table) EXPECT_STREQ(row.tag, "DATA");
}

TEST(LineGrammar, MalformedLinesAreSkippedAndReported) {
    const std::string text =
        "DATA|A1|MILL|n|d\n"
        "DATA|A2|MILL|n\n"             // one separator too few
        "DATA|A3|MILL|n|d|\n"          // trailing separator after the last field
        "DATA|A4|MILL|n|d|e\n"         // one field too many
        "DATA A5 MILL\n"               // no separator at all
        "DATA|A6|MILL|n|d\n";
    LoadReport report;
    const auto table = read(cut_method_format, text, report);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_STREQ(table.at(1).LIBRF, "A6");
    EXPECT_EQ(report.rejected_lines, (std::vector<long>{2, 3, 4, 5}));
    EXPECT_TRUE(report.cut_lines.empty());
}

TEST(LineGrammar, LineEndsAndTheLastLine) {
    // CR LF, bare LF, and a last line without a line end are all read; values keep their blanks.
    const auto table = read(tool_material_format, "DATA|T1| HSS | desc  \r\nDATA|T2|n|d\nDATA|T3|n|last");
    ASSERT_EQ(table.size(), 3u);
    EXPECT_STREQ(table.at(0).MATNAM, " HSS ");
    EXPECT_STREQ(table.at(0).MATDESC, " desc  ");
    EXPECT_STREQ(table.at(2).MATDESC, "last");
}

TEST(LineGrammar, LinesOfAnyLengthAreReadWhole) {
    // A part-material line with every value at its cap is 282 characters long.
    const std::string code(49, 'C'), name(49, 'N'), description(132, 'D'), hardness(19, 'H'), reference(19, 'R');
    const std::string line = "DATA|" + code + "|" + name + "|" + description + "|" + hardness + "|" + reference;
    LoadReport report;
    const auto table = read(part_material_format, line + "\r\n", report);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table.at(0).MATCODE, code);
    EXPECT_EQ(table.at(0).PARTMAT, description);
    EXPECT_EQ(table.at(0).LIBRF, reference);
    EXPECT_TRUE(report.clean());
    EXPECT_EQ(data_lines(part_material_format, table), line + "\r\n");
}

// 2. Values at their field's limit and one past it.
TEST(FieldWidths, ValuesAtTheLimitStayAndLongerOnesAreCutAndReported) {
    const std::string at_limit(19, 'a'), past_limit(20, 'b');
    LoadReport report;
    const auto table =
        read(cut_method_format, "DATA|" + at_limit + "|M|n|d\nDATA|" + past_limit + "|M|n|d\n", report);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table.at(0).LIBRF, at_limit);
    EXPECT_EQ(table.at(1).LIBRF, std::string(19, 'b'));
    EXPECT_EQ(report.cut_lines, (std::vector<long>{2}));
    EXPECT_TRUE(report.rejected_lines.empty());
}

TEST(FieldWidths, FeedsReferencesThatASaveWouldCutAreReported) {
    // The row holds 24 characters of a reference; the file keeps 20.
    LoadReport report;
    const auto table = read(feeds_format,
                            "DATA|" + std::string(20, 'A') + "|o|p|t|0|1|||0|1|0|1\n"
                            "DATA|" + std::string(21, 'B') + "|o|p|t|0|1|||0|1|0|1\n"
                            "DATA|" + std::string(24, 'C') + "|o|p|t|0|1|||0|1|0|1\n"
                            "DATA|" + std::string(25, 'D') + "|o|p|t|0|1|||0|1|0|1\n",
                            report);
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table.at(1).LIBRF, std::string(21, 'B'));
    EXPECT_EQ(table.at(2).LIBRF, std::string(24, 'C'));
    EXPECT_EQ(table.at(3).LIBRF, std::string(24, 'D'));
    EXPECT_EQ(report.save_cut_lines, (std::vector<long>{2, 3}));
    EXPECT_EQ(report.cut_lines, (std::vector<long>{4}));
}

// 3. Numbers.
TEST(Numbers, ReadAsTheCLibraryReadsThem) {
    const auto table = read(feeds_format,
                            "DATA|F1|o|p|t|9|2,5| 3.25|x|9| +120 |9|1e-1\n"
                            "DATA|F2|o|p|t|||||||| \n");
    ASSERT_EQ(table.size(), 2u);
    const FEEDS& row = table.at(0);
    EXPECT_EQ(row.DPT_CUT_MM, 2.0);  // reading stops at the comma
    EXPECT_EQ(row.INDEX1, 3.25);
    EXPECT_EQ(row.INDEX2, 0.0);
    EXPECT_EQ(row.SURF_SPEED_MPM, 120.0);
    EXPECT_EQ(row.FEED_MMPT, 0.1);
    // The inch columns are derived on saving and never read.
    EXPECT_EQ(row.DPT_CUT_IN, 0.0);
    EXPECT_EQ(row.SURF_SPEED_FPM, 0.0);
    EXPECT_EQ(row.FEED_IPT, 0.0);
    EXPECT_EQ(table.at(1).FEED_MMPT, 0.0);
}

TEST(FeedsWriter, DerivesInchColumnsAndLeavesZeroIndicesEmpty) {
    RecordTable<FEEDS> table;
    table.append(feeds_row("FSDO_0001", 2.54, 0, 0, 100, 0.1));
    table.append(feeds_row("FSDO_0002", 1.5, 0.004, 0, 30, 0.05));
    table.append(feeds_row("FSDO_0003", 0.5, 1, 2.5, 250, 0.08));
    table.at(0).DPT_CUT_IN = 99;  // stale inch values in the row are not used
    EXPECT_EQ(data_lines(feeds_format, table),
              "DATA|FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001|0.100|2.540|||328.084|100.000|0.004|0.100\r\n"
              "DATA|FSDO_0002|OPD0_0001|MAT0_0001|TMC0_0001|0.059|1.500|0.00|0.00|98.425|30.000|0.002|0.050\r\n"
              "DATA|FSDO_0003|OPD0_0001|MAT0_0001|TMC0_0001|0.020|0.500|1.00|2.50|820.210|250.000|0.003|0.080\r\n");
    // What was written reads back as written: 0.004 became 0.00.
    const auto again = read(feeds_format, write_table(feeds_format, table));
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(again.at(1).INDEX1, 0.0);
    EXPECT_EQ(again.at(2).INDEX2, 2.5);
}

TEST(FeedsWriter, ReferencesAreCutToTwentyCharacters) {
    RecordTable<FEEDS> table;
    table.append(feeds_row("ABCDEFGHIJKLMNOPQRSTUVWX", 1, 0, 0, 1, 1));
    EXPECT_EQ(data_lines(feeds_format, table).substr(0, 26), "DATA|ABCDEFGHIJKLMNOPQRST|");
}

TEST(FeedsWriter, NumbersIgnoreTheProcessLocale) {
    const std::string locale = ensure_decimal_comma_locale();
    ASSERT_FALSE(locale.empty()) << "no locale with a decimal comma could be set up";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    RecordTable<FEEDS> table;
    table.append(feeds_row("FSDO_0001", 2.54, 1.5, 0, 100, 0.1));
    const std::string written = data_lines(feeds_format, table);
    const auto again = read(feeds_format, write_table(feeds_format, table));
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(written, "DATA|FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001|0.100|2.540|1.50|0.00|328.084|100.000|0.004|0.100\r\n");
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again.at(0).DPT_CUT_MM, 2.54);
}

// 4. The other tables.
TEST(ToolMaterials, RowsAreNumberedByTheirPlaceAmongAcceptedLines) {
    RecordTable<TOOL_MATERIALS> table;
    LoadReport report;
    read_table<TOOL_MATERIALS>("DATA|A|n|d\nDATA|broken\n# comment\nDATA|B|n|d\nDATA|C|n|d\n", tool_material_format, table, report,
                               [](TOOL_MATERIALS& row, std::int32_t place) { row.util = place; });
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table.at(0).util, 0);
    EXPECT_EQ(table.at(1).util, 1);
    EXPECT_EQ(table.at(2).util, 2);
}

TEST(PartMaterials, TheReferenceIsTheLastColumn) {
    const auto table = read(part_material_format, "DATA|45|Сталь|описание||MAT0_0001\r\n");
    ASSERT_EQ(table.size(), 1u);
    EXPECT_STREQ(table.at(0).MATCODE, "45");
    EXPECT_STREQ(table.at(0).HARDNESS, "");
    EXPECT_STREQ(table.at(0).LIBRF, "MAT0_0001");
    EXPECT_EQ(data_lines(part_material_format, table), "DATA|45|Сталь|описание||MAT0_0001\r\n");
}

TEST(CutMethods, EveryCodePageByteSurvivesARoundTrip) {
    std::string high;
    for (int byte = 0x80; byte <= 0xFF; ++byte) high += static_cast<char>(byte);
    const std::string line = "DATA|R|LATHE|" + high.substr(0, 49) + "|" + high.substr(49) + "\r\n";
    const auto table = read(cut_method_format, line);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(data_lines(cut_method_format, table), line);
}

// 5. A file read in pieces as the reads return them.
struct Reading {
    std::size_t rows = 0;
    std::uint64_t fingerprint = 0;
    std::uint64_t taken_fingerprint = 0;
    std::vector<long> rejected, unrecognised, cut, save_cut;
    LoadReport::Text text = LoadReport::Text::plain;
    bool operator==(const Reading&) const = default;
};

// The text read through a reader, cut at the given places.
template <class Record>
Reading read_in_pieces(const TableFormat<Record>& format, const std::string& text, std::vector<std::size_t> cuts) {
    RecordTable<Record> table;
    table.append(Record{});  // a reader starts from an empty table
    LoadReport report;
    TableReader<Record> reader(format, table, report, text.size());
    std::size_t from = 0;
    cuts.push_back(text.size());
    for (const std::size_t cut : cuts) {
        reader.read(std::string_view(text).substr(from, cut - from));
        from = cut;
    }
    reader.finish();
    return {table.size(), rows_fingerprint(format, table), reader.fingerprint(), report.rejected_lines,
            report.unrecognised_lines, report.cut_lines, report.save_cut_lines, report.text};
}

template <class Record>
void expect_any_split_reads_alike(const TableFormat<Record>& format, const std::string& text) {
    const Reading whole = read_in_pieces(format, text, {});
    EXPECT_EQ(whole.fingerprint, whole.taken_fingerprint);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        ASSERT_EQ(read_in_pieces(format, text, {cut}), whole) << "cut at " << cut << " of:\n" << text;
    }
    std::vector<std::size_t> every_byte;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) every_byte.push_back(cut);
    EXPECT_EQ(read_in_pieces(format, text, every_byte), whole);
}

TEST(Pieces, AnySplitReadsAsTheWholeText) {
    expect_any_split_reads_alike(cut_method_format, sample_text(cut_method_format.file_name).substr(0, 3000));
    expect_any_split_reads_alike(feeds_format, "# FEEDS\r\nDATA|F1|o|p|t|9|2.5|1|2|9|120|9|0.1\r\n"
                                               "DATA|" + std::string(22, 'R') + "|o|p|t|0|1|||0|1|0|1\r\n"
                                               "DATA|F3|o|p|t|0|1\r\nnoise\r\nDATA|F4|o|p|t|0|1|||0|1|0|1");
    expect_any_split_reads_alike(tool_material_format, "DATA|A|n\0x|d\nDATA|B|" + std::string(60, 'n') + "|d\n");
}

std::string utf16_without_signature(const std::string& text) {
    std::string utf16;
    for (const char c : text) utf16 += std::string{c, '\0'};
    return utf16;
}

TEST(Pieces, HowTheTextLooksIsToldAsForTheWholeText) {
    const std::string utf8_letter = "\xD0\x96";
    const std::string text_kinds[] = {
        "\xEF\xBB\xBF" "DATA|A|n|d\r\nDATA|B|n|d\r\n",             // signature: UTF-8, first row kept
        "DATA|A|n|d\r\nDATA|B|" + utf8_letter + "|d\r\n",          // UTF-8 letters on a later line
        "DATA|A|\xC6|d\r\nDATA|B|" + utf8_letter + "|d\r\n",       // a 1251 letter first: not UTF-8
        "DATA|A|n|\xD0\r\n\x96|d\r\n",                           // a sequence cut by a line end
        "# TOOLS\rDATA|A|n|d\rDATA|B|n|d\r",                      // CR line ends
        utf16_without_signature("DATA|A|n|d\r\n"),
    };
    for (const std::string& text : text_kinds) {
        LoadReport report;
        RecordTable<TOOL_MATERIALS> table;
        read_table(text, tool_material_format, table, report);
        EXPECT_EQ(report.text, library_file_detail::text_of(text));
        expect_any_split_reads_alike(tool_material_format, text);
    }
}

TEST(Tables, LoadingReplacesAndRemovingKeepsOrder) {
    auto table = read(cut_method_format, "DATA|A|M|n|d\nDATA|B|M|n|d\nDATA|C|M|n|d\n");
    table.remove(0);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_STREQ(table.at(0).LIBRF, "B");
    EXPECT_STREQ(table.at(1).LIBRF, "C");
    LoadReport report;
    read_table("DATA|D|M|n|d\n", cut_method_format, table, report);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_STREQ(table.at(0).LIBRF, "D");
}

// A field reached through its place is the field its column reaches, in a
// row that is not the one the places were found in.
template <class Record>
void expect_places_reach_the_columns_fields(const TableFormat<Record>& format) {
    const std::vector<FieldPlace> places = field_places(format.columns);
    ASSERT_EQ(places.size(), format.columns.size());
    Record row;
    auto* start = reinterpret_cast<char*>(&row);
    for (std::size_t c = 0; c < places.size(); ++c) {
        const Column<Record>& column = format.columns[c];
        EXPECT_EQ(places[c].kind, column.kind) << format.file_name << " " << column.name;
        if (column.kind == ColumnKind::text) {
            EXPECT_EQ(start + places[c].offset, column.text(row).data()) << format.file_name << " " << column.name;
            EXPECT_EQ(places[c].size, column.text(row).size()) << format.file_name << " " << column.name;
        } else if (column.kind == ColumnKind::number) {
            EXPECT_EQ(start + places[c].offset, reinterpret_cast<char*>(&(row.*(column.number))))
                << format.file_name << " " << column.name;
        }
    }
}

TEST(Tables, FieldPlacesReachTheColumnsFields) {
    expect_places_reach_the_columns_fields(feeds_format);
    expect_places_reach_the_columns_fields(tool_material_format);
    expect_places_reach_the_columns_fields(part_material_format);
    expect_places_reach_the_columns_fields(cut_method_format);
}

}  // namespace
