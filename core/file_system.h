// Every system call the library files go through, in one place, so that a test
// can make any of them fail: the N-th call of a kind fails with a chosen errno
// (or kills the process, to test what a crash leaves behind).
//
//   LIBRARY_IO_FAULTS="read:20:EIO,write:3:KILL"   in the environment of a run
//   file_system::fail_call(file_system::Call::fsync, 1, EIO);   in a test process
//
// Counting starts when the library holding this code is loaded, or at the last
// fail_call / clear_faults.
//
//   LIBRARY_IO_DISK_WAITS=FILE   in the environment of a run
//
// adds up the time the calls wait on the disk, and adds the total to FILE, in
// milliseconds, on a line of its own when the library is unloaded.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace file_system {

// xattr: any of the extended-attribute calls.
enum class Call { open, read, write, fsync, close, rename, ftruncate, fchown, stat, unlink, xattr };

// A fault whose errno is kill_process ends the process with SIGKILL instead.
constexpr int kill_process = -1;

void fail_call(Call call, long nth, int error);
void clear_faults();

int open(const char* path, int flags, mode_t mode = 0);
ssize_t read(int fd, void* buffer, size_t size);
ssize_t pwrite(int fd, const void* buffer, size_t size, off_t offset);
int fsync(int fd);
// Has the disk start writing what was written there, without waiting for it: a
// hint, so that the fsync that follows finds less to write.
void start_writeback(int fd, off_t offset, off_t size);
int close(int fd);
// Closes, on a thread of its own, a descriptor whose close has nothing to
// report. The last close of a file that a rename replaced frees its blocks,
// and a file system that trims freed blocks at once (mounted with discard)
// waits on the disk for that, for as long as the file took to write. A close
// started here has ended before the next one starts, and before the library
// holding this code is unloaded or the process ends.
void close_in_background(int fd);
// Waits for the close last started in the background to end.
void finish_background_close();
int rename(const char* from, const char* to);
int ftruncate(int fd, off_t length);
int fchown(int fd, uid_t owner, gid_t group);
int fchmod(int fd, mode_t mode);
int stat(const char* path, struct stat* status);
int lstat(const char* path, struct stat* status);
int fstat(int fd, struct stat* status);
int unlink(const char* path);
ssize_t flistxattr(int fd, char* names, size_t size);
ssize_t fgetxattr(int fd, const char* name, void* value, size_t size);
int fsetxattr(int fd, const char* name, const void* value, size_t size, int flags);
int fremovexattr(int fd, const char* name);

// Reads to the end of the file; false (errno set) on a read error.
bool read_all(int fd, std::string& content);
// The same, reading straight into content, sized once for the size the file is
// expected to have.
bool read_all(int fd, std::string& content, std::size_t expected_size);
// The same, handing each piece to take as one read returns it (at most 64 KiB),
// so that the file need not be held whole.
bool read_pieces(int fd, const std::function<void(std::string_view)>& take);
// Writes all of it at the offset; false (errno set) when the disk refuses.
bool write_all(int fd, std::string_view content, off_t offset);

}  // namespace file_system
