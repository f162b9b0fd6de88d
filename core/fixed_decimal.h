// "%.Nf" of a double for the numbers a library holds, worked out in integers:
// the general conversion (std::to_chars) costs hundreds of instructions a
// number, and a million-row save writes eight million of them. Inline, so
// that the writer and the list lines format each number without a call.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

// The largest precision the integer path takes: the fraction's 53 bits times
// 5 to this power must stay within 64 bits.
constexpr int fixed_decimal_most_precision = 4;
// The room the integer path needs for its text: the longest, a sign, 19 whole
// digits, the point and the decimals; a shorter text may write over up to this
// much.
constexpr std::size_t fixed_decimal_longest = 1 + 19 + 1 + fixed_decimal_most_precision;

namespace fixed_decimal_detail {

constexpr std::uint64_t powers_of_five[] = {1, 5, 25, 125, 625};
constexpr std::uint64_t powers_of_ten[] = {1, 10, 100, 1000, 10000};
static_assert(std::size(powers_of_five) == fixed_decimal_most_precision + 1);

constexpr int significand_bits = 52;
constexpr int exponent_bias = 1075;  // of the significand taken as an integer
// Past it the whole part would not fit the 63 bits it is worked out in.
constexpr int largest_exponent = 63 - (significand_bits + 1);

inline constexpr char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// t / 2^shift rounded to the nearest integer, a tie so that the last digit
// printed is even: the default rounding of printf on the exact value. With no
// decimals that digit is the whole part's, odd or not as whole_odd says.
inline std::uint64_t divide_rounded(std::uint64_t t, int shift, bool whole_odd) {
    if (shift <= 0) return t << -shift;
    // t < 2^63 here, so from 2^64 on the quotient is below one half.
    if (shift >= 64) return 0;
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const std::uint64_t last_odd = ((t >> shift) & 1) ^ (whole_odd ? 1 : 0);
    // t + half rounds a tie up; less one, down; the odd case adds it back. No
    // overflow: t < 2^63 and half <= 2^62.
    return (t + half - 1 + last_odd) >> shift;
}

// How many digits the whole part takes.
inline int whole_digits(std::uint64_t number) {
    int digits = 1;
    while (number >= 100) {
        number /= 100;
        digits += 2;
    }
    return number >= 10 ? digits + 1 : digits;
}

// Writes the whole part's digits backwards, the last at end[-1].
inline char* put_whole_before(char* end, std::uint64_t number) {
    char* at = end;
    while (number >= 100) {
        at -= 2;
        std::memcpy(at, digit_pairs + 2 * (number % 100), 2);
        number /= 100;
    }
    if (number >= 10) {
        at -= 2;
        std::memcpy(at, digit_pairs + 2 * number, 2);
    } else {
        *--at = static_cast<char>('0' + number);
    }
    return at;
}

// A value as "%.<Precision>f" rounds it: its sign, whole part and decimals.
struct Rounded {
    std::uint64_t whole;
    std::uint64_t decimals;
    bool negative;
};

// false for a value the integer path cannot take.
template <int Precision>
bool round(double value, Rounded& rounded) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto biased_exponent = static_cast<int>((bits >> significand_bits) & 0x7FF);
    const std::uint64_t fraction_bits = bits & ((std::uint64_t{1} << significand_bits) - 1);
    // value = significand * 2^exponent, exactly. Infinity and NaN have the
    // largest biased exponent, and so an exponent past the largest.
    const std::uint64_t significand =
        biased_exponent == 0 ? fraction_bits : fraction_bits | (std::uint64_t{1} << significand_bits);
    const int exponent = (biased_exponent == 0 ? 1 : biased_exponent) - exponent_bias;
    if (exponent > largest_exponent) return false;

    std::uint64_t whole = 0;
    std::uint64_t decimals = 0;
    if (exponent >= 0) {
        whole = significand << exponent;
    } else {
        const int shift = -exponent;
        whole = shift >= 64 ? 0 : significand >> shift;
        const std::uint64_t fraction = shift >= 64 ? significand : significand & ((std::uint64_t{1} << shift) - 1);
        // fraction / 2^shift * 10^p = fraction * 5^p / 2^(shift - p), and
        // fraction * 5^p < 2^53 * 5^4 < 2^63.
        const bool whole_odd = Precision == 0 && (whole & 1) != 0;
        decimals = divide_rounded(fraction * powers_of_five[Precision], shift - Precision, whole_odd);
        if (decimals == powers_of_ten[Precision]) {
            ++whole;
            decimals = 0;
        }
    }
    rounded = {whole, decimals, (bits >> 63) != 0};
    return true;
}

constexpr double scales[] = {1.0, 10.0, 100.0, 1000.0, 10000.0};
static_assert(std::size(scales) == fixed_decimal_most_precision + 1);
// Below it every midway point n + 1/2 between two integers is a double.
constexpr double largest_product = 0x1p52;
// Added to a double below it, leaves its nearest integer in the significand.
constexpr double integer_shift = 0x1p52;

// The common case of round() with one multiplication: the magnitude times
// 10^Precision rounded to an integer, into scaled. The product of the magnitude
// and 10^Precision (an exact power of ten) is the exact product rounded once;
// rounding never passes a double, and the midway point above the product's whole
// part is one, so unless the product lands on it, it lies on the same side of it
// as the exact product: both round to the same integer, and no tie arises.
// false for a product on a midway point, a large one, or a value that is not
// finite: round() decides those.
template <int Precision>
bool scale_by_product(double value, std::uint64_t& scaled) {
    const double product = std::abs(value) * scales[Precision];
    if (!(product < largest_product)) return false;
    // Between 2^52 and 2^53 the doubles are the integers: the sum is the
    // product's nearest integer plus 2^52, its significand that integer. The
    // integer goes on to the digits while the check for a midway point runs
    // beside it.
    const double shifted = product + integer_shift;
    scaled = std::bit_cast<std::uint64_t>(shifted) - std::bit_cast<std::uint64_t>(integer_shift);
    // Both exact: the sum less 2^52 is that integer, and it lies within one
    // half of the product.
    const double nearest = shifted - integer_shift;
    return std::abs(product - nearest) != 0.5;
}

// The scaled values put_eight_digits takes.
constexpr std::uint64_t eight_digits_end = 100000000;
// The least value of each number of digits, 1 to 8.
constexpr std::uint64_t eight_digit_steps[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

// The eight decimal digits of number (below 10^8), leading zeros included, as
// values 0 to 9 in the bytes of a word, the first digit in the lowest: worked out in
// lanes side by side (halves of four digits, then quarters of two, then single
// digits), with a multiplication and shift in place of each division.
inline std::uint64_t eight_digits(std::uint64_t number) {
    const std::uint64_t halves = number / 10000 | (number % 10000) << 32;
    // x / 100 = x * 5243 >> 19 for x below 43,699; no lane's product reaches the next.
    const std::uint64_t hundreds = (halves * 5243 >> 19) & 0x0000007F0000007FULL;
    const std::uint64_t quarters = hundreds | (halves - hundreds * 100) << 16;
    // x / 10 = x * 103 >> 10 for x below 179.
    const std::uint64_t tens = (quarters * 103 >> 10) & 0x000F000F000F000FULL;
    return tens | (quarters - tens * 10) << 8;
}

// Writes the text of a scaled value below 10^8 at out from its eight digits in
// two stores: the whole part's digits without their leading zeros (but one),
// then the point and the decimals over what the first store put past the whole
// part. Up to eight bytes past the text's end are written, and then not used.
template <int Precision>
char* put_eight_digits(char* out, std::uint64_t scaled, bool negative) {
    constexpr int whole_most = 8 - Precision;
    *out = '-';
    char* const at = out + (negative ? 1 : 0);
    // The whole part's leading zeros, but its last digit, counted from the
    // value itself, so the text's end is known before its digits.
    int dropped = whole_most - 1;
    for (int digit = Precision + 1; digit < 8; ++digit) dropped -= scaled >= eight_digit_steps[digit] ? 1 : 0;
    const std::uint64_t digits = eight_digits(scaled) + 0x3030303030303030ULL;
    const std::uint64_t shown = digits >> (8 * dropped);
    std::memcpy(at, &shown, sizeof shown);
    char* const whole_end = at + (whole_most - dropped);
    if constexpr (Precision == 0) {
        return whole_end;
    } else {
        const std::uint64_t point_and_decimals = '.' | (digits >> (8 * whole_most)) << 8;
        std::memcpy(whole_end, &point_and_decimals, sizeof point_and_decimals);
        return whole_end + 1 + Precision;
    }
}

// Writes the text backwards, its last character at end[-1], and returns its start.
template <int Precision>
char* put_before(char* end, Rounded rounded) {
    char* at = end;
    if constexpr (Precision > 0) {
        for (int digit = 0; digit + 1 < Precision; digit += 2) {
            at -= 2;
            std::memcpy(at, digit_pairs + 2 * (rounded.decimals % 100), 2);
            rounded.decimals /= 100;
        }
        if constexpr (Precision % 2 == 1) *--at = static_cast<char>('0' + rounded.decimals);
        *--at = '.';
    }
    at = put_whole_before(at, rounded.whole);
    if (rounded.negative) *--at = '-';
    return at;
}

// Writes the text at out: the length is known before the first digit, so the
// digits go straight to their places.
template <int Precision>
char* put_rounded(char* out, Rounded rounded) {
    char* const end =
        out + (rounded.negative ? 1 : 0) + whole_digits(rounded.whole) + (Precision > 0 ? Precision + 1 : 0);
    put_before<Precision>(end, rounded);
    return end;
}

template <int Precision>
char* put(char* out, double value) {
    std::uint64_t scaled = 0;
    if (scale_by_product<Precision>(value, scaled)) {
        const bool negative = std::signbit(value);
        if (scaled < eight_digits_end) return put_eight_digits<Precision>(out, scaled, negative);
        return put_rounded<Precision>(
            out, {scaled / powers_of_ten[Precision], scaled % powers_of_ten[Precision], negative});
    }
    Rounded rounded;
    if (!round<Precision>(value, rounded)) return nullptr;
    return put_rounded<Precision>(out, rounded);
}

}  // namespace fixed_decimal_detail

// Writes what "%.<precision>f" makes of the value at out, exactly as printf
// does (the binary value rounded, a tie to even), and returns the text's end;
// out needs room for fixed_decimal_longest characters, since what lies there
// past the text's end may be written over. Returns nullptr, writing nothing,
// when the value is not finite, not below 2^63 in magnitude, or the precision
// is not between 0 and fixed_decimal_most_precision.
inline char* put_fixed_decimal(char* out, double value, int precision) {
    using fixed_decimal_detail::put;
    switch (precision) {
        case 0: return put<0>(out, value);
        case 1: return put<1>(out, value);
        case 2: return put<2>(out, value);
        case 3: return put<3>(out, value);
        case 4: return put<4>(out, value);
        default: return nullptr;
    }
}

// put_fixed_decimal for one precision, for a writer that puts out many numbers
// of it; nullptr for a precision it does not take.
using FixedDecimalWriter = char* (*)(char* out, double value);
inline FixedDecimalWriter fixed_decimal_writer(int precision) {
    using fixed_decimal_detail::put;
    switch (precision) {
        case 0: return &put<0>;
        case 1: return &put<1>;
        case 2: return &put<2>;
        case 3: return &put<3>;
        case 4: return &put<4>;
        default: return nullptr;
    }
}

// The same appended to a text; false, appending nothing, where put_fixed_decimal
// gives nullptr.
inline bool append_fixed_decimal(std::string& out, double value, int precision) {
    char text[fixed_decimal_longest];
    const char* const end = put_fixed_decimal(text, value, precision);
    if (end == nullptr) return false;
    out.append(text, static_cast<std::size_t>(end - text));
    return true;
}
