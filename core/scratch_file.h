// The new file a save writes beside the one it replaces, then renames over it.
//
//   std::string scratch;
//   const int fd = create_scratch_file(target, 0600, scratch, error);
//   ... write through fd ...
//   if (!commit_scratch_file(fd, scratch, target, error)) ...   // the scratch file is gone
//
// A scratch file is named after the file it replaces and the process writing
// it (".feeds_speeds.dat.saving-1234"), so a save that was killed leaves a name
// the next save recognises: create_scratch_file removes the leftovers of
// processes that no longer run before it makes its own.
#pragma once

#include <sys/types.h>

#include <string>

// The descriptor of a new, empty scratch file for final_path, or -1 with errno
// set and error saying why.
int create_scratch_file(const std::string& final_path, mode_t mode, std::string& scratch_path, std::string& error);

// Flushes and closes the scratch file and renames it to final_path. On false
// the scratch file is removed, errno holds the failed call's error and error
// says why.
bool commit_scratch_file(int fd, const std::string& scratch_path, const std::string& final_path, std::string& error);

// Closes and removes a scratch file that will not be used.
void discard_scratch_file(int fd, const std::string& scratch_path);

// The folder a path lies in ("." for a bare name).
std::string folder_of(const std::string& path);
