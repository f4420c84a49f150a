#include "core/session/KeyHistory.h"

#include <gtest/gtest.h>

#include "core/platform/Directory.h"
#include "tests/kit/ScriptedUserInterface.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

class KeyHistoryTest : public ::testing::Test {
protected:
    KeyHistoryList history_{"/k/A.DES", "/k/B.DES", "/k/C.DES", "/k/D.DES", "", ""};
};

TEST_F(KeyHistoryTest, AddingMovesToTheFrontWithSixPlaces) {
    AddToKeyHistory(history_, "/k/A.DES");  // already entry 0
    EXPECT_EQ(history_[0], "/k/A.DES");
    EXPECT_EQ(history_[1], "/k/B.DES");

    AddToKeyHistory(history_, "/k/D.DES");  // entry 3 to the front, 0-2 down, the rest stays
    EXPECT_EQ(history_,
              (std::array<std::string, 6>{"/k/D.DES", "/k/A.DES", "/k/B.DES", "/k/C.DES", "", ""}));
    AddToKeyHistory(history_, "/k/E.DES");
    AddToKeyHistory(history_, "/k/F.DES");
    AddToKeyHistory(history_, "/k/G.DES");  // the seventh distinct key drops the oldest
    EXPECT_EQ(history_,
              (std::array<std::string, 6>{"/k/G.DES", "/k/F.DES", "/k/E.DES", "/k/D.DES",
                                          "/k/A.DES", "/k/B.DES"}));
    AddToKeyHistory(history_, "/k/g.des");  // letter case makes another entry
    EXPECT_EQ(history_[0], "/k/g.des");
    EXPECT_EQ(history_[1], "/k/G.DES");
}

TEST_F(KeyHistoryTest, RemovingClosesTheGap) {
    RemoveFromKeyHistory(history_, "/k/B.DES");
    EXPECT_EQ(history_,
              (std::array<std::string, 6>{"/k/A.DES", "/k/C.DES", "/k/D.DES", "", "", ""}));
    RemoveFromKeyHistory(history_, "/k/none.DES");
    EXPECT_EQ(history_[2], "/k/D.DES");
    EXPECT_EQ(KeyHistoryEntry(history_, 7), "");
    EXPECT_EQ(KeyHistoryEntry(history_, -1), "");
}

TEST_F(KeyHistoryTest, DisplayNamesAreRelativeToTheCurrentDirectory) {
    testing::TempDir dir;
    std::string start = CurrentDirectory();
    ASSERT_TRUE(ChangeToDirectory(dir.Path()));
    std::string here = CurrentDirectory();
    history_ = {here + "OAKS.DES", "/other/ASH.DES", "no-slash.des", "/no/dot", "", ""};
    EXPECT_EQ(KeyHistoryDisplayName(history_, 0), "OAKS.DES");
    EXPECT_EQ(KeyHistoryDisplayName(history_, 1), "/other/ASH.DES");
    EXPECT_EQ(KeyHistoryDisplayName(history_, 2), "no-slash.des");
    EXPECT_EQ(KeyHistoryDisplayName(history_, 3), "/no/dot");
    EXPECT_EQ(KeyHistoryDisplayName(history_, 5), "");
    ChangeToDirectory(start);
}

TEST_F(KeyHistoryTest, ALostCurrentDirectoryIsToldAndTheRootTaken) {
    testing::ScriptedUserInterface ui;
    std::string start = CurrentDirectory();
    {
        testing::TempDir dir;
        ASSERT_TRUE(ChangeToDirectory(dir.Path()));
    }  // the current directory is removed here
    history_ = {"/k/A.DES", "", "", "", "", ""};
    EXPECT_EQ(KeyHistoryDisplayName(history_, 0), "/k/A.DES");
    ASSERT_EQ(ui.Texts().size(), 1u);
    EXPECT_EQ(ui.Texts()[0],
              "Current default drive is invalid.  The default directory will be changed to /.");
    EXPECT_EQ(CurrentDirectory(), "/");
    KeyHistoryDisplayName(history_, 0);
    EXPECT_EQ(ui.Texts().size(), 1u);  // once: the root is valid afterwards
    ChangeToDirectory(start);
}

}  // namespace
}  // namespace vorn
