// Telling whether a library file is still the one an editor read.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "content_hash.h"
#include "file_snapshot.h"
#include "file_system.h"
#include "host_run.h"

namespace {

FileSnapshot snapshot_of(const std::string& path) {
    std::string content;
    std::string error;
    FileSnapshot snapshot;
    EXPECT_TRUE(read_library_file(path, content, snapshot, error)) << error;
    return snapshot;
}

TEST(FileSnapshot, AFileRewrittenInPlaceWithTheSameSizeAndTimeIsStillSeenChanged) {
    ScratchDirectory folder;
    const std::string path = folder.file("cut_methods.dat");
    folder.write("cut_methods.dat", "DATA|A|MILL|n|d\r\n");
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    const FileSnapshot snapshot = snapshot_of(path);
    EXPECT_FALSE(changed_since(path, snapshot));

    // Another session writes as much, in the same inode, and the clock shows no difference.
    folder.write("cut_methods.dat", "DATA|B|MILL|n|d\r\n");
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_TRUE(changed_since(path, snapshot));
}

TEST(FileSnapshot, AReplacedFileIsChangedAMissingOneIsNot) {
    ScratchDirectory folder;
    const std::string path = folder.file("tool_materials.dat");
    folder.write("tool_materials.dat", "DATA|A|n|d\r\n");
    const FileSnapshot snapshot = snapshot_of(path);
    folder.write("other", "DATA|A|n|d\r\n");
    std::filesystem::rename(folder.file("other"), path);
    EXPECT_TRUE(changed_since(path, snapshot));

    std::filesystem::remove(path);
    EXPECT_FALSE(changed_since(path, snapshot));
    EXPECT_FALSE(changed_since(path, FileSnapshot{}));
}

TEST(FileSnapshot, AReadErrorIsAFailureNotAShortFile) {
    ScratchDirectory folder;
    folder.write("feeds_speeds.dat", std::string(200000, 'x'));
    file_system::fail_call(file_system::Call::read, 2, EIO);
    std::string content;
    std::string error;
    FileSnapshot snapshot;
    EXPECT_FALSE(read_library_file(folder.file("feeds_speeds.dat"), content, snapshot, error));
    EXPECT_NE(error.find("Input/output error"), std::string::npos) << error;
    file_system::clear_faults();
}

// The check reads a large file piece by piece: a change in its last piece,
// behind the same size and time, is still seen, an unchanged file is not, and
// a read error leaves the file to the save.
TEST(FileSnapshot, ALargeFileIsCheckedToItsLastByte) {
    ScratchDirectory folder;
    const std::string path = folder.file("feeds_speeds.dat");
    std::string content(300001, 'x');
    folder.write("feeds_speeds.dat", content);
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    const FileSnapshot snapshot = snapshot_of(path);
    EXPECT_FALSE(changed_since(path, snapshot));

    content.back() = 'y';
    folder.write("feeds_speeds.dat", content);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_TRUE(changed_since(path, snapshot));

    file_system::fail_call(file_system::Call::read, 3, EIO);
    EXPECT_FALSE(changed_since(path, snapshot));
    file_system::clear_faults();
}

// A file written in pieces is hashed piece by piece; wherever the pieces break,
// the hash is the one a load takes of the whole file.
TEST(ContentStreamHash, AnySplitGivesTheWholeContentsHash) {
    std::string text;
    for (int length = 0; length <= 40; ++length) {
        for (std::size_t first = 0; first <= text.size(); ++first) {
            for (std::size_t second = first; second <= text.size(); second += 3) {
                ContentStreamHash hash;
                const std::string_view whole(text);
                hash.add(whole.substr(0, first));
                hash.add(whole.substr(first, second - first));
                hash.add(whole.substr(second));
                ASSERT_EQ(hash.value(), content_hash(text)) << length << " " << first << " " << second;
            }
        }
        text += static_cast<char>('a' + length % 26 + (length % 7 == 0 ? 128 : 0));
    }
    EXPECT_NE(content_hash("ab"), content_hash(std::string_view("ab\0", 3)));
}

}  // namespace
