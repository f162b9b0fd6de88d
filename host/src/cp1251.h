// The plug-ins speak code page 1251; the host, its front-ends and its files speak UTF-8.
// Conversion happens here and only here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ughost {

// A byte the code page leaves unassigned (0x98) becomes the private-use
// character U+F700 + byte, which utf8_to_cp1251 turns back into that byte.
std::string cp1251_to_utf8(std::string_view text);

// Nothing when the text holds a character the code page cannot hold, or is not
// valid UTF-8 (overlong forms and surrogates included): such input is refused,
// never mangled.
std::optional<std::string> utf8_to_cp1251(std::string_view text);

}  // namespace ughost
