// The integer path of "%.Nf" against the C library's printf and std::to_chars,
// which the library files were always written with: same bytes for every
// value it takes, and no answer for the values it leaves to them.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "fixed_decimal.h"
#include "format_text.h"

namespace {

std::string printf_fixed(double value, int precision) {
    char text[512];
    std::snprintf(text, sizeof text, "%.*f", precision, value);
    return text;
}

std::string to_chars_fixed(double value, int precision) {
    char text[512];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, precision);
    return std::string(text, result.ptr);
}

// What put_fixed_decimal writes, checked to stay within fixed_decimal_longest,
// what it writes past the text's end included; "refused" when it returns nullptr.
std::string put_text(double value, int precision) {
    constexpr char untouched = '\x7F';
    char text[fixed_decimal_longest + 8];
    std::fill(std::begin(text), std::end(text), untouched);
    const char* const end = put_fixed_decimal(text, value, precision);
    if (end == nullptr) {
        EXPECT_TRUE(std::all_of(std::begin(text), std::end(text), [](char c) { return c == untouched; }))
            << "a refused value must write nothing";
        return "refused";
    }
    EXPECT_LE(end - text, static_cast<std::ptrdiff_t>(fixed_decimal_longest));
    EXPECT_TRUE(std::all_of(text + fixed_decimal_longest, std::end(text), [](char c) { return c == untouched; }))
        << std::hexfloat << value << " at precision " << precision;
    return std::string(static_cast<const char*>(text), end);
}

// Fails the test when the integer path takes the value and writes other bytes
// than printf, appended or put; returns whether it took it.
bool same_as_printf(double value, int precision) {
    std::string fast;
    if (!append_fixed_decimal(fast, value, precision)) {
        EXPECT_TRUE(fast.empty()) << "a refused value must append nothing";
        EXPECT_EQ(put_text(value, precision), "refused");
        return false;
    }
    const std::string expected = printf_fixed(value, precision);
    EXPECT_EQ(fast, expected) << std::hexfloat << value << " at precision " << precision;
    EXPECT_EQ(fast, to_chars_fixed(value, precision));
    EXPECT_EQ(put_text(value, precision), expected);
    return fast == expected;
}

double power_of_ten(int precision) { return std::pow(10.0, precision); }

TEST(FixedDecimal, WritesTheLibraryFilesUsualNumbersAsPrintfDoes) {
    for (const double value : {0.0, 1.0, 2.54, 98.425, 0.004, 0.1, 0.05, 120.0, 3.14159, 1234567.891, 0.0005,
                               0.0015, 0.0025, 1e-5, 99.9995, 99.99949999, 0.9999, 0.99995}) {
        for (int precision = 0; precision <= fixed_decimal_most_precision; ++precision) {
            EXPECT_TRUE(same_as_printf(value, precision));
            EXPECT_TRUE(same_as_printf(-value, precision));
        }
    }
}

// Ties are decided on the exact binary value: 0.125 is a tie at two decimals
// (to even: 0.12), 0.135 is not one (its double lies above: 0.14).
TEST(FixedDecimal, RoundsTiesToEvenAndNearTiesByTheExactBinaryValue) {
    const struct {
        double value;
        int precision;
        const char* text;
    } cases[] = {{0.125, 2, "0.12"}, {0.375, 2, "0.38"}, {0.135, 2, "0.14"},
                 {2.5, 0, "2"},      {3.5, 0, "4"},      {-0.0625, 3, "-0.062"}};
    for (const auto& each : cases) {
        std::string text;
        ASSERT_TRUE(append_fixed_decimal(text, each.value, each.precision)) << each.value;
        EXPECT_EQ(text, each.text) << each.value;
    }
    std::mt19937_64 random(7);
    for (int precision = 0; precision <= fixed_decimal_most_precision; ++precision) {
        for (int i = 0; i < 20000; ++i) {
            // Exact ties: an odd number of halves of the last place, for a
            // last place that is a power of two.
            const double tie = std::ldexp(static_cast<double>(2 * (random() % 100000) + 1), -1 - precision);
            same_as_printf(tie, precision);
            // Decimal ties, which a double holds only approximately, and their neighbours.
            const double decimal_tie = (static_cast<double>(random() % 1000000) + 0.5) / power_of_ten(precision);
            same_as_printf(decimal_tie, precision);
            same_as_printf(std::nextafter(decimal_tie, 0.0), precision);
            same_as_printf(std::nextafter(decimal_tie, 1e9), precision);
            same_as_printf(-decimal_tie, precision);
        }
    }
}

// Every length of text the eight-digit writer makes, and the lengths on either
// side of where it hands over to the digit-by-digit writer.
TEST(FixedDecimal, WritesEveryNumberOfDigitsAsPrintfDoes) {
    for (int precision = 0; precision <= fixed_decimal_most_precision; ++precision) {
        double power = 1;
        for (int digits = 0; digits <= 12; ++digits, power *= 10) {
            for (const double scaled : {power - 1, power, power + 1, 5 * power + 3, 9 * power + 7}) {
                const double value = scaled / power_of_ten(precision);
                EXPECT_TRUE(same_as_printf(value, precision));
                EXPECT_TRUE(same_as_printf(-value, precision));
            }
        }
    }
}

TEST(FixedDecimal, CarriesIntoTheWholePartAndKeepsTheSignOfNegativeZero) {
    for (const double value : {0.99995, 9.9999999, 99999.99999, 0.5, 1.5, -0.4, -0.0, -1e-300, 1e-320}) {
        for (int precision = 0; precision <= fixed_decimal_most_precision; ++precision) {
            EXPECT_TRUE(same_as_printf(value, precision));
        }
    }
    std::string text;
    ASSERT_TRUE(append_fixed_decimal(text, -0.0, 3));
    EXPECT_EQ(text, "-0.000");
}

TEST(FixedDecimal, AgreesWithPrintfOverRandomBitPatternsAndScales) {
    std::mt19937_64 random(11);
    int taken = 0;
    for (int i = 0; i < 200000; ++i) {
        const int precision = static_cast<int>(random() % (fixed_decimal_most_precision + 1));
        double value = 0;
        switch (i % 3) {
            case 0: value = std::bit_cast<double>(random()); break;
            case 1: value = std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 120)); break;
            default:
                value = static_cast<double>(random() % 100000000) / power_of_ten(static_cast<int>(random() % 9));
                break;
        }
        if (random() & 1) value = -value;
        if (same_as_printf(value, precision)) ++taken;
    }
    // Most random bit patterns lie outside the integer path; scaled ones do not.
    EXPECT_GT(taken, 100000);
}

// The one-multiplication rounding against the exact integer rounding: where
// it answers, the same number; a product that lands on a midway point must be
// left to the exact path, since the exact value may lie on either side of it.
template <int Precision>
void expect_product_rounding_exact(double value, int& answered) {
    using namespace fixed_decimal_detail;
    std::uint64_t scaled = 0;
    if (!scale_by_product<Precision>(value, scaled)) return;
    ++answered;
    Rounded exact{};
    ASSERT_TRUE(round<Precision>(value, exact)) << std::hexfloat << value;
    EXPECT_EQ(scaled, exact.whole * powers_of_ten[Precision] + exact.decimals)
        << std::hexfloat << value << " at precision " << Precision;
}

template <int Precision>
void expect_product_rounding_exact_near_midway_points(std::mt19937_64& random) {
    const double scale = power_of_ten(Precision);
    int answered = 0;
    int drawn = 0;
    for (int i = 0; i < 100000; ++i) {
        // A midway point of the last decimal, up to the largest product the
        // shortcut takes, moved by a few units of its last binary place, or by
        // a few thousandths of the last decimal.
        const double whole_range = i % 2 == 0 ? 1e6 : 0x1p51;
        const double midway = (std::floor(static_cast<double>(random() % (std::uint64_t{1} << 53)) /
                                          0x1p53 * whole_range) +
                               0.5) /
                              scale;
        double value = midway;
        if (i % 3 == 0) {
            for (int step = static_cast<int>(random() % 9) - 4; step != 0; step += step > 0 ? -1 : 1) {
                value = std::nextafter(value, step > 0 ? 1e300 : -1e300);
            }
        } else {
            value += (static_cast<double>(random() % 21) - 10.0) * 1e-3 / scale;
        }
        if (random() % 2 == 0) value = -value;
        ++drawn;
        expect_product_rounding_exact<Precision>(value, answered);
        same_as_printf(value, Precision);
    }
    // Most products miss the midway point, but not all.
    EXPECT_GT(answered, drawn / 2);
    EXPECT_LT(answered, drawn);
}

TEST(FixedDecimal, RoundsByOneMultiplicationOnlyWhereTheExactValueRoundsTheSame) {
    std::mt19937_64 random(13);
    expect_product_rounding_exact_near_midway_points<0>(random);
    expect_product_rounding_exact_near_midway_points<1>(random);
    expect_product_rounding_exact_near_midway_points<2>(random);
    expect_product_rounding_exact_near_midway_points<3>(random);
    expect_product_rounding_exact_near_midway_points<4>(random);
    int answered = 0;
    for (int i = 0; i < 200000; ++i) {
        const double value = std::bit_cast<double>(random());
        expect_product_rounding_exact<0>(value, answered);
        expect_product_rounding_exact<3>(value, answered);
        const double scaled = static_cast<double>(random() % 100000000) / power_of_ten(static_cast<int>(random() % 9));
        expect_product_rounding_exact<2>(scaled, answered);
        expect_product_rounding_exact<4>(scaled, answered);
    }
    // Exact ties, the largest products and what is not a number are left to the exact path.
    std::uint64_t untouched = 0;
    for (const double value : {2.5, -0.5, 0x1p52, 1e17, std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(fixed_decimal_detail::scale_by_product<0>(value, untouched)) << value;
        EXPECT_FALSE(fixed_decimal_detail::scale_by_product<3>(value / 1000.0, untouched)) << value;
    }
    EXPECT_FALSE(fixed_decimal_detail::scale_by_product<2>(0.125, untouched));
}

TEST(FixedDecimal, LeavesWhatItCannotWriteExactlyToTheGeneralConversion) {
    const double large = std::ldexp(1.0, 63);
    const std::vector<double> refused = {std::numeric_limits<double>::infinity(),
                                         -std::numeric_limits<double>::infinity(),
                                         std::numeric_limits<double>::quiet_NaN(), large, -large, 1e300};
    for (const double value : refused) {
        EXPECT_FALSE(same_as_printf(value, 3));
        std::string text = "x";
        append_fixed(text, value, 3);
        EXPECT_EQ(text, "x" + (std::isnan(value) ? std::string("nan") : to_chars_fixed(value, 3)));
    }
    // The largest whole part it takes: just below 2^63.
    EXPECT_TRUE(same_as_printf(std::nextafter(large, 0.0), 2));
    for (const int precision : {-1, fixed_decimal_most_precision + 1, 6, 20}) {
        EXPECT_FALSE(same_as_printf(2.5, precision));
    }
    std::string text = "|";
    append_fixed(text, 0.1234567, 6);
    EXPECT_EQ(text, "|0.123457");
}

TEST(FixedDecimal, AppendsToWhatTheTextHolds) {
    std::string line = "DATA|";
    ASSERT_TRUE(append_fixed_decimal(line, 12.5, 3));
    append_fixed(line, 0.004, 3);
    EXPECT_EQ(line, "DATA|12.5000.004");
}

}  // namespace
