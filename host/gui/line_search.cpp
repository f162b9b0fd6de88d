#include "line_search.h"

#include <QChar>
#include <QList>

namespace ughost {
namespace {

// One character of UTF-8 at pos, which moves past it. The host's lines are valid
// UTF-8; a byte that does not start a whole character stands for itself.
char32_t next_character(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || pos + length > text.size()) {
        ++pos;
        return lead;
    }
    char32_t character = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) character = (character << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    pos += length;
    return character;
}

// The line and the text are folded alike, a character at a time: the text typed
// in Qt's UTF-16, the lines in the host's UTF-8.
char32_t fold(char32_t character) {
    if (character < 0x80) return character >= 'A' && character <= 'Z' ? character + ('a' - 'A') : character;
    return QChar::toCaseFolded(character);
}

void append(std::u16string& out, char32_t character) {
    if (QChar::requiresSurrogates(character)) {
        out.push_back(QChar::highSurrogate(character));
        out.push_back(QChar::lowSurrogate(character));
    } else {
        out.push_back(static_cast<char16_t>(character));
    }
}

}  // namespace

LineSearch::LineSearch(const QString& text) {
    for (const char32_t character : text.toUcs4()) append(text_, fold(character));
}

std::u16string_view LineSearch::folded(std::string_view line, std::size_t limit) const {
    scratch_.clear();
    for (std::size_t pos = 0; pos < line.size() && scratch_.size() < limit;) {
        append(scratch_, fold(next_character(line, pos)));
    }
    return scratch_;
}

bool LineSearch::found_in(std::string_view line) const {
    return empty() || folded(line, std::u16string::npos).find(text_) != std::u16string_view::npos;
}

bool LineSearch::starts(std::string_view line) const { return folded(line, text_.size()).starts_with(text_); }

}  // namespace ughost
