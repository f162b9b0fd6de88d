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

private:
    // The line's first characters, case folded, in scratch_: at least limit code
    // units of them where the line has as many.
    std::u16string_view folded(std::string_view line, std::size_t limit) const;

    std::u16string text_;  // case folded
    // Reused from line to line: searching costs no allocation per line.
    mutable std::u16string scratch_;
};

}  // namespace ughost
