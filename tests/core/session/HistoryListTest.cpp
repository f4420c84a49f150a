// Loading history lists into the identification.
#include "core/session/HistoryList.h"

#include <gtest/gtest.h>

#include "core/platform/AtomicFile.h"
#include "core/platform/IoError.h"
#include "tests/kit/EngineFixture.h"

namespace vorn {
namespace {

using testing::EngineFixture;

class HistoryLists : public EngineFixture {
protected:
    void SetUp() override {
        std::vector<std::string> codes(12, "+-+-");
        Open(MakeKey(codes));
    }
    std::vector<int32_t> Load(const std::string& text) {
        testing::WriteFile(dir_.Path() + "H.HIS", text);
        std::vector<int32_t> listed;
        skipped_ = LoadHistoryList(session_, dir_.Path() + "H.HIS", [&](int32_t s) { listed.push_back(s); });
        return listed;
    }
    int skipped_ = -1;
};

TEST_F(HistoryLists, PlusScoresPresentBlankListsMinusScoresAbsent) {
    std::vector<int32_t> listed = Load("+3\r\n 7\r\n-  12 trailing words\r\n");
    EXPECT_EQ(listed, (std::vector<int32_t>{6}));
    EXPECT_EQ(Scores(), "..+........-");
    EXPECT_EQ(history_, (std::vector<int32_t>{2, 11}));  // each a full scoring action
    EXPECT_EQ(refreshes_, 1);  // the windows are rebuilt once, after the last line
}

TEST_F(HistoryLists, OutOfRangeNumbersAndOtherLinesAreSkipped) {
    std::vector<int32_t> listed = Load("+0\r\n+-2\r\n+13\r\n\r\n#5\r\nx\r\n 12\n+1");
    EXPECT_EQ(listed, (std::vector<int32_t>{11}));  // the key's last state
    EXPECT_EQ(Scores(), "+...........");
    // Only the numbers outside the key are counted: remarks and empty lines are meant.
    EXPECT_EQ(skipped_, 3);
    EXPECT_EQ(Load("+1\r\n#13\r\n"), (std::vector<int32_t>{}));
    EXPECT_EQ(skipped_, 0);
    Load(" 99999999999\r\n");
    EXPECT_EQ(skipped_, 1);
}

TEST_F(HistoryLists, TheSkippedLinesAreToldWithTheirReason) {
    EXPECT_EQ(SkippedLinesText(session_, "/tmp/A.HIS", 1),
              "1 line of the history list \"/tmp/A.HIS\" was skipped: its state number is outside "
              "the 12 states of the key " +
                  session_.Key.KeyName + ".  The list may have been written for another key.");
    std::string four = SkippedLinesText(session_, "B.HIS", 4);
    EXPECT_TRUE(
        four.starts_with("4 lines of the history list \"B.HIS\" were skipped: their state "
                         "numbers are outside"))
        << four;
}

TEST_F(HistoryLists, ALineWithoutANumberStopsTheLoadingAfterWhatCameBefore) {
    try {
        Load("+1\r\n-2\r\n+ seven\r\n+4\r\n");
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Scores(), "+-..........");
    EXPECT_EQ(refreshes_, 1);  // also when a bad line ends the loading
}

TEST_F(HistoryLists, EntriesJoinAnOpenGroupAsOrMarks) {
    session_.ToggleOrMode();
    Load("+1\r\n-2\r\n");
    EXPECT_EQ(Scores(), "PA..........");
    // Loading again asks for the same scores; they are refused inside the group.
    Load("+1\r\n");
    EXPECT_EQ(ui_.Texts().size(), 1u);
}

TEST_F(HistoryLists, SavedListsLoadBackAsTheSameHistory) {
    session_.ScoreState(4, RequestAbsent);
    session_.ScoreState(0, RequestPresent);
    session_.ToggleOrMode();
    session_.ScoreState(2, RequestPresent);
    session_.ScoreState(3, RequestAbsent);
    session_.ToggleOrMode();
    std::string path = dir_.Path() + "SAVED.HIS";
    // 9 is unscored; the "Or" members have no character of their own.
    SaveHistoryList(session_, path, {4, 0, 2, 3, 8, 99});
    EXPECT_EQ(testing::ReadFile(path), "-5\r\n+1\r\n 3\r\n 4\r\n 9\r\n");

    session_.OpenEngine()->ClearAllScores();
    history_.clear();
    std::vector<int32_t> listed;
    LoadHistoryList(session_, path, [&](int32_t s) { listed.push_back(s); });
    EXPECT_EQ(Scores(), "+...-.......");
    EXPECT_EQ(history_, (std::vector<int32_t>{4, 0}));
    EXPECT_EQ(listed, (std::vector<int32_t>{2, 3, 8}));
}

TEST_F(HistoryLists, AFailedSaveKeepsTheOldFileAndNamesIt) {
    std::string path = dir_.Path() + "SAVED.HIS";
    testing::WriteFile(path, "+1\r\n");
    session_.ScoreState(1, RequestPresent);
    SetWriteFault([](std::string_view step) { return step == "write" ? ENOSPC : 0; });
    try {
        SaveHistoryList(session_, path, {1});
        ADD_FAILURE() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot write \"" + path + "\": No space left on device.");
    }
    SetWriteFault(nullptr);
    EXPECT_EQ(testing::ReadFile(path), "+1\r\n");
}

}  // namespace
}  // namespace vorn
