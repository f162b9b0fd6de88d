// Replacing a library file's content so that a failed save never costs the old
// file: the new content goes to a new file beside it, checked, flushed to disk,
// and renamed over the old one in one step, keeping its permissions. A symbolic
// link is followed and its target replaced. Where the directory lets the user
// write the file but not create one beside it, the file is rewritten in place,
// every write checked and the old content put back if one fails.
#pragma once

#include <string>
#include <string_view>

// True when the file now holds the content. On false, error says why and the
// file is as it was.
bool replace_file_content(const std::string& path, std::string_view content, std::string& error);
