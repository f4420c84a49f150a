#include "core/platform/FileLookup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/platform/Text.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(FileLookup, ExactNameWinsThenTheOneCaseInsensitiveMatch) {
    TempDir dir;
    WriteFile(dir.Path() + "trees.dat", "lower");
    EXPECT_EQ(ResolveFileName(dir.Path() + "TREES.DAT"), dir.Path() + "trees.dat");
    EXPECT_TRUE(FileExists(dir.Path() + "TREES.DAT"));

    // With both spellings present the exact one is used.
    WriteFile(dir.Path() + "TREES.DAT", "upper");
    EXPECT_EQ(ResolveFileName(dir.Path() + "TREES.DAT"), dir.Path() + "TREES.DAT");
    EXPECT_EQ(ResolveFileName(dir.Path() + "trees.dat"), dir.Path() + "trees.dat");
    // Neither spelling exactly: the first in byte order, every time.
    EXPECT_EQ(ResolveFileName(dir.Path() + "Trees.Dat"), dir.Path() + "TREES.DAT");
}

TEST(FileLookup, ResolvesEveryComponentAndKeepsUnknownNames) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir.Path() + "Pics").c_str(), 0755), 0);
    WriteFile(dir.Path() + "Pics/q1.jpg", "x");
    EXPECT_EQ(ResolveFileName(dir.Path() + "PICS/Q1.JPG"), dir.Path() + "Pics/q1.jpg");
    EXPECT_EQ(ResolveFileName(dir.Path() + KeyNameToPath("PICS\\Q1.JPG")),
              dir.Path() + "Pics/q1.jpg");
    // Nothing matches: the name comes back as it was, for the message.
    EXPECT_EQ(ResolveFileName(dir.Path() + "PICS/Q2.JPG"), dir.Path() + "PICS/Q2.JPG");
    EXPECT_FALSE(FileExists(dir.Path() + "PICS/Q2.JPG"));
    // A directory is no file, and a file is no directory.
    EXPECT_FALSE(FileExists(dir.Path() + "pics"));
    EXPECT_TRUE(DirectoryExists(dir.Path() + "pics"));
    EXPECT_FALSE(DirectoryExists(dir.Path() + "pics/Q1.JPG"));
    EXPECT_FALSE(FileExists(""));
}

// A key names its pictures in Windows-1252; the files may have been copied onto a disk
// that writes names in UTF-8, or kept their bytes.
TEST(FileLookup, KeyNamesFindTheirFilesInUtf8OrInTheirOwnBytes) {
    TempDir dir;
    WriteFile(dir.Path() + "b\xC3\xA9tula.jpg", "utf-8");  // bétula.jpg in UTF-8
    WriteFile(dir.Path() + "\xC5\xA0IPKA.GIF", "utf-8");   // ŠIPKA.GIF in UTF-8
    WriteFile(dir.Path() + "ch\xEAne.txt", "windows");     // chêne.txt in Windows-1252
    EXPECT_EQ(ResolveFileName(dir.Path() + "B\xC9TULA.JPG"), dir.Path() + "b\xC3\xA9tula.jpg");
    EXPECT_EQ(ResolveFileName(dir.Path() + "\x9Aipka.gif"), dir.Path() + "\xC5\xA0IPKA.GIF");
    EXPECT_EQ(ResolveFileName(dir.Path() + "CH\xCANE.TXT"), dir.Path() + "ch\xEAne.txt");
    // A name typed in UTF-8 finds the Windows-1252 one, whatever its case.
    EXPECT_EQ(ResolveFileName(dir.Path() + "CH\xC3\x8ANE.TXT"), dir.Path() + "ch\xEAne.txt");
    // Accents still count: e is not \xE9, and a lone UTF-8 byte is no letter.
    EXPECT_FALSE(FileExists(dir.Path() + "BETULA.JPG"));
    EXPECT_FALSE(FileExists(dir.Path() + "B\xC3TULA.JPG"));
}

TEST(Text, CaseFoldsAsciiAndWindowsLettersOnly) {
    EXPECT_EQ(FoldCase("ABC \xC0\xDE\xD7 \x8A\x8C\x8E\x9F \xDF"),
              "abc \xE0\xFE\xD7 \x9A\x9C\x9E\xFF \xDF");               // \xD7 is the sign x
    EXPECT_TRUE(EqualIgnoringCase("\xC9t\xE9", "\xC3\xA9T\xC3\x89"));  // both ways round
    EXPECT_TRUE(EqualIgnoringCase("\xC3\xA9T\xC3\x89", "\xC9t\xE9"));
    EXPECT_TRUE(EqualIgnoringCase("\x8C", "\xC5\x93"));  // Œ and œ
    EXPECT_FALSE(EqualIgnoringCase("\xD7", "\xF7"));     // × and ÷ are no letters
    EXPECT_FALSE(EqualIgnoringCase("ab", "abc"));
    EXPECT_TRUE(EqualIgnoringCase("Trees.DES", "TREES.des"));
}

TEST(Text, Utf8DecodingAcceptsWellFormedSequencesOnly) {
    EXPECT_TRUE(IsUtf8("Hult\xC3\xA9n \xE2\x80\x93 \xF0\x9F\x8C\xB2"));
    for (std::string bad : {"\xC0\x80",          // an overlong NUL
                            "\xED\xA0\x80",      // a surrogate
                            "\xF4\x90\x80\x80",  // beyond U+10FFFF
                            "\xE2\x82",          // cut short at the end
                            "Hult\xE9n"}) {      // Windows-1252, not UTF-8
        SCOPED_TRACE(bad);
        EXPECT_FALSE(IsUtf8(bad));
        // Both decoders agree on which bytes they replace.
        EXPECT_NE(FileNameToUtf8(bad), bad);
    }
    std::string text = "\xE2\x80x\xC3\xA9";
    size_t i = 0;
    bool valid = true;
    EXPECT_EQ(NextUtf8CodePoint(text, i, &valid), 0xFFFDu);  // one byte skipped, not two
    EXPECT_EQ(i, 1u);
    EXPECT_FALSE(valid);
    EXPECT_EQ(NextUtf8CodePoint(text, i), 0xFFFDu);
    EXPECT_EQ(NextUtf8CodePoint(text, i), uint32_t('x'));
    EXPECT_EQ(NextUtf8CodePoint(text, i), 0xE9u);
    EXPECT_EQ(i, text.size());
}

}  // namespace
}  // namespace vorn
