// Opening a library file. Only a regular file is a library file: a FIFO would
// block the editor, a directory would load as nothing and a device would be
// read until memory runs out. A symbolic link is followed only where the
// kernel's protected-links rule would follow it, so that a link another user
// plants in a shared sticky folder cannot turn a save against one's own files.
#pragma once

#include <sys/types.h>

#include <string>

// The descriptor of the regular file at path, opened with flags (O_CREAT makes
// it where it is missing); -1 with errno set and error saying why. target, when
// given, receives the path the links lead to.
int open_library_file(const std::string& path, int flags, std::string& error, std::string* target = nullptr);

// Where path leads through its symbolic links, refusing the links the rule above
// does not follow; false with error saying why.
bool resolve_library_path(const std::string& path, std::string& target, std::string& error);

// Whether open_library_file succeeds; the file is closed again at once.
bool library_file_opens(const std::string& path, int flags);
