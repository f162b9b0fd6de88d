// Converting texts between code page 1251 and UTF-8. Plain standard C++, so that
// the plug-ins' core builds it too.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A byte the code page leaves unassigned (0x98) becomes the private-use
// character U+F700 + byte, which utf8_to_cp1251 turns back into that byte.
std::string cp1251_to_utf8(std::string_view text);
// The same into out, whose storage is reused: the lines of a long list are
// converted one after another through one text.
void cp1251_to_utf8(std::string_view text, std::string& out);

// Whether the text is all ASCII, which reads the same in both: such a text
// needs no conversion (the lines of a long list nearly all are).
bool is_ascii(std::string_view text);

// Nothing when the text holds a character the code page cannot hold, or is not
// valid UTF-8 (overlong forms and surrogates included): such input is refused,
// never mangled.
std::optional<std::string> utf8_to_cp1251(std::string_view text);
