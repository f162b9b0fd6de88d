// The reader's two ways of reading a number: the short one must give the very
// double the general one gives, bit for bit, wherever it takes a text.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "format_text.h"

namespace {

using number_reading_detail::read_any_number;
using number_reading_detail::read_plain_decimal;

std::uint64_t bits_of(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// read_number, the general way, and the short way where it applies: all the same bits.
void expect_one_reading(const std::string& text) {
    const double general = read_any_number(text);
    EXPECT_EQ(bits_of(read_number(text)), bits_of(general)) << '"' << text << '"';
    double fast = 0;
    if (read_plain_decimal(text, fast)) {
        EXPECT_EQ(bits_of(fast), bits_of(general)) << '"' << text << '"';
    }
}

bool takes(const std::string& text) {
    double ignored = 0;
    return read_plain_decimal(text, ignored);
}

TEST(NumberReading, EdgeCasesReadTheSameBothWays) {
    for (const char* text :
         {"0", "-0", "+0", "0.0", "-0.000", "", "-", "+", ".", "-.", ".5", "-.5", "1.", "+1.", "2.5", "2,5", "1.2.3",
          "12abc", "0x10", " 3.25", "\t-7", "--1", "+-1", "1e5", "1E-3", "1e", "1e+", "-1.5e308", "1e-400", "1e400",
          "inf", "-infinity", "nan", "0.1", "0.2", "0.3", "98.425", "0.004", "328.084", "9007199254740992",
          "9007199254740993", "9007199254740991.5", "900719925474099.3", "0.9007199254740993",
          "1234567890123456789", "12345678901234567890", "0.0000000000000000001", "1.00000000000000011102230246251565",
          "4503599627370496.5", "4503599627370497.5", "0.5000000000000000555", "1.7976931348623157",
          "2.2250738585072014", "0.30000000000000004", "123456789012345.67", "1|2", "7\r", "5 "}) {
        expect_one_reading(text);
    }
}

TEST(NumberReading, TheShortWayLeavesExponentsLongNumbersAndNonNumbersToTheGeneralOne) {
    EXPECT_TRUE(takes("0.098"));
    EXPECT_TRUE(takes("-12.500"));
    EXPECT_TRUE(takes(".5"));
    EXPECT_TRUE(takes("3."));
    EXPECT_TRUE(takes("9007199254740992"));
    EXPECT_TRUE(takes("2,5"));  // reading stops at the comma, as in C
    EXPECT_FALSE(takes("9007199254740993"));  // 2^53 + 1 may not be a double
    EXPECT_FALSE(takes("12345678901234567890"));
    EXPECT_FALSE(takes("1e5"));
    EXPECT_FALSE(takes("1.5E"));
    EXPECT_FALSE(takes(" 1"));
    EXPECT_FALSE(takes("--1"));
    EXPECT_FALSE(takes("."));
    EXPECT_TRUE(takes(""));
    EXPECT_FALSE(takes("inf"));
}

// Texts made of the characters numbers are made of, in every arrangement a
// damaged or hand-edited file could hold, and the plain decimals of every length.
TEST(NumberReading, RandomTextsReadTheSameBothWays) {
    std::mt19937_64 random(20261207);
    const std::string alphabet = "0123456789012345678901234567890123456789..--++eE x";
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        const std::size_t length = random() % 24;
        for (std::size_t c = 0; c < length; ++c) text += alphabet[random() % alphabet.size()];
        expect_one_reading(text);
    }
    int taken = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string digits = std::to_string(random() >> (random() % 64));
        const std::size_t point = random() % (digits.size() + 1);
        std::string text = (random() % 2 ? "-" : "") + digits.substr(0, point) + "." + digits.substr(point);
        if (random() % 4 == 0) text += std::string(random() % 6, '0');
        expect_one_reading(text);
        taken += takes(text) ? 1 : 0;
    }
    // Most of them are short enough for the short way.
    EXPECT_GT(taken, 150000);
}

TEST(NumberReading, HalfwayCasesRoundToEvenAsTheCLibraryDoes) {
    // Between 2^53 and 2^54 doubles are 2 apart: an odd integer there is a tie,
    // which only the general way may decide; below it every reading is exact.
    for (std::uint64_t n = (std::uint64_t{1} << 53) - 4; n <= (std::uint64_t{1} << 53) + 4; ++n) {
        expect_one_reading(std::to_string(n));
        expect_one_reading(std::to_string(n) + ".0");
    }
    // Decimals whose exact value lies as near a tie as a short text can put it.
    for (const char* text : {"0.1000000000000000055511151231257827", "5e-324", "2.4703282292062327e-324",
                             "0.500000000000000166533453693773481063544750213623046875"}) {
        expect_one_reading(text);
        EXPECT_EQ(read_number(text), std::strtod(text, nullptr)) << text;
    }
}

}  // namespace
