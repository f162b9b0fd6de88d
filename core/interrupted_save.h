// The load's side of the save journal: a file whose in-place save was cut
// short while it was being written holds neither its old nor its new content.
// The user is told and may have the old content back.
//
//   std::string bytes = ...the file's bytes...;
//   repair_interrupted_save(path, bytes);   // then read the table from bytes
#pragma once

#include <string>

// True when content was replaced by the old content the journal kept, which
// the file now holds again. A journal entry that the file's content shows to be
// stale is dropped; one the user declines to use is kept for the next load.
bool repair_interrupted_save(const std::string& path, std::string& content);

// Whether the journal holds a save of the file at path that did not finish:
// only then does a load need the file's content whole.
bool interrupted_save_left(const std::string& path);
