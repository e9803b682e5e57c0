#include "common/file_io.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/temp_home.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::TempHome;

std::string Read(const std::string& path) {
    Bytes bytes;
    EXPECT_EQ(ReadFile(path, 1 << 28, bytes), FileRead::Read) << path;
    return std::string(bytes.begin(), bytes.end());
}

// The names in a folder.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The process id of a process that has ended.
pid_t EndedProcess() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return child;
}

TEST(ReadFile, ChecksTheSizeBeforeReading) {
    TempHome home;
    const std::string path = home.Path() + "x.tip";
    ASSERT_TRUE(ReplaceFile(path, std::string(100, 'a')));
    Bytes bytes;
    EXPECT_EQ(ReadFile(path, 100, bytes), FileRead::Read);
    EXPECT_EQ(bytes.size(), 100u);
    EXPECT_EQ(ReadFile(path, 99, bytes), FileRead::TooLarge);
    EXPECT_TRUE(bytes.empty());
    // Larger than memory: refused without an allocation.
    fs::resize_file(path, std::uintmax_t{1} << 36);
    EXPECT_EQ(ReadFile(path, 1 << 20, bytes), FileRead::TooLarge);
    // What is not a regular file is not read: a folder, a pipe nobody writes to, a device.
    ASSERT_EQ(mkfifo((home.Path() + "pipe").c_str(), 0600), 0);
    for (const std::string& other :
         {home.Path(), home.Path() + "pipe", std::string("/dev/zero"), home.Path() + "missing"}) {
        EXPECT_EQ(ReadFile(other, 1 << 20, bytes), FileRead::Failed) << other;
    }
}

TEST(ReplaceFile, FollowsLinksAndNeverReplacesASpecialFile) {
    TempHome home;
    const std::string target = home.Path() + "v.top";
    const std::string link = home.Path() + "link.top";
    ASSERT_TRUE(ReplaceFile(target, std::string("old")));
    fs::create_symlink("v.top", link);
    ASSERT_TRUE(ReplaceFile(link, std::string("new")));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(target), "new");
    // A link to a file not yet made makes that file.
    fs::create_symlink("later.top", home.Path() + "dangling.top");
    ASSERT_TRUE(ReplaceFile(home.Path() + "dangling.top", std::string("made")));
    EXPECT_EQ(Read(home.Path() + "later.top"), "made");

    // A pipe (also through a link) and a folder stay. A device is refused the same way; the
    // test does not try it on a real one, which a faulty build run as root would replace.
    ASSERT_EQ(mkfifo((home.Path() + "pipe.csv").c_str(), 0600), 0);
    fs::create_symlink("pipe.csv", home.Path() + "to-pipe.csv");
    fs::create_directory(home.Path() + "folder.csv");
    for (const char* name : {"pipe.csv", "to-pipe.csv", "folder.csv"}) {
        const std::string path = home.Path() + name;
        EXPECT_FALSE(CanReplaceFile(path)) << name;
        EXPECT_FALSE(ReplaceFile(path, std::string("x"))) << name;
    }
    EXPECT_TRUE(fs::is_fifo(home.Path() + "pipe.csv"));
    EXPECT_TRUE(fs::is_symlink(home.Path() + "to-pipe.csv"));
    EXPECT_TRUE(fs::is_directory(home.Path() + "folder.csv"));

    EXPECT_TRUE(CanReplaceFile(target));
    EXPECT_TRUE(CanReplaceFile(home.Path() + "new.top"));
    EXPECT_FALSE(CanReplaceFile(home.Path() + "no/such/folder.top"));
    EXPECT_FALSE(ReplaceFile(home.Path() + "no/such/folder.top", std::string("x")));
    EXPECT_FALSE(CanReplaceFile(""));
}

// The longest legal file name saves: the temporary name does not grow with it.
TEST(ReplaceFile, KeepsTheLongestNameAndThePermissions) {
    TempHome home;
    const std::string path = home.Path() + std::string(251, 'a') + ".top";
    ASSERT_TRUE(ReplaceFile(path, std::string("first")));
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    ASSERT_TRUE(ReplaceFile(path, std::string("second")));
    EXPECT_EQ(Read(path), "second");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(Entries(home.Path()).size(), 1u);
}

// A file the user made read-only is not replaced (root may write anything: not checked there).
TEST(ReplaceFile, AReadOnlyFileStays) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes read-only files";
    }
    TempHome home;
    const std::string path = home.Path() + "v.top";
    ASSERT_TRUE(ReplaceFile(path, std::string("old")));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(CanReplaceFile(path));
    EXPECT_FALSE(ReplaceFile(path, std::string("new")));
    EXPECT_EQ(Read(path), "old");
}

TEST(ReplaceFile, AFullDiskKeepsTheOldFileAndLeavesNothing) {
    TempHome home;
    const std::string path = home.Path() + "v.top";
    ASSERT_TRUE(ReplaceFile(path, std::string("old")));
    {
        const testing::FileSizeLimit full(1000);
        EXPECT_FALSE(ReplaceFile(path, std::string(5000, 'x')));
    }
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Entries(home.Path()), std::vector<std::string>{"v.top"});
}

// A save killed at any moment leaves the old or the whole new file; what it left beside the
// target goes with the next save, whatever version of the program left it.
TEST(ReplaceFile, ASaveKilledHalfWayIsCleanedUpByTheNext) {
    TempHome home;
    const std::string path = home.Path() + "v.top";
    const std::string oldText(1000, 'o');
    const Bytes newBytes(32 << 20, 'n');
    ASSERT_TRUE(ReplaceFile(path, oldText));
    bool leftover = false;
    for (int attempt = 0; attempt < 20 && !leftover; ++attempt) {
        const pid_t child = fork();
        if (child == 0) {
            ReplaceFile(path, newBytes);
            _exit(0);
        }
        // Killed as soon as its temporary file appears.
        while (Entries(home.Path()).size() == 1 && waitpid(child, nullptr, WNOHANG) == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = Read(path);
        ASSERT_TRUE(now == oldText || now.size() == newBytes.size()) << now.size();
        leftover = Entries(home.Path()).size() > 1;
        if (!leftover) {
            ASSERT_TRUE(ReplaceFile(path, oldText));
        }
    }
    ASSERT_TRUE(leftover) << "no save was caught half way";
    // A user's file that looks like an older version's temporary file stays.
    const std::string users = "v.top.tmp" + std::to_string(EndedProcess());
    ASSERT_TRUE(ReplaceFile(home.Path() + users, std::string("x")));
    ASSERT_TRUE(ReplaceFile(path, std::string("next")));
    EXPECT_EQ(Read(path), "next");
    EXPECT_EQ(Entries(home.Path()), (std::vector<std::string>{"v.top", users}));
}

TEST(SplitLines, EveryLineEnd) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\n\n", {"", ""}},
        {"", {}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(SplitLines(text), lines) << text;
    }
    EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB\xBF"
                                   "a"),
              "a");
    EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB"), "\xEF\xBB");
}

} // namespace
} // namespace velmora
