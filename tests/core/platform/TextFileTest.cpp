#include "core/platform/TextFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/platform/IoError.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(TextFile, SplitsLinesAtCrLfCrAndLf) {
    TempDir dir;
    WriteFile(dir.Path() + "T.TXT", "one\r\ntwo\rthree\nfour");
    TextFile file;
    file.Open(dir.Path() + "T.TXT");
    EXPECT_EQ(file.ReadLine(), "one");
    EXPECT_EQ(file.ReadLine(), "two");
    EXPECT_EQ(file.LineNumber(), 3);
    EXPECT_EQ(file.ReadLine(), "three");
    EXPECT_FALSE(file.AtEnd());
    EXPECT_EQ(file.ReadLine(), "four");
    EXPECT_TRUE(file.AtEnd());
    EXPECT_EQ(file.ReadLine(), "");
}

TEST(TextFile, ReadsNumbersWithinOrAcrossLines) {
    TempDir dir;
    WriteFile(dir.Path() + "N.TXT", "  2 20\t2 rest\r\n\r\n  -3\r\n+ 7\r\n99999999999 x\r\n");
    TextFile file;
    file.Open(dir.Path() + "N.TXT");
    EXPECT_EQ(file.ReadNumber(false), 2);
    EXPECT_EQ(file.ReadNumber(false), 20);
    EXPECT_EQ(file.ReadNumber(false), 2);
    EXPECT_EQ(file.ReadLine(), " rest");
    EXPECT_EQ(file.ReadNumber(true), -3);  // skips the empty line
    file.SkipLine();
    EXPECT_EQ(file.ReadChar(), '+');
    EXPECT_EQ(file.ReadNumber(false), 7);
    file.SkipLine();
    EXPECT_EQ(file.ReadNumber(false), INT32_MAX);  // saturates, never wraps
}

TEST(TextFile, AMissingNumberIsAnErrorNamingFileAndLine) {
    TempDir dir;
    WriteFile(dir.Path() + "BAD.IND", "2 20 2\r\nHeading\r\n");
    TextFile file;
    file.Open(dir.Path() + "BAD.IND");
    file.SkipLine();
    try {
        file.ReadNumber(true);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(),
                     ("Cannot read \"" + dir.Path() + "BAD.IND\": a number was expected in line 2.")
                         .c_str());
    }
    // Not across lines: a line end where the number should be is an error too.
    WriteFile(dir.Path() + "H.HIS", "+\r\n5\r\n");
    file.Open(dir.Path() + "H.HIS");
    EXPECT_EQ(file.ReadChar(), '+');
    EXPECT_EQ(file.ReadChar(), -1);
    EXPECT_THROW(file.ReadNumber(false), IoError);
}

TEST(TextFile, APipeNamedAsATextFileIsRefusedWithoutWaiting) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir.Path() + "TREES.DES").c_str(), 0600), 0);
    TextFile file;
    EXPECT_THROW(file.Open(dir.Path() + "TREES.DES"), IoError);
    EXPECT_THROW(file.Open(dir.Path()), IoError);
    EXPECT_FALSE(file.IsOpen());
}

}  // namespace
}  // namespace vorn
