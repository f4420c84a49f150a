// The key writer that tests and the importers share: the whole state texts beside the
// state records, written as given.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/key/KeyWriter.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::ReadFile;
using testing::TempDir;

TEST(KeyWriter, WholeStateTextsAreOneLineEachWhenGiven) {
    TempDir dir;
    KeyContents key;
    key.Name = "K";
    key.Taxa = {"a"};
    key.States = {"leaf: hairs dense on the upper\x85", "leaf: glabrous"};
    key.Codes = {"+", "-"};
    WriteKeyFiles(dir.Path(), key);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "K.CHL"));

    key.WholeStates = {"leaf: hairs dense on the upper surface, \x93woolly\x94", "leaf: glabrous",
                       "a line more than the states"};
    key.Extensions[5] = ".chl";
    WriteKeyFiles(dir.Path(), key);
    EXPECT_EQ(ReadFile(dir.Path() + "K.chl"),
              "leaf: hairs dense on the upper surface, \x93woolly\x94\r\nleaf: glabrous\r\n"
              "a line more than the states\r\n");
    EXPECT_EQ(ReadFile(dir.Path() + "K.CHR").substr(0, 80),
              std::string("leaf: hairs dense on the upper\x85") + std::string(49, ' '));
}

}  // namespace
}  // namespace vorn
