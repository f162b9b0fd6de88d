#include "line_search.h"

#include <QByteArray>
#include <QChar>

#include <array>

namespace ughost {
namespace {

// The lines come through the host from code page 1251: every letter in them is
// ASCII or a two-byte character, which fold through a table made once, so
// searching a long list costs no call into Qt per character.
constexpr char32_t two_byte_end = 0x800;

const std::array<char32_t, two_byte_end>& fold_table() {
    static const std::array<char32_t, two_byte_end> table = [] {
        std::array<char32_t, two_byte_end> folds{};
        for (char32_t character = 0; character < two_byte_end; ++character) {
            folds[character] = QChar::toCaseFolded(character);
        }
        return folds;
    }();
    return table;
}

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
    for (std::size_t i = 1; i < length; ++i) {
        character = (character << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    }
    pos += length;
    return character;
}

char* put_utf8(char* out, char32_t character) {
    if (character < 0x80) {
        *out++ = static_cast<char>(character);
    } else if (character < 0x800) {
        *out++ = static_cast<char>(0xC0 | (character >> 6));
        *out++ = static_cast<char>(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (character >> 12));
        *out++ = static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (character & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (character >> 18));
        *out++ = static_cast<char>(0x80 | ((character >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (character & 0x3F));
    }
    return out;
}

}  // namespace

// The text and the lines are folded alike, a character at a time, up to at least
// limit bytes of the result where the text has as many. No character grows by
// more than a byte folded (a stray byte becomes a two-byte character), so the
// buffer is made large enough once and written without a check per byte.
std::string_view LineSearch::fold(std::string_view text, std::size_t limit, std::string& buffer) {
    if (buffer.size() < 2 * text.size()) buffer.resize(2 * text.size());
    const std::array<char32_t, two_byte_end>& table = fold_table();
    char* const begin = buffer.data();
    char* out = begin;
    for (std::size_t pos = 0; pos < text.size() && static_cast<std::size_t>(out - begin) < limit;) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            *out++ = static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
            ++pos;
            continue;
        }
        const char32_t character = next_character(text, pos);
        out = put_utf8(out, character < two_byte_end ? table[character] : QChar::toCaseFolded(character));
    }
    return {begin, static_cast<std::size_t>(out - begin)};
}

LineSearch::LineSearch(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::string buffer;
    text_ = fold(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), std::string::npos, buffer);
}

bool LineSearch::found_in(std::string_view line) const {
    return empty() || fold(line, std::string::npos, folded_).find(text_) != std::string_view::npos;
}

bool LineSearch::starts(std::string_view line) const { return fold(line, text_.size(), folded_).starts_with(text_); }

}  // namespace ughost
