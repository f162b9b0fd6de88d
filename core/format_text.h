// printf-style formatting and number reading that do not depend on the process
// locale: a library file written under a Russian locale must still say "2.540".
//
//   format_text("%.20s|%.3lf", row.LIBRF, row.DPT_CUT_MM)
//
// Conversions: %s, %d, %i, %ld, %f, %lf and %%, with the flags '-' and '0', a
// width and a precision, as in C.
#pragma once

#include <initializer_list>
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

// The number at the start of a text, as the C library's atof reads it: leading
// blanks skipped, reading stops at the first character that cannot continue the
// number, 0 when there is none.
double read_number(std::string_view text);

namespace number_reading_detail {
// read_number's two ways, which give the same double wherever the first applies.
// The short way: an empty text, or a plain decimal ("-12.500", ".5", "3.") whose
// digits make an integer of at most 2^53, read with one division by an exact
// power of ten, which IEEE arithmetic rounds as correctly as any reader (Clinger's
// fast path); false where it does not apply.
bool read_plain_decimal(std::string_view text, double& value);
// The general way: any text, as strtod reads it.
double read_any_number(std::string_view text);
}  // namespace number_reading_detail

// The text with the Latin letters a to z in upper case; every other byte, the
// Cyrillic of code page 1251 included, stays as it is.
std::string upper_latin(std::string text);
