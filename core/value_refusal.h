// What a library file cannot hold in a text field, decided in one place for the
// editors' fields and for values brought in from spreadsheets: a "|" would split
// the field, a "#" turns the data line into a comment, a line break ends it, and
// a save keeps only so many characters.
#pragma once

#include <cstddef>
#include <string_view>

enum class TextRefusal { none, forbidden_character, too_long };

TextRefusal text_refusal(std::string_view value, std::size_t max_length);
