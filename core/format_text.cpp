#include "format_text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

struct Directive {
    bool left = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
    char conversion = 0;
};

// Reads the conversion that starts after a '%'; returns the position after it.
const char* read_directive(const char* p, Directive& directive) {
    for (;; ++p) {
        if (*p == '-') {
            directive.left = true;
        } else if (*p == '0') {
            directive.zero = true;
        } else {
            break;
        }
    }
    while (*p >= '0' && *p <= '9') directive.width = directive.width * 10 + (*p++ - '0');
    if (*p == '.') {
        directive.precision = 0;
        ++p;
        while (*p >= '0' && *p <= '9') directive.precision = directive.precision * 10 + (*p++ - '0');
    }
    while (*p == 'l' || *p == 'h') ++p;
    directive.conversion = *p;
    return *p == '\0' ? p : p + 1;
}

void pad(std::string& out, std::string_view body, const Directive& directive, bool numeric) {
    const auto width = static_cast<std::size_t>(directive.width);
    if (body.size() >= width) {
        out += body;
        return;
    }
    const std::size_t fill = width - body.size();
    if (directive.left) {
        out += body;
        out.append(fill, ' ');
    } else if (directive.zero && numeric) {
        const bool signed_body = !body.empty() && body[0] == '-';
        if (signed_body) out += '-';
        out.append(fill, '0');
        out += signed_body ? body.substr(1) : body;
    } else {
        out.append(fill, ' ');
        out += body;
    }
}

std::string fixed(double value, int precision) {
    std::string text;
    append_fixed(text, value, precision);
    return text;
}

}  // namespace

void append_fixed_general(std::string& out, double value, int precision) {
    if (std::isnan(value)) {
        out += "nan";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-inf" : "inf";
        return;
    }
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    out.append(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

std::string format_args(const char* format, std::initializer_list<FormatArg> args) {
    std::string out;
    auto next = args.begin();
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        Directive directive;
        p = read_directive(p + 1, directive);
        if (directive.conversion == '%') {
            out += '%';
            continue;
        }
        // A conversion without an argument, or of the wrong kind, prints nothing:
        // formats are the system's own literals, so this is a programming error
        // that must not read past the arguments.
        if (next == args.end()) continue;
        const FormatArg& arg = *next++;
        switch (directive.conversion) {
            case 's': {
                std::string_view text = arg.kind() == FormatArg::Kind::text ? arg.text() : std::string_view();
                text = text.substr(0, std::min(text.find('\0'), text.size()));
                if (directive.precision >= 0 && text.size() > static_cast<std::size_t>(directive.precision)) {
                    text = text.substr(0, static_cast<std::size_t>(directive.precision));
                }
                pad(out, text, directive, false);
                break;
            }
            case 'd':
            case 'i': {
                const long number = arg.kind() == FormatArg::Kind::integer ? arg.integer() : 0;
                pad(out, std::to_string(number), directive, true);
                break;
            }
            case 'f':
            case 'F': {
                const double number = arg.kind() == FormatArg::Kind::real ? arg.real() : 0.0;
                pad(out, fixed(number, directive.precision < 0 ? 6 : directive.precision), directive, true);
                break;
            }
            default:
                break;
        }
    }
    return out;
}

namespace number_reading_detail {

double read_any_number(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && text[start] != '\0' && std::strchr(" \t\n\v\f\r", text[start]) != nullptr) {
        ++start;
    }
    text.remove_prefix(start);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // from_chars takes no sign of its own here, so "--1" and "+-1" read as 0, as in C.
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::invalid_argument) return 0.0;
    if (result.ec == std::errc::result_out_of_range) {
        // As strtod: an exponent too small gives 0, one too large gives infinity.
        const std::string_view read(text.data(), static_cast<std::size_t>(result.ptr - text.data()));
        const bool tiny = read.find("e-") != std::string_view::npos || read.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

}  // namespace number_reading_detail

std::string upper_latin(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}
