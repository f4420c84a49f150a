#include "core/platform/PrivateProfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "core/platform/IoError.h"
#include "tests/kit/Folder.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(PrivateProfile, FindsSectionsAndKeysIgnoringCaseAndKeepsValuesRaw) {
    TempDir dir;
    WriteFile(dir.Path() + "V.INI",
              "[OpenKey]\r\nFullName = /keys/My Trees/TREES.DES \r\n"
              "garbage line without equals\r\n\r\n[modes]\r\nnumbermode=5\r\n");
    PrivateProfile ini(dir.Path() + "V.INI");
    EXPECT_EQ(ini.Get("openkey", "FULLNAME"), "/keys/My Trees/TREES.DES");
    EXPECT_EQ(ini.Get("Modes", "NumberMode"), "5");
    EXPECT_FALSE(ini.Get("Modes", "CountMode"));
    EXPECT_FALSE(ini.Get("History", "0"));
    // A value with quotes or backslashes is taken as it stands.
    ini.Set("Directories", "WorkDir", "\"C:\\KEYS\\\"");
    EXPECT_EQ(ini.Get("Directories", "WorkDir"), "\"C:\\KEYS\\\"");
}

TEST(PrivateProfile, CutsLongValuesWhenReadingOnly) {
    TempDir dir;
    std::string huge(100000, 'x');
    WriteFile(dir.Path() + "V.INI", "[History]\n0=" + huge + "\n");
    PrivateProfile ini(dir.Path() + "V.INI");
    ASSERT_TRUE(ini.Get("History", "0"));
    EXPECT_EQ(ini.Get("History", "0")->size(), 2047u);
    ini.Set("Modes", "CountMode", "1");
    ASSERT_NO_THROW(ini.Save());
    // The file itself keeps what it had.
    EXPECT_NE(testing::ReadFile(dir.Path() + "V.INI").find(huge), std::string::npos);
}

TEST(PrivateProfile, SetReplacesOrAddsAndEraseRemovesTheWholeSection) {
    TempDir dir;
    WriteFile(dir.Path() + "V.INI",
              "; kept comment\n[History]\n0=/a/A.DES\n2=/c/C.DES\n[Modes]\nCountMode=0\n");
    PrivateProfile ini(dir.Path() + "V.INI");
    ini.Set("modes", "countmode", "1");
    ini.Set("Modes", "NameMode", "BothNames");
    ini.EraseSection("HISTORY");
    ini.Set("History", "1", "/b/B.DES\nInjected=1");
    ASSERT_NO_THROW(ini.Save());
    EXPECT_EQ(
        testing::ReadFile(dir.Path() + "V.INI"),
        "; kept comment\n[Modes]\nCountMode=1\nNameMode=BothNames\n\n[History]\n1=/b/B.DES\n");
}

TEST(PrivateProfile, SavingIsAtomicAndCreatesTheFolder) {
    TempDir dir;
    std::string path = dir.Path() + "config/vorn/VORNWIN.INI";
    PrivateProfile fresh(path);
    fresh.Set("OpenKey", "FullName", "");
    ASSERT_NO_THROW(fresh.Save());
    EXPECT_EQ(testing::ReadFile(path), "[OpenKey]\nFullName=\n");
    EXPECT_EQ(testing::ListDirectory(dir.Path() + "config/vorn"),
              std::vector<std::string>{"VORNWIN.INI"});  // no temporary left behind

    // A folder that cannot be written: the save fails and the old file is untouched.
    ASSERT_EQ(::chmod((dir.Path() + "config/vorn").c_str(), 0500), 0);
    PrivateProfile again(path);
    again.Set("OpenKey", "FullName", "/new/NEW.DES");
    if (::geteuid() != 0) {  // root writes anyway
        EXPECT_THROW(again.Save(), IoError);
        EXPECT_EQ(testing::ReadFile(path), "[OpenKey]\nFullName=\n");
    }
    ::chmod((dir.Path() + "config/vorn").c_str(), 0700);
    // A path whose folder is a file cannot be saved, even by root.
    WriteFile(dir.Path() + "file", "x");
    PrivateProfile blocked(dir.Path() + "file/VORNWIN.INI");
    blocked.Set("A", "B", "C");
    EXPECT_THROW(blocked.Save(), IoError);
}

TEST(PrivateProfile, APipeIsAbsentAMarkIsSkippedAndALoneCrEndsALine) {
    TempDir dir;
    std::string path = dir.Path() + "V.INI";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    PrivateProfile pipe(path);  // returns at once: nothing waits for a writer
    EXPECT_FALSE(pipe.Get("Modes", "CountMode"));
    pipe.Set("Modes", "CountMode", "1");
    EXPECT_THROW(pipe.Save(), IoError);
    ::unlink(path.c_str());

    WriteFile(path, "\xEF\xBB\xBF[Modes]\r\nCountMode=1\r\nNameMode=x\r\r\nNumberMode=0\rz=9");
    PrivateProfile ini(path);
    EXPECT_EQ(ini.Get("Modes", "CountMode"), "1");
    EXPECT_EQ(ini.Get("Modes", "NameMode"), "x");
    EXPECT_EQ(ini.Get("Modes", "NumberMode"), "0");
    EXPECT_EQ(ini.Get("Modes", "z"), "9");
    ini.Save();
    std::string first = testing::ReadFile(path);
    PrivateProfile(path).Save();
    EXPECT_EQ(testing::ReadFile(path), first);
    EXPECT_EQ(first, "[Modes]\nCountMode=1\nNameMode=x\n\nNumberMode=0\nz=9\n");
}

}  // namespace
}  // namespace vorn
