// A key's whole state texts (NAME.CHL): read when they serve, told and passed over when
// they do not, and shown wherever a state's text is.
#include "core/key/WholeStateTexts.h"

#include <gtest/gtest.h>

#include "tests/kit/KeyFixture.h"

namespace vorn {
namespace {

using testing::KeyFixture;
using testing::KeySpec;

TEST(WholeStateTexts, OneLinePerStateAtAnyLineEnd) {
    WholeStateTexts texts =
        WholeStateTextsOf("a: one\r\nb: two\nc: three\r\r\n", false, "K.CHL", 4);
    EXPECT_EQ(texts.Problem, "");
    EXPECT_EQ(texts.Texts, (std::vector<std::string>{"a: one", "b: two", "c: three", ""}));
    // No line end after the last line.
    EXPECT_EQ(WholeStateTextsOf("x\r\ny", false, "K.CHL", 2).Texts,
              (std::vector<std::string>{"x", "y"}));
    // A long line is cut, and still one line.
    WholeStateTexts cut =
        WholeStateTextsOf(std::string(5000, 'w') + "\r\nz\r\n", false, "K.CHL", 2);
    ASSERT_EQ(cut.Texts.size(), 2u);
    EXPECT_EQ(cut.Texts[0].size(), kMaxWholeStateText);
}

TEST(WholeStateTexts, AnyOtherNumberOfLinesServesNot) {
    EXPECT_EQ(WholeStateTextsOf("a\r\nb\r\n", false, "K.CHL", 3).Problem,
              "K.CHL holds 2 lines for the key's 3 states");
    EXPECT_EQ(WholeStateTextsOf("a\r\n", false, "K.CHL", 3).Problem,
              "K.CHL holds 1 line for the key's 3 states");
    EXPECT_EQ(WholeStateTextsOf("a\r\nb\r\nc\r\n", false, "K.CHL", 1).Problem,
              "K.CHL holds more lines than the key's 1 state");
    EXPECT_EQ(WholeStateTextsOf("", false, "K.CHL", 2).Problem,
              "K.CHL holds 0 lines for the key's 2 states");
    EXPECT_EQ(WholeStateTextsOf("a\r\nb\r\n", true, "K.CHL", 2).Problem,
              "K.CHL is larger than 2 lines of state texts can be");
    EXPECT_TRUE(WholeStateTextsOf("a\r\nb\r\n", true, "K.CHL", 2).Texts.empty());
}

class WholeTextsOfAKey : public KeyFixture {
protected:
    KeySpec WholeTextsKey() {
        KeySpec keySpec = MakeKey({"+-", "-+", "++"});
        keySpec.States = {"Leaf: number of leaflets at the tip of the ...", "Leaf: smooth",
                          "Bark: red"};
        keySpec.WholeStates = {
            "Leaf: number of leaflets at the tip of the rachis, counted on the upper leaves",
            "Leaf: smooth", "Bark: red"};
        return keySpec;
    }
};

TEST_F(WholeTextsOfAKey, AFileThatServesGivesEveryStateItsWholeText) {
    Open(WholeTextsKey());
    EXPECT_EQ(session_.Key.ReadStateText(0),
              "Leaf: number of leaflets at the tip of the rachis, counted on the upper leaves");
    EXPECT_EQ(session_.Key.ReadStateText(2), "Bark: red");
    EXPECT_TRUE(ui_.Texts().empty());
}

TEST_F(WholeTextsOfAKey, AFileOfTheWrongLengthIsToldOnceAndTheRecordsShown) {
    KeySpec keySpec = WholeTextsKey();
    keySpec.WholeStates.pop_back();
    Open(keySpec);
    EXPECT_EQ(session_.Key.ReadStateText(0), "Leaf: number of leaflets at the tip of the ...");
    ASSERT_EQ(ui_.Texts().size(), 1u);
    EXPECT_EQ(ui_.Texts()[0],
              "The whole state texts of the TEST key cannot be shown: TEST.CHL holds 2 lines for "
              "the key's 3 states.  The shorter texts of TEST.CHR are shown instead.");
    // The next key without the file reads its records, and says nothing.
    CloseKey(session_);
    KeySpec plain = MakeKey({"+-"});
    plain.Name = "PLAIN";
    Open(plain);
    EXPECT_EQ(session_.Key.ReadStateText(0), "State 0");
    EXPECT_EQ(ui_.Texts().size(), 1u);
}

}  // namespace
}  // namespace vorn
