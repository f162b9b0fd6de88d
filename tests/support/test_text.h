// Small helpers for texts in tests.
#pragma once

#include <string>

// The text with every "\n" turned into "\r\n", as files are written.
std::string crlf(const std::string& text);

// UTF-8 test literals in the code page the plug-ins write.
std::string cp1251(const std::string& utf8);

// Sets the process locale to one whose decimal separator is a comma (generating
// it when the machine lacks it); returns its name, or "" when that cannot be done.
std::string ensure_decimal_comma_locale();
// Where a generated locale lives ("" when the system has it): a child process
// needs LOCPATH to find it.
std::string generated_locale_path();
