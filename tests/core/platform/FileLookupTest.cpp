#include "core/platform/FileLookup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(FileLookup, ExactNameWinsThenTheOneCaseInsensitiveMatch) {
    TempDir dir;
    WriteFile(dir.Path() + "trees.dat", "lower");
    EXPECT_EQ(ResolveFileName(dir.Path() + "TREES.DAT"), dir.Path() + "trees.dat");
    EXPECT_TRUE(FileExists(dir.Path() + "TREES.DAT"));

    // With both spellings present the exact one is used.
    WriteFile(dir.Path() + "TREES.DAT", "upper");
    EXPECT_EQ(ResolveFileName(dir.Path() + "TREES.DAT"), dir.Path() + "TREES.DAT");
    EXPECT_EQ(ResolveFileName(dir.Path() + "trees.dat"), dir.Path() + "trees.dat");
    // Neither spelling exactly: the first in byte order, every time.
    EXPECT_EQ(ResolveFileName(dir.Path() + "Trees.Dat"), dir.Path() + "TREES.DAT");
}

TEST(FileLookup, ResolvesEveryComponentAndKeepsUnknownNames) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir.Path() + "Pics").c_str(), 0755), 0);
    WriteFile(dir.Path() + "Pics/q1.jpg", "x");
    EXPECT_EQ(ResolveFileName(dir.Path() + "PICS/Q1.JPG"), dir.Path() + "Pics/q1.jpg");
    EXPECT_EQ(ResolveFileName(dir.Path() + KeyNameToPath("PICS\\Q1.JPG")),
              dir.Path() + "Pics/q1.jpg");
    // Nothing matches: the name comes back as it was, for the message.
    EXPECT_EQ(ResolveFileName(dir.Path() + "PICS/Q2.JPG"), dir.Path() + "PICS/Q2.JPG");
    EXPECT_FALSE(FileExists(dir.Path() + "PICS/Q2.JPG"));
    // A directory is no file, and a file is no directory.
    EXPECT_FALSE(FileExists(dir.Path() + "pics"));
    EXPECT_TRUE(DirectoryExists(dir.Path() + "pics"));
    EXPECT_FALSE(DirectoryExists(dir.Path() + "pics/Q1.JPG"));
    EXPECT_FALSE(FileExists(""));
}

}  // namespace
}  // namespace vorn
