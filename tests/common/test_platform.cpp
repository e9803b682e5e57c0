#include "common/platform.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "common/file_io.h"
#include "support/temp_home.h"

namespace velmora {
namespace {

using testing::TempHome;

void WritePid(const std::string& path, long pid) {
    std::ofstream(path) << pid << "\n";
}

TEST(InstanceLock, FindsOnlyALiveCopyOfTheSameProgram) {
    TempHome home;
    const std::string path = home.Path() + "Velmora.lock";
    InstanceLock lock(path);
    EXPECT_EQ(lock.OtherCopy(), 0) << "no lock file";

    WritePid(path, ::getpid());
    EXPECT_EQ(lock.OtherCopy(), 0) << "our own process is no other copy";
    WritePid(path, 1);
    EXPECT_EQ(lock.OtherCopy(), 0) << "a live process of another program";
    std::ofstream(path) << "garbage";
    EXPECT_EQ(lock.OtherCopy(), 0);

    // A forked child runs under the same program name: it counts as another copy.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    WritePid(path, child);
    EXPECT_EQ(lock.OtherCopy(), child);
    EXPECT_TRUE(InstanceLock::EndProcess(child));
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(lock.OtherCopy(), 0) << "the ended copy's file is stale";
}

TEST(InstanceLock, AcquireAndReleaseOwnTheFile) {
    TempHome home;
    const std::string path = home.Path() + "Velmora.lock";
    {
        InstanceLock lock(path);
        ASSERT_TRUE(lock.Acquire());
        InstanceLock other(path);
        EXPECT_EQ(other.OtherCopy(), 0) << "the same process holds it";
        EXPECT_TRUE(FileExists(path));
    }
    EXPECT_FALSE(FileExists(path)) << "released when the lock goes away";

    InstanceLock lock(path);
    ASSERT_TRUE(lock.Acquire());
    WritePid(path, 1); // another copy took the file over since
    lock.Release();
    EXPECT_TRUE(FileExists(path)) << "a file naming another process is left alone";
}

TEST(Platform, ExecutableFolderAndMemory) {
    const std::string folder = ExecutableFolderPath();
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(FileExists(folder + "velmora_core_tests")) << folder;
    EXPECT_TRUE(AvailableMemoryBytes().has_value());
}

} // namespace
} // namespace velmora
