// Replacing a file whole: through links, with its permissions, and never losing the old
// file when a step fails.
#include "core/platform/AtomicFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/IoError.h"
#include "tests/kit/Folder.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::ListDirectory;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

mode_t Mode(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::string Failure(const std::string& path, std::string_view bytes) {
    try {
        WriteFileAtomically(path, bytes);
    } catch (const IoError& e) {
        return e.what();
    }
    return "no error";
}

TEST(AtomicFile, WritesThroughLinksAndKeepsPermissions) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir.Path() + "real").c_str(), 0700), 0);
    std::string target = dir.Path() + "real/LIST.HIS";
    WriteFile(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    // A relative link to a link: the chain is followed to its end.
    ASSERT_EQ(::symlink("real/LIST.HIS", (dir.Path() + "inner").c_str()), 0);
    ASSERT_EQ(::symlink("inner", (dir.Path() + "outer").c_str()), 0);

    WriteFileAtomically(dir.Path() + "outer", "new\r\n");
    EXPECT_EQ(ReadFile(target), "new\r\n");
    EXPECT_EQ(Mode(target), 0640u);
    struct stat st;
    ASSERT_EQ(::lstat((dir.Path() + "outer").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ListDirectory(dir.Path() + "real"), std::vector<std::string>{"LIST.HIS"});

    // A link to a file still to be written creates it where the link points.
    ASSERT_EQ(::symlink("real/NEW.HIS", (dir.Path() + "dangling").c_str()), 0);
    mode_t mask = ::umask(022);
    WriteFileAtomically(dir.Path() + "dangling", "");
    ::umask(mask);
    EXPECT_EQ(ReadFile(dir.Path() + "real/NEW.HIS"), "");
    EXPECT_EQ(Mode(dir.Path() + "real/NEW.HIS"), 0644u);
}

TEST(AtomicFile, AFailedWriteKeepsTheOldFileWholeAndSaysWhy) {
    TempDir dir;
    std::string path = dir.Path() + "LIST.HIS";
    WriteFile(path, "+1\r\n-2\r\n");
    for (const char* step : {"create", "write", "sync", "rename"}) {
        SetWriteFault([step](std::string_view now) { return now == step ? ENOSPC : 0; });
        EXPECT_EQ(Failure(path, "+3\r\n"),
                  "Cannot write \"" + path + "\": No space left on device.")
            << step;
        SetWriteFault(nullptr);
        EXPECT_EQ(ReadFile(path), "+1\r\n-2\r\n") << step;
        EXPECT_EQ(ListDirectory(dir.Path()), std::vector<std::string>{"LIST.HIS"}) << step;
    }

    // A real "no room": a file-size limit stops the write half-way.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old;
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    std::string failure = Failure(path, std::string(10000, '+'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(failure, "Cannot write \"" + path + "\": File too large.");
    EXPECT_EQ(ReadFile(path), "+1\r\n-2\r\n");
    EXPECT_EQ(ListDirectory(dir.Path()), std::vector<std::string>{"LIST.HIS"});
}

TEST(AtomicFile, RefusesAFolderOrAPipeOfTheTargetsName) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir.Path() + "LIST.HIS").c_str(), 0700), 0);
    EXPECT_EQ(Failure(dir.Path() + "LIST.HIS", "x"),
              "Cannot write \"" + dir.Path() + "LIST.HIS\": a folder of that name is in the way.");
    ASSERT_EQ(::mkfifo((dir.Path() + "pipe").c_str(), 0600), 0);
    EXPECT_EQ(Failure(dir.Path() + "pipe", "x"),
              "Cannot write \"" + dir.Path() + "pipe\": it is not an ordinary file.");
    EXPECT_EQ(Failure(dir.Path() + "missing/LIST.HIS", "x"),
              "Cannot write \"" + dir.Path() + "missing/LIST.HIS\": No such file or directory.");
}

}  // namespace
}  // namespace vorn
