// Where the launcher finds a plug-in library: the value of a search variable,
// the application folder and the library's file name. The host's home platform
// writes "\application\" and ".dll"; the separator and the suffix here are this
// platform's, and this is the only place that knows them.
#pragma once

#include <string>
#include <string_view>

// "ratomir" -> "ratomir.so"
std::string library_file_name(std::string_view stem);

// The value is used as it stands, followed by "/application/" and the file name;
// a value that already ends with its separator gives a doubled one, which the
// system reads as one.
std::string library_path(std::string_view directory, std::string_view file_name);
