// Text helpers both front-ends and the host library share: the code page the
// plug-ins speak, the quoted texts of transcripts and scripts, and real numbers
// as the user reads them. Texts on the host's side are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "code_page.h"

namespace ughost {

// The plug-ins speak code page 1251; the host, its front-ends and its files speak UTF-8.
using ::cp1251_to_utf8;
using ::is_ascii;
using ::utf8_to_cp1251;

// Quotes a text with C escapes (\n \r \t \" \\ and \xNN for other control bytes).
std::string quote(std::string_view text);
// Reads a whole "quoted text" with the escapes a person types (\n \r \t \" \\);
// nothing when it is malformed.
std::optional<std::string> unquote(std::string_view text);

// A real number in its shortest exact form (2.5, 0.1, 100).
std::string format_real(double value);

}  // namespace ughost
