// The settings file read at start and written at the end, with odd and hostile values.
#include "core/session/Settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "core/platform/AtomicFile.h"
#include "core/platform/Directory.h"
#include "core/session/KeyHistory.h"
#include "core/session/Modes.h"
#include "core/session/OpenKey.h"
#include "tests/kit/KeyFixture.h"

namespace vorn {
namespace {

using testing::KeyFixture;
using testing::WriteFile;

class SettingsTest : public KeyFixture {
protected:
    void SetUp() override {
        ini_ = dir_.Path() + "VORNWIN.INI";
        KeyHistory = {};
        StartupKeyPath.clear();
        WorkDir.clear();
        NumberMode = CountMode = false;
        NameMode = ScientificNames;
    }
    void TearDown() override {
        KeyHistory = {};
        NameMode = ScientificNames;
        NumberMode = CountMode = false;
    }
    std::string ini_;
};

TEST_F(SettingsTest, AMissingFileGivesTheDefaultsSilently) {
    NameMode = CommonNames;
    ReadSettings(ini_);
    EXPECT_EQ(StartupKeyPath, "");
    EXPECT_EQ(KeyHistory, (std::array<std::string, 6>{}));
    EXPECT_FALSE(NumberMode);
    EXPECT_FALSE(CountMode);
    EXPECT_EQ(NameMode, CommonNames);  // unchanged without a value
    EXPECT_TRUE(ui_.Messages.empty());
}

TEST_F(SettingsTest, ReadsEveryValueAndTheOddOnesAsTheirDefaults) {
    WriteFile(ini_,
              "[OpenKey]\r\nFullName=/k/OAKS.DES\r\n"
              "[History]\r\n0=/k/OAKS.DES\r\n2=not a path\r\n5=" +
                  std::string(100000, 'y') +
                  "\r\n"
                  "[Modes]\r\nNumberMode=5\r\nCountMode=yes\r\nNameMode=bothnames\r\n"
                  "=== garbage ===\r\n[unterminated\r\n");
    ReadSettings(ini_);
    EXPECT_EQ(StartupKeyPath, "/k/OAKS.DES");
    EXPECT_EQ(KeyHistory[0], "/k/OAKS.DES");
    EXPECT_EQ(KeyHistory[1], "");
    EXPECT_EQ(KeyHistory[2], "not a path");
    EXPECT_EQ(KeyHistory[5].size(), 2047u);
    EXPECT_TRUE(NumberMode);               // a nonzero integer
    EXPECT_FALSE(CountMode);               // not an integer
    EXPECT_EQ(NameMode, ScientificNames);  // the words compare exactly

    WriteFile(ini_, "[Modes]\nNumberMode=0x10\nCountMode=0X0\nNameMode=CommonNames\n");
    ReadSettings(ini_);
    EXPECT_TRUE(NumberMode);
    EXPECT_FALSE(CountMode);
    EXPECT_EQ(NameMode, CommonNames);
}

TEST_F(SettingsTest, AWorkingDirectoryThatIsGoneIsToldAndNotKept) {
    std::string before = CurrentDirectory();
    WriteFile(ini_, "[Directories]\nWorkDir=" + dir_.Path() + "gone/\n");
    ReadSettings(ini_);
    ASSERT_EQ(ui_.Texts().size(), 1u);
    EXPECT_EQ(ui_.Texts()[0],
              "Sorry, the initial working directory \"" + dir_.Path() + "gone/\" does not exist.");
    EXPECT_EQ(CurrentDirectory(), before);
    EXPECT_EQ(WorkDir, "");
    EXPECT_EQ(InitialWorkDir, "");

    WriteFile(ini_, "[Directories]\nWorkDir=" + dir_.Path() + "\n");
    ReadSettings(ini_);
    EXPECT_EQ(CurrentDirectory(), AbsolutePath(dir_.Path()));
    EXPECT_EQ(WorkDir, "");  // taken as current, not kept
    EXPECT_EQ(InitialWorkDir, dir_.Path());
}

TEST_F(SettingsTest, WritingRoundTripsAndKeepsHistoryNumbers) {
    WriteFile(ini_, "; my notes\n[History]\n0=/k/A.DES\n2=/k/C.DES\n[Other]\nx=1\n");
    ReadSettings(ini_);
    NumberMode = true;
    NameMode = BothNames;
    ASSERT_TRUE(WriteSettings(ini_));
    std::string text = testing::ReadFile(ini_);
    EXPECT_NE(text.find("[History]\n0=/k/A.DES\n2=/k/C.DES\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Other]\nx=1\n"), std::string::npos);  // nothing else is lost
    EXPECT_NE(text.find("; my notes"), std::string::npos);
    EXPECT_NE(text.find("FullName=\n"), std::string::npos);  // no key open at the end
    EXPECT_NE(text.find("WorkDir=\n"), std::string::npos);   // no key opened in the run

    KeyHistory = {};
    NumberMode = false;
    NameMode = ScientificNames;
    ReadSettings(ini_);
    EXPECT_EQ(KeyHistory[2], "/k/C.DES");
    EXPECT_TRUE(NumberMode);
    EXPECT_FALSE(CountMode);
    EXPECT_EQ(NameMode, BothNames);
}

TEST_F(SettingsTest, TheOpenKeyAndItsDirectoryAreWrittenForTheNextRun) {
    std::string des = testing::WriteKey(dir_.Path(), MakeKey({"+-"}));
    Open(MakeKey({"+-"}));
    ASSERT_TRUE(WriteSettings(ini_));
    std::string text = testing::ReadFile(ini_);
    EXPECT_NE(text.find("FullName=" + des + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("WorkDir=" + dir_.Path() + "\n"), std::string::npos) << text;

    CloseKey();
    ReadSettings(ini_);
    OpenStartupKey();
    EXPECT_TRUE(Key.KeyOpen);
    EXPECT_EQ(OpenKeyPath, des);
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenIsTold) {
    WriteFile(dir_.Path() + "blocker", "a file where a folder should be");
    std::string path = dir_.Path() + "blocker/VORNWIN.INI";
    EXPECT_FALSE(WriteSettings(path));
    ASSERT_EQ(ui_.Texts().size(), 1u);
    EXPECT_EQ(ui_.Texts()[0], "Unable to write to " + path);
    EXPECT_EQ(ui_.Messages[0].Kind, MessageKind::Error);
}

TEST_F(SettingsTest, WritingGoesThroughALinkAndAFailureKeepsTheOldFile) {
    ASSERT_EQ(::mkdir((dir_.Path() + "dotfiles").c_str(), 0700), 0);
    std::string real = dir_.Path() + "dotfiles/vornwin.ini";
    WriteFile(real, "[Modes]\nCountMode=0\n");
    ASSERT_EQ(::symlink(real.c_str(), ini_.c_str()), 0);
    CountMode = true;
    ASSERT_TRUE(WriteSettings(ini_));
    EXPECT_NE(testing::ReadFile(real).find("CountMode=1\n"), std::string::npos);
    struct stat st;
    ASSERT_EQ(::lstat(ini_.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    std::string before = testing::ReadFile(real);
    SetWriteFault([](std::string_view step) { return step == "write" ? ENOSPC : 0; });
    CountMode = false;
    EXPECT_FALSE(WriteSettings(ini_));
    SetWriteFault(nullptr);
    EXPECT_EQ(testing::ReadFile(real), before);
    EXPECT_EQ(ui_.Texts(), std::vector<std::string>{"Unable to write to " + ini_});
}

TEST_F(SettingsTest, APipeOfTheFilesNameIsAbsentAndNotReplaced) {
    ASSERT_EQ(::mkfifo(ini_.c_str(), 0600), 0);
    ReadSettings(ini_);  // returns at once
    EXPECT_EQ(StartupKeyPath, "");
    EXPECT_FALSE(WriteSettings(ini_));
    EXPECT_EQ(ui_.Texts(), std::vector<std::string>{"Unable to write to " + ini_});
    struct stat st;
    ASSERT_EQ(::lstat(ini_.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

}  // namespace
}  // namespace vorn
