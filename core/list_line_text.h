// A list line gathered through a pointer and put into the refill's one text in
// one copy. A refill
// writes the line of every row, and an append's own bookkeeping costs more
// than the few bytes most pieces of a line hold; the general formatter would
// also read its format anew for every line.
//
//   ListLineText text(line);  // line is emptied, then written
//   text.put_field(row.LIBRF, 20);
//   text.put("  =  ");
//   text.put_fixed(row.DPT_CUT_MM, 3);
//   // the line ends where the last piece ended when text goes out of scope
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "fixed_decimal.h"
#include "format_text.h"

class ListLineText {
public:
    explicit ListLineText(std::string& line) : line_(line) { line_.clear(); }
    ~ListLineText() { flush(); }
    ListLineText(const ListLineText&) = delete;
    ListLineText& operator=(const ListLineText&) = delete;

    void put(std::string_view piece) {
        if (piece.size() > room()) {
            flush();
            if (piece.size() > sizeof buffer_) {
                line_.append(piece);
                return;
            }
        }
        std::memcpy(at_, piece.data(), piece.size());
        at_ += piece.size();
    }
    // A fixed text field up to its terminator, at most most characters ("%.Ns").
    void put_field(const char* field, std::size_t most) { put(std::string_view(field, strnlen(field, most))); }
    // What "%.<precision>f" makes of the value.
    void put_fixed(double value, int precision) {
        if (room() < fixed_decimal_longest) flush();
        if (char* const end = put_fixed_decimal(at_, value, precision)) {
            at_ = end;
            return;
        }
        flush();
        append_fixed_general(line_, value, precision);
    }

private:
    std::size_t room() const { return static_cast<std::size_t>(buffer_ + sizeof buffer_ - at_); }
    void flush() {
        line_.append(buffer_, static_cast<std::size_t>(at_ - buffer_));
        at_ = buffer_;
    }

    std::string& line_;
    // The line is gathered here and goes into line_ in one copy; a line longer
    // than this, which only numbers of hundreds of digits make, goes in pieces.
    char buffer_[512];
    char* at_ = buffer_;
};
