// Loading history lists into the identification.
#include "engine/HistoryList.h"

#include <gtest/gtest.h>

#include "platform/IoError.h"
#include "tests/support/EngineFixture.h"

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
        LoadHistoryList(dir_.Path() + "H.HIS", [&](int32_t s) { listed.push_back(s); });
        return listed;
    }
};

TEST_F(HistoryLists, PlusScoresPresentBlankListsMinusScoresAbsent) {
    std::vector<int32_t> listed = Load("+3\r\n 7\r\n-  12 trailing words\r\n");
    EXPECT_EQ(listed, (std::vector<int32_t>{6}));
    EXPECT_EQ(Scores(), "..+........-");
    EXPECT_EQ(history_, (std::vector<int32_t>{2, 11}));  // each a full scoring action
    EXPECT_EQ(refreshes_, 2);
}

TEST_F(HistoryLists, OutOfRangeNumbersAndOtherLinesAreSkipped) {
    std::vector<int32_t> listed = Load("+0\r\n+-2\r\n+13\r\n\r\n#5\r\nx\r\n 12\n+1");
    EXPECT_EQ(listed, (std::vector<int32_t>{11}));  // the key's last state
    EXPECT_EQ(Scores(), "+...........");
}

TEST_F(HistoryLists, ALineWithoutANumberStopsTheLoadingAfterWhatCameBefore) {
    try {
        Load("+1\r\n-2\r\n+ seven\r\n+4\r\n");
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Scores(), "+-..........");
}

TEST_F(HistoryLists, EntriesJoinAnOpenGroupAsOrMarks) {
    ToggleOrMode();
    Load("+1\r\n-2\r\n");
    EXPECT_EQ(Scores(), "PA..........");
    // Loading again asks for the same scores; they are refused inside the group.
    Load("+1\r\n");
    EXPECT_EQ(ui_.Texts().size(), 1u);
}

}  // namespace
}  // namespace vorn
