// printf-style formatting and number reading that do not depend on the process
// locale: a library file written under a Russian locale must still say "2.540".
//
//   format_text("%.20s|%.3lf", row.LIBRF, row.DPT_CUT_MM)
//
// Conversions: %s, %d, %i, %ld, %f, %lf and %%, with the flags '-' and '0', a
// width and a precision, as in C.
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>

#include "fixed_decimal.h"

class FormatArg {
public:
    enum class Kind { text, integer, real };

    FormatArg(const char* text) : kind_(Kind::text), text_(text == nullptr ? "" : text) {}
    FormatArg(const std::string& text) : kind_(Kind::text), text_(text) {}
    FormatArg(std::string_view text) : kind_(Kind::text), text_(text) {}
    FormatArg(int number) : kind_(Kind::integer), integer_(number) {}
    FormatArg(long number) : kind_(Kind::integer), integer_(number) {}
    FormatArg(double number) : kind_(Kind::real), real_(number) {}

    Kind kind() const { return kind_; }
    std::string_view text() const { return text_; }
    long integer() const { return integer_; }
    double real() const { return real_; }

private:
    Kind kind_;
    std::string_view text_;
    long integer_ = 0;
    double real_ = 0.0;
};

std::string format_args(const char* format, std::initializer_list<FormatArg> args);

// What append_fixed makes of the values the integer path leaves (std::to_chars).
void append_fixed_general(std::string& out, double value, int precision);

template <class... Args>
std::string format_text(const char* format, const Args&... args) {
    return format_args(format, {FormatArg(args)...});
}

// Appends what "%.<precision>f" makes of the value, without a temporary text:
// the writer of a million-row table calls it for every number.
inline void append_fixed(std::string& out, double value, int precision) {
    if (!append_fixed_decimal(out, value, precision)) append_fixed_general(out, value, precision);
}

namespace number_reading_detail {
// read_number's two ways, which give the same double wherever the first applies.
// The short way: an empty text, or a plain decimal ("-12.500", ".5", "3.") whose
// digits make an integer of at most 2^53, read with one division by an exact
// power of ten, which IEEE arithmetic rounds as correctly as any reader (Clinger's
// fast path); false where it does not apply. Inline: a load reads five numbers a row.
inline bool read_plain_decimal(std::string_view text, double& value) {
    static_assert(std::numeric_limits<double>::is_iec559 && FLT_EVAL_METHOD == 0,
                  "one correctly rounded division needs IEEE doubles without wider intermediates");
    // Every power of ten up to 10^22 is a double exactly (5^22 < 2^53).
    static constexpr double exact_powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr std::uint64_t largest_exact_integer = std::uint64_t{1} << 53;
    // Digits that always fit a 64-bit integer.
    constexpr std::ptrdiff_t most_digits = 19;
    const auto digit = [](char c) { return static_cast<unsigned>(static_cast<unsigned char>(c) - '0'); };
    // An empty field, the most common number of all, is no number: 0.
    if (text.empty()) {
        value = 0.0;
        return true;
    }
    const char* at = text.data();
    const char* const end = at + text.size();
    const bool negative = *at == '-';
    if (*at == '-' || *at == '+') ++at;
    std::uint64_t digits_value = 0;
    const char* const whole_start = at;
    for (; at != end && digit(*at) < 10; ++at) digits_value = digits_value * 10 + digit(*at);
    std::ptrdiff_t digits = at - whole_start;
    std::ptrdiff_t fraction_digits = 0;
    if (at != end && *at == '.') {
        const char* const fraction_start = ++at;
        for (; at != end && digit(*at) < 10; ++at) digits_value = digits_value * 10 + digit(*at);
        fraction_digits = at - fraction_start;
        digits += fraction_digits;
    }
    // No digit (a blank, a second sign, "inf"), too many, or an exponent: the general way.
    if (digits <= 0 || digits > most_digits || digits_value > largest_exact_integer) return false;
    if (at != end && (*at == 'e' || *at == 'E')) return false;
    const double magnitude = static_cast<double>(digits_value) / exact_powers_of_ten[fraction_digits];
    value = negative ? -magnitude : magnitude;
    return true;
}
// The general way: any text, as strtod reads it.
double read_any_number(std::string_view text);
}  // namespace number_reading_detail

// The number at the start of a text, as the C library's atof reads it: leading
// blanks skipped, reading stops at the first character that cannot continue the
// number, 0 when there is none.
inline double read_number(std::string_view text) {
    double value;
    if (number_reading_detail::read_plain_decimal(text, value)) return value;
    return number_reading_detail::read_any_number(text);
}

// The text with the Latin letters a to z in upper case; every other byte, the
// Cyrillic of code page 1251 included, stays as it is.
std::string upper_latin(std::string text);
