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
    void SetUp() override { ini_ = dir_.Path() + "VORNWIN.INI"; }
    std::string ini_;
};

TEST_F(SettingsTest, AMissingFileGivesTheDefaultsSilently) {
    session_.NameMode = CommonNames;
    ReadSettings(session_, ini_);
    EXPECT_EQ(session_.StartupKeyPath, "");
    EXPECT_EQ(session_.KeyHistory, (std::array<std::string, 6>{}));
    EXPECT_FALSE(session_.NumberMode);
    EXPECT_FALSE(session_.CountMode);
    EXPECT_EQ(session_.NameMode, CommonNames);  // unchanged without a value
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
    ReadSettings(session_, ini_);
    EXPECT_EQ(session_.StartupKeyPath, "/k/OAKS.DES");
    EXPECT_EQ(session_.KeyHistory[0], "/k/OAKS.DES");
    EXPECT_EQ(session_.KeyHistory[1], "");
    EXPECT_EQ(session_.KeyHistory[2], "not a path");
    EXPECT_EQ(session_.KeyHistory[5].size(), 2047u);
    EXPECT_TRUE(session_.NumberMode);               // a nonzero integer
    EXPECT_FALSE(session_.CountMode);               // not an integer
    EXPECT_EQ(session_.NameMode, ScientificNames);  // the words compare exactly

    WriteFile(ini_, "[Modes]\nNumberMode=0x10\nCountMode=0X0\nNameMode=CommonNames\n");
    ReadSettings(session_, ini_);
    EXPECT_TRUE(session_.NumberMode);
    EXPECT_FALSE(session_.CountMode);
    EXPECT_EQ(session_.NameMode, CommonNames);
}

// The tolerance is one of the menu's 0 to 3; anything else in the file, a number out of
// range or no number at all, reads as 0, silently, and is written back as 0.
TEST_F(SettingsTest, AToleranceOutsideZeroToThreeReadsAsZero) {
    const std::pair<const char*, int> cases[] = {
        {"0", 0},          {"1", 1},
        {"3", 3},          {"0x2", 2},
        {"4", 0},          {"-1", 0},
        {"100", 0},        {"2.5", 0},
        {"two", 0},        {"", 0},
        {"3x", 0},         {"-0", 0},
        {"4294967299", 0}, {"99999999999999999999999", 0},
    };
    for (const auto& [value, expected] : cases) {
        session_.ToleranceMode = 2;
        WriteFile(ini_, std::string("[Modes]\nTolerance=") + value + "\n");
        ReadSettings(session_, ini_);
        EXPECT_EQ(session_.ToleranceMode, expected) << "Tolerance=" << value;
    }
    session_.ToleranceMode = 2;
    WriteFile(ini_, "[Modes]\nNumberMode=1\n");  // none given: 0
    ReadSettings(session_, ini_);
    EXPECT_EQ(session_.ToleranceMode, 0);

    WriteFile(ini_, "[Modes]\nTolerance=7\n");
    ReadSettings(session_, ini_);
    ASSERT_TRUE(WriteSettings(session_, ini_));
    EXPECT_NE(testing::ReadFile(ini_).find("Tolerance=0\n"), std::string::npos);
    EXPECT_TRUE(ui_.Messages.empty());
}

TEST_F(SettingsTest, AWorkingDirectoryThatIsGoneIsToldAndNotKept) {
    std::string before = CurrentDirectory();
    WriteFile(ini_, "[Directories]\nWorkDir=" + dir_.Path() + "gone/\n");
    ReadSettings(session_, ini_);
    ASSERT_EQ(ui_.Texts().size(), 1u);
    EXPECT_EQ(ui_.Texts()[0],
              "Sorry, the initial working directory \"" + dir_.Path() + "gone/\" does not exist.");
    EXPECT_EQ(CurrentDirectory(), before);
    EXPECT_EQ(session_.WorkDir, "");
    EXPECT_EQ(session_.InitialWorkDir, "");

    WriteFile(ini_, "[Directories]\nWorkDir=" + dir_.Path() + "\n");
    ReadSettings(session_, ini_);
    EXPECT_EQ(CurrentDirectory(), AbsolutePath(dir_.Path()));
    EXPECT_EQ(session_.WorkDir, "");  // taken as current, not kept
    EXPECT_EQ(session_.InitialWorkDir, dir_.Path());
}

TEST_F(SettingsTest, WritingRoundTripsAndKeepsHistoryNumbers) {
    WriteFile(ini_, "; my notes\n[History]\n0=/k/A.DES\n2=/k/C.DES\n[Other]\nx=1\n");
    ReadSettings(session_, ini_);
    session_.NumberMode = true;
    session_.NameMode = BothNames;
    ASSERT_TRUE(WriteSettings(session_, ini_));
    std::string text = testing::ReadFile(ini_);
    EXPECT_NE(text.find("[History]\n0=/k/A.DES\n2=/k/C.DES\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Other]\nx=1\n"), std::string::npos);  // nothing else is lost
    EXPECT_NE(text.find("; my notes"), std::string::npos);
    EXPECT_NE(text.find("FullName=\n"), std::string::npos);  // no key open at the end
    EXPECT_NE(text.find("WorkDir=\n"), std::string::npos);   // no key opened in the run

    session_.KeyHistory = {};
    session_.NumberMode = false;
    session_.NameMode = ScientificNames;
    ReadSettings(session_, ini_);
    EXPECT_EQ(session_.KeyHistory[2], "/k/C.DES");
    EXPECT_TRUE(session_.NumberMode);
    EXPECT_FALSE(session_.CountMode);
    EXPECT_EQ(session_.NameMode, BothNames);
}

TEST_F(SettingsTest, TheOpenKeyAndItsDirectoryAreWrittenForTheNextRun) {
    std::string des = testing::WriteKey(dir_.Path(), MakeKey({"+-"}));
    Open(MakeKey({"+-"}));
    ASSERT_TRUE(WriteSettings(session_, ini_));
    std::string text = testing::ReadFile(ini_);
    EXPECT_NE(text.find("FullName=" + des + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("WorkDir=" + dir_.Path() + "\n"), std::string::npos) << text;

    CloseKey(session_);
    ReadSettings(session_, ini_);
    OpenStartupKey(session_);
    EXPECT_TRUE(session_.Key.KeyOpen);
    EXPECT_EQ(session_.OpenKeyPath, des);
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenIsTold) {
    WriteFile(dir_.Path() + "blocker", "a file where a folder should be");
    std::string path = dir_.Path() + "blocker/VORNWIN.INI";
    EXPECT_FALSE(WriteSettings(session_, path));
    ASSERT_EQ(ui_.Texts().size(), 1u);
    EXPECT_EQ(ui_.Texts()[0], "Unable to write to " + path);
    EXPECT_EQ(ui_.Messages[0].Kind, MessageKind::Error);
}

TEST_F(SettingsTest, WritingGoesThroughALinkAndAFailureKeepsTheOldFile) {
    ASSERT_EQ(::mkdir((dir_.Path() + "dotfiles").c_str(), 0700), 0);
    std::string real = dir_.Path() + "dotfiles/vornwin.ini";
    WriteFile(real, "[Modes]\nCountMode=0\n");
    ASSERT_EQ(::symlink(real.c_str(), ini_.c_str()), 0);
    session_.CountMode = true;
    ASSERT_TRUE(WriteSettings(session_, ini_));
    EXPECT_NE(testing::ReadFile(real).find("CountMode=1\n"), std::string::npos);
    struct stat st;
    ASSERT_EQ(::lstat(ini_.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    std::string before = testing::ReadFile(real);
    SetWriteFault([](std::string_view step) { return step == "write" ? ENOSPC : 0; });
    session_.CountMode = false;
    EXPECT_FALSE(WriteSettings(session_, ini_));
    SetWriteFault(nullptr);
    EXPECT_EQ(testing::ReadFile(real), before);
    EXPECT_EQ(ui_.Texts(), std::vector<std::string>{"Unable to write to " + ini_});
}

TEST_F(SettingsTest, APipeOfTheFilesNameIsAbsentAndNotReplaced) {
    ASSERT_EQ(::mkfifo(ini_.c_str(), 0600), 0);
    ReadSettings(session_, ini_);  // returns at once
    EXPECT_EQ(session_.StartupKeyPath, "");
    EXPECT_FALSE(WriteSettings(session_, ini_));
    EXPECT_EQ(ui_.Texts(), std::vector<std::string>{"Unable to write to " + ini_});
    struct stat st;
    ASSERT_EQ(::lstat(ini_.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

}  // namespace
}  // namespace vorn
