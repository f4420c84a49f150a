// Loading history lists into the identification.
#include "core/session/HistoryList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/platform/AtomicFile.h"
#include "core/platform/IoError.h"
#include "core/session/OpenKey.h"
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
        skipped_ = LoadHistoryList(session_, dir_.Path() + "H.HIS",
                                   [&](int32_t s) { listed.push_back(s); });
        return listed;
    }
    SkippedLines skipped_;
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
    EXPECT_EQ(skipped_.OutsideKey, 3);
    EXPECT_EQ(skipped_.Total(), 3);
    EXPECT_EQ(Load("+1\r\n#13\r\n"), (std::vector<int32_t>{}));
    EXPECT_EQ(skipped_.Total(), 0);
    Load(" 99999999999\r\n");
    EXPECT_EQ(skipped_.OutsideKey, 1);
}

TEST_F(HistoryLists, TheSkippedLinesAreToldWithTheirReason) {
    EXPECT_EQ(SkippedLinesText(session_, "/tmp/A.HIS", {.OutsideKey = 1}),
              "1 line of the history list \"/tmp/A.HIS\" was skipped: its state number is outside "
              "the 12 states of the key " +
                  session_.Key.KeyName + ".  The list may have been written for another key.");
    std::string four = SkippedLinesText(session_, "B.HIS", {.OutsideKey = 4});
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
    // 9 is unscored; the "Or" group stands at the place of its first member, whole.
    SaveHistoryList(session_, path, {4, 0, 3, 8, 2, 99});
    EXPECT_EQ(testing::ReadFile(path), "-5\r\n+1\r\n(0\r\np3\r\na4\r\n)0\r\n 9\r\n");

    session_.OpenEngine()->ClearAllScores();
    history_.clear();
    refreshes_ = 0;
    std::vector<int32_t> listed;
    LoadHistoryList(session_, path, [&](int32_t s) { listed.push_back(s); });
    EXPECT_EQ(Scores(), "+.PA-.......");
    ASSERT_EQ(session_.OpenEngine()->ClosedGroups().size(), 1u);
    EXPECT_EQ(session_.OpenEngine()->ClosedGroups()[0].Members, (std::vector<int32_t>{2, 3}));
    EXPECT_FALSE(session_.OrMode());
    EXPECT_EQ(history_, (std::vector<int32_t>{4, 0, 2, 3}));
    EXPECT_EQ(listed, (std::vector<int32_t>{8}));
    EXPECT_EQ(refreshes_, 1);
}

// A list without groups is the bytes it always was; an open group is written open, and
// last, so that the lines after it do not join it.
TEST_F(HistoryLists, AnOpenGroupIsWrittenLastWithoutItsEnd) {
    session_.ScoreState(1, RequestPresent);
    session_.ScoreState(5, RequestAbsent);
    EXPECT_EQ(HistoryListText(session_, {1, 5, 6}), "+2\r\n-6\r\n 7\r\n");
    session_.ToggleOrMode();
    session_.ScoreState(7, RequestAbsent);
    session_.ScoreState(6, RequestPresent);
    EXPECT_EQ(HistoryListText(session_, {1, 6, 5, 7}), "+2\r\n-6\r\n(0\r\na8\r\np7\r\n");
    EXPECT_EQ(ScoresListText(session_), "+2\r\n-6\r\n(0\r\na8\r\np7\r\n");

    // Loaded into the key afresh, the group is open again, with its members.
    session_.OpenEngine()->ClearAllScores();
    Load("+2\r\n-6\r\n(0\r\na8\r\np7\r\n");
    EXPECT_TRUE(session_.OrMode());
    EXPECT_EQ(session_.OpenEngine()->OpenGroup()->Members, (std::vector<int32_t>{7, 6}));
    EXPECT_EQ(Scores(), ".+...-PA....");
    // A line after the group the file left open joins it, as in the windows.
    Load("+12\r\n");
    EXPECT_EQ(session_.OpenEngine()->OpenGroup()->Members, (std::vector<int32_t>{7, 6, 11}));
}

// Group lines out of place are skipped and told; remarks that begin with the group
// lines' letters stay remarks.
TEST_F(HistoryLists, GroupLinesOutOfPlaceAreSkippedAndTold) {
    Load(
        "poplars are not in this key\r\n(see the note)\r\np3\r\n)0\r\n+1\r\n"
        "(0\r\na2\r\n)0\r\n(0\r\np13\r\n)0\r\n)0\r\n");
    EXPECT_EQ(skipped_.MemberOutsideGroup, 1);
    EXPECT_EQ(skipped_.EndWithoutGroup, 2);
    EXPECT_EQ(skipped_.OutsideKey, 1);
    // The group of one member stands; the one whose only member is outside the key is
    // not applied at all.
    EXPECT_EQ(Scores(), "+A..........");
    ASSERT_EQ(session_.OpenEngine()->ClosedGroups().size(), 1u);
    EXPECT_EQ(SkippedLinesText(session_, "G.HIS", skipped_),
              "1 line of the history list \"G.HIS\" was skipped: its state number is outside "
              "the 12 states of the key " +
                  session_.Key.KeyName +
                  ".  The list may have been written for another key.  1 line of the history "
                  "list \"G.HIS\" was skipped: it scores a member of an \"Or\" group where no "
                  "group was begun.  2 lines of the history list \"G.HIS\" were skipped: they "
                  "end an \"Or\" group where none was begun.");
}

// A member line rescores a state scored already; a group begun in the file ends one the
// session has open, as the Or button does; the whole file is one step.
TEST_F(HistoryLists, MembersAreRescoredAndTheLoadIsOneStep) {
    session_.ScoreState(0, RequestPresent);
    session_.ToggleOrMode();
    session_.ScoreState(5, RequestPresent);
    size_t steps = session_.Steps().Done();
    Load("(0\r\na1\r\np2\r\n)0\r\n");
    EXPECT_EQ(Scores(), "AP...P......");
    ASSERT_EQ(session_.OpenEngine()->ClosedGroups().size(), 2u);
    EXPECT_EQ(session_.OpenEngine()->ClosedGroups()[0].Members, (std::vector<int32_t>{5}));
    EXPECT_EQ(session_.OpenEngine()->ClosedGroups()[1].Members, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(session_.Steps().Done(), steps + 1);
    EXPECT_EQ(StepText(session_.Steps().NextUndo(), session_.Key), "Load History List");
    // Undone, the state is Present again and the session's group open with its member.
    EXPECT_TRUE(session_.Undo());
    EXPECT_EQ(Scores(), "+....P......");
    EXPECT_TRUE(session_.OrMode());
    EXPECT_EQ(session_.OpenEngine()->RecountMismatches(), Mismatches());
}

// Random sessions with groups, open and closed, Present and Absent members, saved and
// loaded into a fresh session of the key: the same scores, groups, matching taxa and
// counts.
TEST_F(HistoryLists, RandomSessionsWithGroupsComeBackWhole) {
    std::mt19937 random(4);
    for (int round = 0; round < 60; ++round) {
        session_.OpenEngine()->ClearAllScores();
        std::vector<int32_t> listed;
        auto note = [&listed](int32_t s) {
            if (std::find(listed.begin(), listed.end(), s) == listed.end()) listed.push_back(s);
        };
        for (int i = 0; i < 20; ++i) {
            if (random() % 5 == 0) {
                session_.ToggleOrMode();
                continue;
            }
            auto state = static_cast<int32_t>(random() % 12);
            session_.ScoreState(state, static_cast<ScoreRequest>(random() % 4));
            if (session_.StateScore(state) != ScoreNone) note(state);
        }
        std::string text = HistoryListText(session_, listed);
        std::string before = Scores();
        std::vector<int32_t> mismatches = Mismatches();
        std::string matches = Matches();
        bool open = session_.OrMode();
        std::vector<int32_t> counts;
        for (int32_t s = 0; s < 12; ++s)
            counts.push_back(session_.StateMatchCount(s));

        Session fresh;
        OpenKey(fresh, session_.OpenKeyPath);
        testing::WriteFile(dir_.Path() + "R.HIS", text);
        LoadHistoryList(fresh, dir_.Path() + "R.HIS", nullptr);
        std::string after;
        for (int32_t s = 0; s < 12; ++s)
            after += ".+-PA"[fresh.StateScore(s)];
        // An open group without members leaves no line, so it cannot come back.
        bool emptyOpen = open && session_.OpenEngine()->OpenGroup()->Members.empty();
        ASSERT_EQ(after, before) << text;
        ASSERT_EQ(fresh.OrMode(), open && !emptyOpen) << text;
        for (int32_t t = 0; t < 4; ++t) {
            ASSERT_EQ(fresh.TaxonMismatchCount(t), mismatches[static_cast<size_t>(t)]) << text;
            ASSERT_EQ(fresh.TaxonMatches(t), matches[static_cast<size_t>(t)] == '1') << text;
        }
        for (int32_t s = 0; s < 12; ++s)
            ASSERT_EQ(fresh.StateMatchCount(s), counts[static_cast<size_t>(s)]) << text;
        // Saved again, the same bytes.
        ASSERT_EQ(HistoryListText(fresh, listed), text);
    }
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
