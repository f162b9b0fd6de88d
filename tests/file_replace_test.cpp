// What replace_file_content promises, called directly: on false the file is as
// it was and nothing is left beside it, whichever call failed.
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <vector>

#include "file_replace.h"
#include "file_system.h"
#include "host_run.h"
#include "save_journal.h"

namespace {

namespace fs = std::filesystem;
using file_system::Call;

const std::string old_content = "DATA|old|content\n";
const std::string new_content = "DATA|new|content, longer than the old\r\n";

std::set<std::string> names_in(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// A library file, and the state folder the in-place journal goes to.
class FileReplace : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_STATE_HOME", state.path().c_str(), 1);
        library.write("table.dat", old_content);
    }
    void TearDown() override {
        file_system::clear_faults();
        unsetenv("XDG_STATE_HOME");
    }

    std::string path() const { return library.file("table.dat"); }
    void add_hard_link() const { fs::create_hard_link(path(), library.file("other_name.dat")); }

    ::testing::AssertionResult refused_and_kept(std::set<std::string> files = {"table.dat"}) const {
        std::string error;
        if (replace_file_content(path(), new_content, error)) return ::testing::AssertionFailure() << "saved";
        if (error.empty()) return ::testing::AssertionFailure() << "no reason given";
        if (library.read("table.dat") != old_content) return ::testing::AssertionFailure() << "the file changed";
        if (names_in(library.path()) != files) return ::testing::AssertionFailure() << "a file was left beside";
        if (journal_find(path())) return ::testing::AssertionFailure() << "the journal entry was left";
        return ::testing::AssertionSuccess() << error;
    }

    ScratchDirectory library;
    ScratchDirectory state;
};

// Runs work as the unprivileged user the host runs use, in a child process.
bool as_ordinary_user(const std::function<bool()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// 1. The save by rename.

TEST_F(FileReplace, AReadOnlyFileIsNotReplacedThoughTheFolderIsWritable) {
    if (!runs_unprivileged()) GTEST_SKIP() << "root writes what it likes";
    chmod(path().c_str(), 0444);
    EXPECT_FALSE(as_ordinary_user([&] {
        std::string error;
        return replace_file_content(path(), new_content, error);
    }));
    EXPECT_EQ(library.read("table.dat"), old_content);
    EXPECT_EQ(names_in(library.path()), std::set<std::string>{"table.dat"});
}

TEST_F(FileReplace, AFailedOpenFlushOrCloseOfTheNewFileRefuses) {
    for (const Call call : {Call::open, Call::fsync, Call::close}) {
        SCOPED_TRACE(static_cast<int>(call));
        file_system::fail_call(call, 1, EIO);
        EXPECT_TRUE(refused_and_kept());
    }
}

TEST_F(FileReplace, AFailedLookAtTheOldFileKeepsIt) {
    bool refused = false;
    for (long nth = 1; nth <= 4; ++nth) {
        SCOPED_TRACE(nth);
        file_system::fail_call(Call::stat, nth, EIO);
        std::string error;
        if (replace_file_content(path(), new_content, error)) {
            EXPECT_EQ(library.read("table.dat"), new_content);
            library.write("table.dat", old_content);
        } else {
            refused = true;
            EXPECT_EQ(library.read("table.dat"), old_content);
        }
        EXPECT_EQ(names_in(library.path()), std::set<std::string>{"table.dat"});
    }
    EXPECT_TRUE(refused) << "no failed look at the file stopped the save";
}

// 2. The rewrite in place: the old content comes back whatever fails after it was changed.

TEST_F(FileReplace, AFailedReadWriteTruncateFlushOrCloseInPlacePutsTheOldContentBack) {
    add_hard_link();
    // In place, the journal entry is written first: one write, flush and close of
    // its own, one flush and close of the state folder.
    const struct {
        Call call;
        long nth;
    } faults[] = {{Call::read, 1}, {Call::write, 3}, {Call::ftruncate, 1}, {Call::fsync, 3}, {Call::close, 3}};
    for (const auto& fault : faults) {
        SCOPED_TRACE(static_cast<int>(fault.call));
        file_system::fail_call(fault.call, fault.nth, EIO);
        EXPECT_TRUE(refused_and_kept({"table.dat", "other_name.dat"}));
        EXPECT_EQ(library.read("other_name.dat"), old_content);
    }
}

TEST_F(FileReplace, AnInPlaceSaveThatCannotPutTheOldContentBackKeepsItsCopy) {
    add_hard_link();
    file_system::fail_call(Call::fsync, 3, EIO);  // the rewritten file's
    file_system::fail_call(Call::open, 4, EIO);   // reopening it to put the old content back
    std::string error;
    EXPECT_FALSE(replace_file_content(path(), new_content, error));
    EXPECT_NE(error.find(journal_entry_path(path())), std::string::npos) << error;
    const std::optional<InterruptedSave> kept = journal_find(path());
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->old_content, old_content);
    EXPECT_TRUE(kept->file_is_whole(new_content));
    EXPECT_FALSE(kept->file_is_whole(new_content.substr(1)));
}

// 3. Links, and what killed saves left behind.

TEST_F(FileReplace, ALinkInAStickyFolderIsFollowedOnlyWhenItsOwnerIsTrusted) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to make links of other users";
    ScratchDirectory shared;
    ASSERT_EQ(chown(shared.path().c_str(), 2, 2), 0);
    ASSERT_EQ(chmod(shared.path().c_str(), 01777), 0);
    const std::string link = shared.file("table.dat");
    fs::create_symlink(path(), link);
    for (const uid_t owner : {1u, 2u}) {  // another user, then the folder's owner
        SCOPED_TRACE(owner);
        ASSERT_EQ(lchown(link.c_str(), owner, owner), 0);
        std::string error;
        EXPECT_EQ(replace_file_content(link, new_content, error), owner == 2) << error;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(library.read("table.dat"), owner == 2 ? new_content : old_content);
    }
}

TEST_F(FileReplace, OnlyTheUsersOwnLeftoversOfEndedSavesAreRemoved) {
    const auto ended_process = [] {
        const pid_t ended = fork();
        if (ended == 0) _exit(0);
        waitpid(ended, nullptr, 0);
        return ended;
    };
    const pid_t ended = ended_process();
    const auto leftover = [&](const std::string& file, pid_t writer, uid_t owner) {
        const std::string name = "." + file + ".saving-" + std::to_string(writer);
        library.write(name, "a killed save's new file");
        EXPECT_EQ(lchown(library.file(name).c_str(), owner, owner), 0);
        return name;
    };
    const uid_t user = geteuid();
    leftover("table.dat", ended, user);
    const std::set<std::string> kept = {
        "table.dat",
        leftover("table.dat", getppid(), user),  // a save still under way
        leftover("other.dat", ended, user),      // another file's
        leftover("table.dat", ended_process(), user == 1 ? 2 : 1),  // another user's
    };
    std::string error;
    ASSERT_TRUE(replace_file_content(path(), new_content, error)) << error;
    EXPECT_EQ(names_in(library.path()), kept);
}

// 4. The replaced file's descriptor, closed in the background.

std::size_t open_descriptors() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

TEST_F(FileReplace, EveryReplacedFilesDescriptorIsClosed) {
    file_system::finish_background_close();
    const std::size_t before = open_descriptors();
    for (int save = 0; save < 50; ++save) {
        std::string error;
        ASSERT_TRUE(replace_file_content(path(), save % 2 ? old_content : new_content, error)) << error;
    }
    file_system::finish_background_close();
    EXPECT_EQ(open_descriptors(), before);
    EXPECT_EQ(library.read("table.dat"), old_content);
}

TEST_F(FileReplace, AFailedCloseOfTheReplacedFileLeavesTheSaveDone) {
    // The closes of the new file and of its folder come first.
    file_system::fail_call(Call::close, 3, EIO);
    std::string error;
    EXPECT_TRUE(replace_file_content(path(), new_content, error)) << error;
    EXPECT_EQ(library.read("table.dat"), new_content);
    EXPECT_EQ(names_in(library.path()), std::set<std::string>{"table.dat"});
}

// 5. What else the file carries: its access list and other extended attributes.

// An access list as the kernel stores it: a version, then tag, permissions and
// id of each entry, in tag order.
std::string access_list(const std::vector<std::uint32_t>& entries) {
    std::string bytes;
    const auto put = [&](std::uint32_t value, std::size_t size) { bytes.append(reinterpret_cast<const char*>(&value), size); };
    put(2, 4);
    for (std::size_t at = 0; at + 3 <= entries.size(); at += 3) {
        put(entries[at], 2);
        put(entries[at + 1], 2);
        put(entries[at + 2], 4);
    }
    return bytes;
}

constexpr std::uint32_t no_id = 0xFFFFFFFF;
// The owner may read and write, the user nobody may read, no one else anything.
const std::string nobody_may_read = access_list({0x01, 6, no_id, 0x02, 4, 65534, 0x04, 0, no_id, 0x10, 4, no_id,
                                                 0x20, 0, no_id});

std::optional<std::string> attribute(const std::string& path, const char* name) {
    char value[256];
    const ssize_t size = getxattr(path.c_str(), name, value, sizeof value);
    if (size < 0) return std::nullopt;
    return std::string(value, static_cast<std::size_t>(size));
}

bool set_attribute(const std::string& path, const char* name, const std::string& value) {
    return setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

ino_t inode_of(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_ino;
}

class FileAttributes : public FileReplace {
protected:
    void SetUp() override {
        FileReplace::SetUp();
        if (!set_attribute(path(), "system.posix_acl_access", nobody_may_read) ||
            !set_attribute(path(), "user.library.note", "checked by the shop")) {
            GTEST_SKIP() << "the file system takes no access lists here: " << std::strerror(errno);
        }
        acl_before = attribute(path(), "system.posix_acl_access");
    }
    ::testing::AssertionResult carried() const {
        if (attribute(path(), "system.posix_acl_access") != acl_before) return ::testing::AssertionFailure() << "access list lost";
        if (attribute(path(), "user.library.note") != "checked by the shop") return ::testing::AssertionFailure() << "attribute lost";
        return ::testing::AssertionSuccess();
    }
    std::optional<std::string> acl_before;
};

TEST_F(FileAttributes, ASaveByRenameCarriesTheAccessListAndAttributes) {
    const ino_t before = inode_of(path());
    std::string error;
    ASSERT_TRUE(replace_file_content(path(), new_content, error)) << error;
    EXPECT_NE(inode_of(path()), before) << "not replaced by a rename";
    EXPECT_EQ(library.read("table.dat"), new_content);
    EXPECT_TRUE(carried());
    EXPECT_EQ(names_in(library.path()), std::set<std::string>{"table.dat"});
}

// Whichever attribute call fails, the save rewrites the file in place, which
// keeps them all, rather than lose one.
TEST_F(FileAttributes, AnAttributeThatCannotBeCarriedIsKeptByARewriteInPlace) {
    for (long nth = 1; nth <= 10; ++nth) {
        SCOPED_TRACE(nth);
        library.write("table.dat", old_content);
        file_system::fail_call(Call::xattr, nth, EPERM);
        std::string error;
        ASSERT_TRUE(replace_file_content(path(), new_content, error)) << error;
        file_system::clear_faults();
        EXPECT_EQ(library.read("table.dat"), new_content);
        EXPECT_TRUE(carried());
        EXPECT_EQ(names_in(library.path()), std::set<std::string>{"table.dat"});
    }
}

// A folder's default access list goes onto every new file in it; the file that
// replaces one without a list must not gain it.
TEST_F(FileReplace, AReplacementDoesNotGainTheFoldersDefaultAccessList) {
    if (!set_attribute(library.path(), "system.posix_acl_default", nobody_may_read)) {
        GTEST_SKIP() << "the file system takes no access lists here: " << std::strerror(errno);
    }
    std::string error;
    ASSERT_TRUE(replace_file_content(path(), new_content, error)) << error;
    EXPECT_EQ(library.read("table.dat"), new_content);
    EXPECT_FALSE(attribute(path(), "system.posix_acl_access").has_value());
    EXPECT_EQ(removexattr(library.path().c_str(), "system.posix_acl_default"), 0);
}

}  // namespace
