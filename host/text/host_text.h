// Text helpers both front-ends and the host library share: the code page the
// plug-ins speak, the quoted texts of transcripts and scripts, and real numbers
// as the user reads them. Texts on the host's side are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ughost {

// The plug-ins speak code page 1251; the host, its front-ends and its files speak
// UTF-8. A byte the code page leaves unassigned (0x98) becomes the private-use
// character U+F700 + byte, which utf8_to_cp1251 turns back into that byte.
std::string cp1251_to_utf8(std::string_view text);

// Nothing when the text holds a character the code page cannot hold, or is not
// valid UTF-8 (overlong forms and surrogates included): such input is refused,
// never mangled.
std::optional<std::string> utf8_to_cp1251(std::string_view text);

// Quotes a text with C escapes (\n \r \t \" \\ and \xNN for other control bytes).
std::string quote(std::string_view text);
// Reads a whole "quoted text" with the escapes a person types (\n \r \t \" \\);
// nothing when it is malformed.
std::optional<std::string> unquote(std::string_view text);

// A real number in its shortest exact form (2.5, 0.1, 100).
std::string format_real(double value);

}  // namespace ughost
