#include "fixed_decimal.h"

#include <bit>
#include <charconv>
#include <cstdint>

namespace {

constexpr std::uint64_t powers_of_five[] = {1, 5, 25, 125, 625};
constexpr std::uint64_t powers_of_ten[] = {1, 10, 100, 1000, 10000};
static_assert(std::size(powers_of_five) == fixed_decimal_most_precision + 1);

constexpr int significand_bits = 52;
constexpr int exponent_bias = 1075;  // of the significand taken as an integer

// t / 2^shift rounded to the nearest integer, a tie so that the last digit
// printed is even: the default rounding of printf on the exact value. With no
// decimals that digit is the whole part's, odd or not as whole_odd says.
std::uint64_t divide_rounded(std::uint64_t t, int shift, bool whole_odd) {
    if (shift <= 0) return t << -shift;
    // t < 2^63 here, so from 2^64 on the quotient is below one half.
    if (shift >= 64) return 0;
    const std::uint64_t quotient = t >> shift;
    const std::uint64_t remainder = t & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const bool last_odd = ((quotient & 1) != 0) != whole_odd;
    const bool up = remainder > half || (remainder == half && last_odd);
    return quotient + (up ? 1 : 0);
}

}  // namespace

bool append_fixed_decimal(std::string& out, double value, int precision) {
    if (precision < 0 || precision > fixed_decimal_most_precision) return false;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const auto biased_exponent = static_cast<int>((bits >> significand_bits) & 0x7FF);
    if (biased_exponent == 0x7FF) return false;  // infinity or NaN
    const std::uint64_t fraction_bits = bits & ((std::uint64_t{1} << significand_bits) - 1);
    // value = significand * 2^exponent, exactly.
    const std::uint64_t significand =
        biased_exponent == 0 ? fraction_bits : fraction_bits | (std::uint64_t{1} << significand_bits);
    const int exponent = (biased_exponent == 0 ? 1 : biased_exponent) - exponent_bias;
    // Past 2^63 the whole part would not fit the integer it is printed from.
    if (exponent > 63 - (significand_bits + 1)) return false;

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
        const bool whole_odd = precision == 0 && (whole & 1) != 0;
        decimals = divide_rounded(fraction * powers_of_five[precision], shift - precision, whole_odd);
        if (decimals == powers_of_ten[precision]) {
            ++whole;
            decimals = 0;
        }
    }

    char text[48];
    char* at = text;
    if (negative) *at++ = '-';
    at = std::to_chars(at, text + sizeof text, whole).ptr;
    if (precision > 0) {
        *at++ = '.';
        for (int digit = precision - 1; digit >= 0; --digit) {
            at[digit] = static_cast<char>('0' + decimals % 10);
            decimals /= 10;
        }
        at += precision;
    }
    out.append(text, at);
    return true;
}
