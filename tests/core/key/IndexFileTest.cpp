// Reading index files: the table of entries and the places of headings and buttons, on
// good files and on each kind of bad one. Bad files keep what was read before the fault.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/key/IndexFile.h"
#include "core/platform/IoError.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::TempDir;
using testing::WriteFile;

// Two columns of three and five entries, as a key of trees might have.
const char* const kTwoColumns =
    "2 20 2\r\n"
    "Leaves\r\n"
    "3\r\n"
    "Arrangement\r\n"
    "1 4\r\n"
    "   Shape|LEAF.JPG\r\n"
    "-2 3 5 10 12   two ranges\r\n"
    "Margin\r\n"
    "4 4\r\n"
    "Bark\r\n"
    "5\r\n"
    "Colour\r\n"
    "13 15\r\n"
    "Texture\r\n"
    "16 18\r\n"
    "  \r\n"
    "19 19\r\n"
    "Photographs only| BARK.JPG \r\n"
    "0 0\r\n"
    "Lenticels\r\n"
    "0 7\r\n";

class IndexFileTest : public ::testing::Test {
protected:
    IndexLayout Read(const std::string& text) {
        WriteFile(dir_.Path() + "TREES.IND", text);
        return ReadIndexFile(dir_.Path() + "TREES.IND", table_);
    }
    // The message of the error that ended the reading, or "" when there was none.
    static std::string ErrorText(const IndexLayout& layout) {
        if (!layout.Error) return "";
        try {
            std::rethrow_exception(layout.Error);
        } catch (const IoError& error) {
            return error.what();
        }
    }
    std::string Name() const { return dir_.Path() + "TREES.IND"; }
    // "first-last" for each range of an entry, zero-based.
    std::vector<std::string> Ranges(int entry) const {
        std::vector<std::string> ranges;
        for (const EntryRange& r : table_.at(static_cast<size_t>(entry)).Ranges)
            ranges.push_back(std::to_string(r.First) + "-" + std::to_string(r.Last));
        return ranges;
    }

    TempDir dir_;
    IndexTableType table_;
};

TEST_F(IndexFileTest, TwoColumnsGiveTheirPlacesAndClientArea) {
    IndexLayout layout = Read(kTwoColumns);
    EXPECT_EQ(ErrorText(layout), "");
    EXPECT_EQ(layout.Notice, "");
    EXPECT_EQ(layout.ClientWidth, 272);
    EXPECT_EQ(layout.ClientHeight, 160);

    ASSERT_EQ(layout.Headings.size(), 2u);
    EXPECT_EQ(layout.Headings[0].Left, 10);
    EXPECT_EQ(layout.Headings[0].Width, 120);
    EXPECT_EQ(layout.Headings[0].Text, "Leaves");
    EXPECT_EQ(layout.Headings[1].Left, 142);
    EXPECT_EQ(layout.Headings[1].Text, "Bark");

    ASSERT_EQ(layout.Buttons.size(), 8u);
    struct Place {
        int entry, left, top;
        const char* text;
    };
    const Place places[] = {
        {0, 10, 30, "Arrangement"},
        {1, 10, 56, "Shape"},
        {2, 10, 82, "Margin"},
        {3, 142, 30, "Colour"},
        {4, 142, 56, "Texture"},
        {5, 142, 82, ""},
        {6, 142, 108, "Photographs only"},
        {7, 142, 134, "Lenticels"},
    };
    for (size_t i = 0; i < std::size(places); ++i) {
        const IndexButtonPlace& b = layout.Buttons[i];
        EXPECT_EQ(b.Entry, places[i].entry);
        EXPECT_EQ(b.Left, places[i].left) << i;
        EXPECT_EQ(b.Top, places[i].top) << i;
        EXPECT_EQ(b.Width, 120);
        EXPECT_EQ(b.Text, places[i].text);
        EXPECT_EQ(table_[i].Number, places[i].entry);
    }
}

TEST_F(IndexFileTest, EntriesHoldCaptionsImagesAndZeroBasedRanges) {
    Read(kTwoColumns);
    EXPECT_EQ(table_[0].Caption(), "Leaves:  Arrangement");
    EXPECT_FALSE(table_[0].ImageName);
    EXPECT_EQ(Ranges(0), std::vector<std::string>({"0-3"}));

    EXPECT_EQ(table_[1].Caption(), "Leaves:  Shape");
    EXPECT_EQ(table_[1].ImageName, "LEAF.JPG");
    EXPECT_EQ(Ranges(1), std::vector<std::string>({"2-4", "9-11"}));

    EXPECT_EQ(Ranges(2), std::vector<std::string>({"3-3"}));
    EXPECT_EQ(table_[3].Caption(), "Bark:  Colour");
    EXPECT_EQ(table_[5].Caption(), "Bark:  ");

    EXPECT_EQ(table_[6].ImageName, " BARK.JPG ");  // blanks are part of the name
    EXPECT_TRUE(table_[6].ListsNoStates());
    // A first state of 0 lists nothing, whatever the last state says.
    EXPECT_TRUE(table_[7].ListsNoStates());
    EXPECT_FALSE(table_[3].ListsNoStates());
    // The table holds the entries of the file and no more.
    EXPECT_EQ(table_.size(), 8u);
}

TEST_F(IndexFileTest, ReadingAgainForgetsTheEntriesBefore) {
    Read(kTwoColumns);
    IndexLayout layout = Read("1 10 0\nOnly\n1\nOne\n1 2\n");
    EXPECT_EQ(layout.Buttons.size(), 1u);
    ASSERT_EQ(table_.size(), 1u);
    EXPECT_EQ(table_[0].Caption(), "Only:  One");
    EXPECT_FALSE(table_[0].ImageName);
}

TEST_F(IndexFileTest, NumbersMayFollowLineEndsAndLinesMayEndInLf) {
    IndexLayout layout =
        Read("1\n 12\n\n 1\nHeading  \n\n 2\nFirst\n-1\n 7\n 9 ignored\nSecond\n3 3");
    EXPECT_EQ(ErrorText(layout), "");
    ASSERT_EQ(layout.Buttons.size(), 2u);
    EXPECT_EQ(layout.Headings[0].Text, "Heading  ");
    EXPECT_EQ(Ranges(0), std::vector<std::string>({"6-8"}));
    EXPECT_EQ(Ranges(1), std::vector<std::string>({"2-2"}));
    EXPECT_EQ(layout.ClientWidth, 10 + 72 + 10);
    EXPECT_EQ(layout.ClientHeight, 30 + 2 * 26);
}

TEST_F(IndexFileTest, TextWhereANumberBelongsEndsTheReadingKeepingWhatCameBefore) {
    IndexLayout layout = Read("2 10 1\nA\n2\nOne\n1 2\nTwo\n3 x\nB\n1\nThree\n5 6\n");
    EXPECT_EQ(ErrorText(layout),
              "Cannot read \"" + Name() + "\": a number was expected in line 7.");
    ASSERT_EQ(layout.Buttons.size(), 1u);
    EXPECT_EQ(layout.Buttons[0].Text, "One");
    EXPECT_EQ(layout.Headings.size(), 1u);
    // Sized to the one column and the one entry read.
    EXPECT_EQ(layout.ClientWidth, 10 + 60 + 10);
    EXPECT_EQ(layout.ClientHeight, 30 + 26);
}

TEST_F(IndexFileTest, FileCutShortOrMissingIsAReadingError) {
    IndexLayout shortFile = Read("3 10 1\nA\n1\nOne\n1 2\n");
    EXPECT_EQ(ErrorText(shortFile),
              "Cannot read \"" + Name() + "\": the file ends too early, at line 6.");
    EXPECT_EQ(shortFile.Headings.size(), 1u);
    EXPECT_EQ(shortFile.Buttons.size(), 1u);

    IndexLayout empty = Read("");
    EXPECT_EQ(ErrorText(empty), "Cannot read \"" + Name() + "\": a number was expected in line 1.");
    EXPECT_EQ(empty.ClientWidth, 20);
    EXPECT_EQ(empty.ClientHeight, 30);

    IndexLayout missing = ReadIndexFile(dir_.Path() + "NONE.IND", table_);
    EXPECT_NE(ErrorText(missing).find("Cannot open"), std::string::npos);
    EXPECT_TRUE(missing.Buttons.empty());
}

// Far more entries and ranges than the first indexes held (201 entries of 6 ranges): an
// index of one entry per character of a large dataset is read whole.
TEST_F(IndexFileTest, ManyEntriesOfManyRangesAreReadWhole) {
    std::string text = "3 10 1\nFirst\n150\n";
    for (int i = 0; i < 150; ++i)
        text += "Entry " + std::to_string(i) + "\n" + std::to_string(i + 1) + " " +
                std::to_string(i + 1) + "\n";
    text += "Second\n900\n";
    for (int i = 150; i < 1050; ++i)
        text += "Entry " + std::to_string(i) + "\n1 1\n";
    text += "Third\n1\nMany ranges\n-40";
    for (int i = 1; i <= 40; ++i)
        text += " " + std::to_string(2 * i) + " " + std::to_string(2 * i + 1);
    text += "\n";
    IndexLayout layout = Read(text);
    EXPECT_EQ(ErrorText(layout), "");
    EXPECT_EQ(layout.Notice, "");
    ASSERT_EQ(layout.Buttons.size(), 1051u);
    ASSERT_EQ(table_.size(), 1051u);
    EXPECT_EQ(table_[1049].Caption(), "Second:  Entry 1049");
    // A column's entries share its heading rather than each holding a copy.
    EXPECT_EQ(table_[150].Heading.get(), table_[1049].Heading.get());
    EXPECT_EQ(table_[1050].Number, 1050);
    ASSERT_EQ(table_[1050].Ranges.size(), 40u);
    EXPECT_EQ(Ranges(1050).back(), "79-80");
    EXPECT_EQ(layout.Buttons.back().Left, 10 + 2 * 66);
    EXPECT_EQ(layout.ClientHeight, 30 + 900 * 26);
}

// Past the limits, what a key could not use: the first 65,535 entries are kept, and the
// message names the line that asked for more.
TEST_F(IndexFileTest, MoreEntriesThanAKeyCanUseKeepTheFirst) {
    std::string text = "2 10 1\nFirst\n65530\n";
    for (int i = 0; i < 65530; ++i)
        text += "E\n1 1\n";
    text += "Second\n10\n";  // the count is on line 131065
    for (int i = 0; i < 10; ++i)
        text += "Late " + std::to_string(i) + "\n2 2\n";
    IndexLayout layout = Read(text);
    EXPECT_EQ(ErrorText(layout), "");
    EXPECT_EQ(layout.Notice, "The index file \"" + Name() +
                                 "\" asks for more than 65535 entries at line 131065; the "
                                 "entries after that are left out.");
    ASSERT_EQ(table_.size(), 65535u);
    EXPECT_EQ(table_.back().Caption(), "Second:  Late 4");
    EXPECT_EQ(layout.Buttons.size(), 65535u);
}

TEST_F(IndexFileTest, NumbersOutOfBoundsAreBroughtWithinThem) {
    struct Row {
        const char* text;
        const char* notice;
        size_t headings, buttons;
        int width, height;
    };
    const Row rows[] = {
        {"1 5000000 2\nA\n1\nOne\n1 1\n",
         "asks for a column width of 5000000 characters at line 1; 100 is used instead.", 1, 1, 620,
         56},
        {"2 10 -4\nA\n0\nB\n0\n",
         "asks for a gap between columns of -4 characters at line 1; 0 is used instead.", 2, 0, 140,
         30},
        {"-3 10 1\n", "asks for -3 columns at line 1; no columns are read.", 0, 0, 20, 30},
        {"1 10 1\nA\n-7\n", "asks for -7 entries at line 3; the column is left empty.", 1, 0, 80,
         30},
        {"-2147483648 10 1\n", "asks for -2147483648 columns at line 1; no columns are read.", 0, 0,
         20, 30},
    };
    for (const Row& row : rows) {
        IndexLayout layout = Read(row.text);
        EXPECT_EQ(ErrorText(layout), "") << row.text;
        EXPECT_EQ(layout.Notice, "The index file \"" + Name() + "\" " + row.notice);
        EXPECT_EQ(layout.Headings.size(), row.headings) << row.text;
        EXPECT_EQ(layout.Buttons.size(), row.buttons) << row.text;
        EXPECT_EQ(layout.ClientWidth, row.width) << row.text;
        EXPECT_EQ(layout.ClientHeight, row.height) << row.text;
    }
}

TEST_F(IndexFileTest, EveryRangeOfAnEntryIsKept) {
    IndexLayout layout =
        Read("1 10 1\nA\n2\nOne\n-7 1 2 3 4 5 6 7 8 9 10 11 12\n13 14\nTwo\n20 21\n");
    EXPECT_EQ(ErrorText(layout), "");
    EXPECT_EQ(Ranges(0),
              std::vector<std::string>({"0-1", "2-3", "4-5", "6-7", "8-9", "10-11", "12-13"}));
    // The seventh pair on the next line is not taken for the next entry.
    EXPECT_EQ(table_[1].Caption(), "A:  Two");
    EXPECT_EQ(Ranges(1), std::vector<std::string>({"19-20"}));
}

TEST_F(IndexFileTest, ManyColumnsStopAtTheLimitAndTheFirstNoticeIsKept) {
    std::string text = "1000000 1000 1\n";
    for (int i = 0; i < 10050; ++i)
        text += "H\n0\n";
    IndexLayout layout = Read(text);
    EXPECT_EQ(layout.Notice, "The index file \"" + Name() +
                                 "\" asks for 1000000 columns at line 1; only the first 10000 "
                                 "are read.");
    EXPECT_EQ(ErrorText(layout), "");
    EXPECT_EQ(layout.Headings.size(), 10000u);
    EXPECT_EQ(layout.Headings.back().Left, 10 + 9999 * 606);
    EXPECT_EQ(layout.ClientWidth, 20 + 10000 * 606 - 6);
}

// A range count in the millions with a short file ends in a reading error, not in a long
// loop or room set aside for the ranges it names.
TEST_F(IndexFileTest, HugeRangeCountEndsAtTheFileEnd) {
    IndexLayout layout = Read("1 10 1\nA\n2\nOne\n-2000000000 1 2 3 4\nTwo\n5 6\n");
    EXPECT_NE(layout.Notice.find("2000000000 ranges of states at line 5"), std::string::npos);
    EXPECT_EQ(ErrorText(layout),
              "Cannot read \"" + Name() + "\": a number was expected in line 6.");
    EXPECT_TRUE(layout.Buttons.empty());
}

TEST_F(IndexFileTest, ExtremeStateNumbersDoNotOverflow) {
    Read("1 10 1\nA\n1\nOne\n-2 -2147483648 2147483647 99999999999 5\n");
    EXPECT_EQ(Ranges(0), std::vector<std::string>({"-2147483648-2147483646", "2147483646-4"}));
}

}  // namespace
}  // namespace vorn
