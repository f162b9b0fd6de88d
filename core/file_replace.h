// Replacing a library file's content so that a failed save never costs the old
// file.
//
// The new content goes to a new file beside the old one, which takes the old
// one's owner, group and permissions, is flushed to disk and renamed over it in
// one step. Where that would lose something, the file is rewritten in place
// instead: when the folder takes no new files, when the new file cannot have
// the old one's owner and group (a colleague's file in a shared folder), when
// the file has a second name (a hard link would keep the old content), or when
// the rename is barred (another user's file in a sticky folder). An in-place
// rewrite checks every call, puts the old content back if one fails, and keeps
// a copy of the old content in the save journal while it writes, so that a
// crash halfway can be repaired at the next load.
//
// Symbolic links are followed only where the kernel's protected-links rule
// would follow them, and their target is replaced.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// New content handed out in pieces, in order, to write; false when a write
// failed (the content then stops).
using ContentWriter = std::function<bool(std::string_view piece)>;
using ContentPieces = std::function<bool(const ContentWriter& write)>;

// True when the file now holds the content. On false, error says why and the
// file is as it was.
bool replace_file_content(const std::string& path, std::string_view content, std::string& error);
// The same for content made piece by piece, which the usual replacement never
// holds whole; only a rewrite in place gathers it first.
bool replace_file_content(const std::string& path, const ContentPieces& content, std::string& error);

// The same, for putting back the old content an interrupted save's journal
// holds: the journal entry is left as it is, so that a crash now still finds it.
bool restore_file_content(const std::string& path, std::string_view content, std::string& error);
