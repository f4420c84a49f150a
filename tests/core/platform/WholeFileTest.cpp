// Reading a file whole: limits, and failures of reading and closing that reach the user.
#include "core/platform/WholeFile.h"

#include <gtest/gtest.h>

#include "core/key/NotesText.h"
#include "core/platform/IoError.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::TempDir;
using testing::WriteFile;

class WholeFile : public ::testing::Test {
protected:
    void TearDown() override { SetWholeFileFault({}); }
    TempDir dir_;
};

TEST_F(WholeFile, ReadsUpToTheLimitAndTellsWhetherThereIsMore) {
    std::string big(200000, 'x');
    big[199999] = 'y';
    WriteFile(dir_.Path() + "big", big);
    FileBytes whole = ReadWholeFile(dir_.Path() + "big");
    EXPECT_EQ(whole.Bytes, big);
    EXPECT_FALSE(whole.More);

    FileBytes head = ReadWholeFile(dir_.Path() + "big", 70000);
    EXPECT_EQ(head.Bytes, big.substr(0, 70000));
    EXPECT_TRUE(head.More);
    // A file exactly as long as the limit holds no more.
    EXPECT_FALSE(ReadWholeFile(dir_.Path() + "big", big.size()).More);
}

TEST_F(WholeFile, AFailedCloseOrReadIsReportedWithTheFileNotSwallowed) {
    std::string notes = dir_.Path() + "OAK.TXT";
    WriteFile(notes, "Quercus robur\r\n");
    SetWholeFileFault(
        [](const std::string&, std::string_view step) { return step == "close" ? EIO : 0; });
    try {
        ReadNotesText(notes);
        FAIL() << "a failed close went unnoticed";
    } catch (const IoError& e) {
        EXPECT_EQ(e.FileName(), notes);
        EXPECT_NE(std::string(e.what()).find("close"), std::string::npos) << e.what();
    }

    // A read failure is the one told when both fail.
    SetWholeFileFault([](const std::string&, std::string_view) { return EIO; });
    try {
        ReadWholeFile(notes);
        FAIL() << "a failed read went unnoticed";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("read"), std::string::npos) << e.what();
    }

    SetWholeFileFault({});
    EXPECT_EQ(ReadNotesText(notes).Text, "Quercus robur");
}

}  // namespace
}  // namespace vorn
