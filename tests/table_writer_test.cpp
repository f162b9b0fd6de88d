// The save's writer against the plain writer: the same bytes, in pieces, and
// the rows' fingerprint taken on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "table_formats.h"
#include "table_writer.h"

namespace {

// Numbers a library holds, and the ones the integer path leaves to the
// general formatting: ties, huge, tiny, negative zero, not finite.
double drawn_number(std::mt19937_64& random) {
    static const double unusual[] = {0.0,    -0.0,   0.0005, 0.0015, 2.5e-4, -1.0005, 1e300, -1e22,
                                     9.2e18, 1e-320, std::numeric_limits<double>::infinity(),
                                     std::numeric_limits<double>::quiet_NaN()};
    switch (random() % 4) {
        case 0: return unusual[random() % std::size(unusual)];
        case 1: return static_cast<double>(random() % 100000) / 1000.0;
        case 2: return static_cast<double>(random() % 3);
        default: return std::ldexp(static_cast<double>(random() % (std::uint64_t{1} << 53)), -40) - 4096.0;
    }
}

// A text of any length up to past the field's end, the field kept terminated.
void drawn_text(std::mt19937_64& random, std::span<char> field) {
    std::fill(field.begin(), field.end(), '\0');
    const std::size_t length = random() % field.size();
    for (std::size_t i = 0; i < length; ++i) field[i] = static_cast<char>('A' + random() % 26);
    // What lies past the terminator is hashed, never written.
    if (length + 1 < field.size() && random() % 2 == 0) field[length + 1] = 'Z';
}

template <class Record>
RecordTable<Record> drawn_table(const TableFormat<Record>& format, std::size_t rows, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    RecordTable<Record> table;
    for (std::size_t r = 0; r < rows; ++r) {
        Record row;
        std::strcpy(row.tag, "DATA");
        for (const Column<Record>& column : format.columns) {
            if (column.kind == ColumnKind::text) drawn_text(random, column.text(row));
            if (column.kind == ColumnKind::number) row.*(column.number) = drawn_number(random);
        }
        table.append(row);
    }
    return table;
}

struct Written {
    std::vector<std::string> pieces;
    std::uint64_t fingerprint = 0;
    std::uint64_t content_hash = 0;
    bool complete = false;

    std::string whole() const {
        std::string text;
        for (const std::string& piece : pieces) text += piece;
        return text;
    }
};

template <class Record>
Written written(const TableFormat<Record>& format, const RecordTable<Record>& table, std::size_t refused_piece = -1) {
    Written out;
    out.complete = write_table_pieces(
        format, table,
        [&](std::string_view piece) {
            if (out.pieces.size() == refused_piece) return false;
            out.pieces.emplace_back(piece);
            return true;
        },
        out.fingerprint, out.content_hash);
    return out;
}

template <class Record>
void expect_as_plain_writer(const TableFormat<Record>& format, std::size_t rows, std::uint64_t seed) {
    const RecordTable<Record> table = drawn_table(format, rows, seed);
    const Written out = written(format, table);
    ASSERT_TRUE(out.complete);
    EXPECT_EQ(out.whole(), write_table(format, table));
    EXPECT_EQ(out.fingerprint, rows_fingerprint(format, table));
    EXPECT_EQ(out.content_hash, content_hash(out.whole()));
    // Pieces of whole lines, never an empty one.
    for (std::size_t i = 0; i < out.pieces.size(); ++i) {
        EXPECT_FALSE(out.pieces[i].empty());
        EXPECT_TRUE(out.pieces[i].ends_with("\r\n"));
    }
}

TEST(SaveWriter, WritesThePlainWritersBytesAndFingerprintForEveryTable) {
    // Enough feeds rows for several pieces.
    expect_as_plain_writer(feeds_format, 40000, 1);
    // Rows that fill their last piece exactly.
    expect_as_plain_writer(feeds_format, 3 * 8192, 8);
    expect_as_plain_writer(tool_material_format, 3000, 2);
    expect_as_plain_writer(part_material_format, 3000, 3);
    expect_as_plain_writer(cut_method_format, 3000, 4);
}

TEST(SaveWriter, ATableWithoutRowsIsTheHeaderAndTheEmptyFingerprint) {
    const Written out = written(feeds_format, RecordTable<FEEDS>());
    ASSERT_TRUE(out.complete);
    EXPECT_EQ(out.whole(), write_table(feeds_format, RecordTable<FEEDS>()));
    EXPECT_EQ(out.fingerprint, no_rows_fingerprint);
    EXPECT_EQ(out.content_hash, content_hash(out.whole()));
}

// Formats other than "%.Ns" and "%.Nf" go to the general formatting, row by row.
double doubled_depth(const FEEDS& row) { return 2 * row.DPT_CUT_MM; }

const Column<FEEDS> unusual_columns[] = {
    text_column<&FEEDS::LIBRF>("LIBRF", "%-22s"),
    number_column<&FEEDS::DPT_CUT_MM>("DPT_CUT_MM", "%.6lf"),
    derived_column<FEEDS>("DOUBLED", "%8.1f", doubled_depth),
    number_column<&FEEDS::FEED_MMPT>("FEED_MMPT", "%.2lf"),
};
const TableFormat<FEEDS> unusual_format{"unusual.dat", "unusual", "# unusual\n", unusual_columns};

const Column<FEEDS> long_precision_columns[] = {
    text_column<&FEEDS::LIBRF>("LIBRF", "%.20s"),
    number_column<&FEEDS::DPT_CUT_MM>("DPT_CUT_MM", "%.7lf"),
};
const TableFormat<FEEDS> long_precision_format{"long.dat", "long", "# long\n", long_precision_columns};

TEST(SaveWriter, OtherFormatsAreWrittenAsThePlainWriterWritesThem) {
    expect_as_plain_writer(unusual_format, 2000, 5);
    expect_as_plain_writer(long_precision_format, 2000, 6);
}

TEST(SaveWriter, StopsAtARefusedPieceWithoutAFingerprint) {
    const RecordTable<FEEDS> table = drawn_table(feeds_format, 40000, 7);
    const Written out = written(feeds_format, table, 1);
    EXPECT_FALSE(out.complete);
    EXPECT_EQ(out.pieces.size(), 1u);
    EXPECT_EQ(out.fingerprint, 0u);
    EXPECT_EQ(out.content_hash, 0u);
}

}  // namespace
