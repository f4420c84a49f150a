#include "core/platform/RecordFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "core/platform/IoError.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::TempDir;
using testing::WriteFile;

std::string Records(int count, int size) {
    std::string bytes;
    for (int r = 0; r < count; ++r)
        bytes += std::string(size, static_cast<char>('A' + r % 26));
    return bytes;
}

TEST(RecordFile, CountsWholeRecordsAndReadsEachOne) {
    TempDir dir;
    WriteFile(dir.Path() + "F.DAT", Records(3, 40) + "partial");
    RecordFile file;
    file.Open(dir.Path() + "F.DAT", 40);
    EXPECT_EQ(file.RecordCount(), 3);
    uint8_t record[40];
    file.ReadRecord(2, record);
    EXPECT_EQ(record[0], 'C');
    file.Seek(0);
    file.Read(record);
    EXPECT_EQ(record[39], 'A');
    file.Read(record);  // reading moves on
    EXPECT_EQ(record[0], 'B');
}

TEST(RecordFile, ReadingBeyondTheEndIsAnErrorNamingTheFile) {
    TempDir dir;
    WriteFile(dir.Path() + "F.DAT", Records(2, 40) + "partial record");
    RecordFile file;
    file.Open(dir.Path() + "F.DAT", 40);
    uint8_t record[40];
    try {
        file.ReadRecord(2, record);  // the partial record is not readable
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.FileName(), dir.Path() + "F.DAT");
        EXPECT_NE(std::string(e.what()).find("beyond the end"), std::string::npos) << e.what();
    }
    EXPECT_THROW(file.Seek(-1), IoError);
}

TEST(RecordFile, MissingFileAndClosedFileAreErrors) {
    TempDir dir;
    RecordFile file;
    try {
        file.Open(dir.Path() + "NONE.DAT", 40);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("NONE.DAT"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos) << e.what();
    }
    uint8_t record[40];
    EXPECT_THROW(file.ReadRecord(0, record), IoError);
    EXPECT_THROW(file.Open(dir.Path(), 40), IoError);  // a directory
}

TEST(RecordFile, APipeOrDeviceNamedAsAKeyFileIsRefusedWithoutWaiting) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir.Path() + "PIPE.DAT").c_str(), 0600), 0);
    RecordFile file;
    try {
        file.Open(dir.Path() + "pipe.dat", 40);  // found ignoring case, then refused
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.Reason(), "it is not an ordinary file");
    }
    EXPECT_THROW(file.Open("/dev/zero", 40), IoError);
    EXPECT_FALSE(file.IsOpen());
}

TEST(RecordFile, ReadAheadSavesSystemCallsWithoutChangingWhatIsRead) {
    TempDir dir;
    WriteFile(dir.Path() + "F.DAT", Records(5000, 40));
    RecordFile file;
    file.Open(dir.Path() + "F.DAT", 40);
    uint8_t record[40];
    for (int r = 0; r < 5000; ++r) {
        file.ReadRecord(r, record);
        ASSERT_EQ(record[0], 'A' + r % 26) << r;
    }
    // 200,000 bytes in 64 KiB portions.
    EXPECT_EQ(file.SystemReads(), 4);
    // Going back reads again, and still returns the right record.
    file.ReadRecord(7, record);
    EXPECT_EQ(record[0], 'A' + 7);
}

TEST(RecordFile, AFileThatShrinksWhileOpenGivesAnErrorNotStaleBytes) {
    TempDir dir;
    std::string path = dir.Path() + "F.DAT";
    WriteFile(path, Records(4000, 40));
    RecordFile file;
    file.Open(path, 40);
    ASSERT_EQ(::truncate(path.c_str(), 40 * 10), 0);
    uint8_t record[40];
    file.ReadRecord(5, record);
    EXPECT_EQ(record[0], 'F');
    EXPECT_THROW(file.ReadRecord(3999, record), IoError);
}

}  // namespace
}  // namespace vorn
