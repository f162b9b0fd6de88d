// The text a user looks for in a list's lines (the filter above a list, the
// type-ahead in it), found whatever its case. Lines are searched in the host's
// UTF-8 as they stand, so a list of a million lines is searched without a
// QString made for each line.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace ughost {

class LineSearch {
public:
    explicit LineSearch(const QString& text = {});

    bool empty() const { return text_.empty(); }
    // An empty text is found in every line.
    bool found_in(std::string_view line) const;
    bool starts(std::string_view line) const;
    // Every line this text is found in holds the other text too (this one was
    // typed on from it), so only the lines that held the other need searching.
    bool narrows(const LineSearch& other) const { return text_.find(other.text_) != std::string::npos; }

private:
    static std::string_view fold(std::string_view text, std::size_t limit, std::string& buffer);

    std::string text_;  // UTF-8, case folded
    // Where a line is folded, reused from line to line: searching costs no
    // allocation per line.
    mutable std::string folded_;
};

}  // namespace ughost
