// The key's files: the taxon file's two forms, record arithmetic, the codes read when
// the key opens, and files that are short or damaged.
#include <gtest/gtest.h>

#include "core/key/KeyFiles.h"
#include "core/platform/IoError.h"
#include "tests/kit/KeyFixture.h"

namespace vorn {
namespace {

using testing::KeyFixture;
using testing::KeySpec;
using testing::WriteFile;

class KeyFiles : public KeyFixture {
protected:
    // A key of `taxa` taxa and 5 states whose taxon file is replaced by `tax`.
    void OpenWithTaxonFile(const std::string& tax, int taxa) {
        KeySpec keySpec = MakeKey(std::vector<std::string>(5, std::string(taxa, '+')), taxa);
        std::string des = testing::WriteKey(dir_.Path(), keySpec);
        WriteFile(dir_.Path() + "TEST.TAX", tax);
        OpenKey(session_, des);
    }
};

TEST_F(KeyFiles, ShortFormWhenTheLastWholeBlockDoesNotBeginWithDollar) {
    std::string tax;
    for (int t = 0; t < 10; ++t)
        tax += "Taxon" + std::string(35, ' ');
    ASSERT_EQ(tax.size(), 400u);
    OpenWithTaxonFile(tax, 10);
    ASSERT_TRUE(session_.Key.KeyOpen);
    EXPECT_FALSE(session_.Key.LongTaxonNames);
    EXPECT_EQ(session_.Key.TaxonCount, 10);

    // 420 bytes: the 20 extra bytes are no record; the byte at 360 still decides.
    OpenWithTaxonFile(tax + std::string(20, '$'), 10);
    EXPECT_FALSE(session_.Key.LongTaxonNames);
    EXPECT_EQ(session_.Key.TaxonCount, 10);
    EXPECT_EQ(session_.Key.ReadTaxonName(9), "Taxon");
}

TEST_F(KeyFiles, LongFormEndsWithATrailerWhoseByte40IsDollar) {
    std::string tax;
    for (int t = 0; t < 10; ++t) {
        std::string name = "Long name number " + std::to_string(t) + "/with a common name";
        tax += name + std::string(80 - name.size(), ' ');
    }
    std::string trailer(80, 'x');  // no other byte of the trailer is read
    trailer[40] = '$';
    tax += trailer;
    ASSERT_EQ(tax.size(), 880u);
    OpenWithTaxonFile(tax, 10);
    ASSERT_TRUE(session_.Key.KeyOpen);
    EXPECT_TRUE(session_.Key.LongTaxonNames);
    EXPECT_EQ(session_.Key.TaxonCount, 10);
    EXPECT_EQ(session_.Key.ReadTaxonName(0), "Long name number 0/with a common name");
    EXPECT_EQ(session_.Key.ReadTaxonName(9), "Long name number 9/with a common name");
}

TEST_F(KeyFiles, ATaxonFileShorterThanOneRecordCannotBeOpened) {
    EXPECT_THROW(OpenWithTaxonFile("Too short", 1), IoError);
    EXPECT_FALSE(session_.Key.KeyOpen);
    EXPECT_TRUE(session_.Key.KeyName.empty());
    // 40 to 79 bytes starting with "$" would be a long form without its trailer.
    for (size_t size : {40u, 79u}) {
        std::string tax(size, ' ');
        tax[0] = '$';
        try {
            OpenWithTaxonFile(tax, 1);
            ADD_FAILURE() << size << " bytes opened with " << session_.Key.TaxonCount << " taxa";
        } catch (const IoError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot read \"TEST.TAX\": the file is shorter than one taxon record.");
        }
        EXPECT_FALSE(session_.Key.KeyOpen);
    }
    // A later key opens normally.
    Open(MakeKey({"+-", "-+"}));
    EXPECT_EQ(session_.Key.TaxonCount, 2);
}

TEST_F(KeyFiles, TextsLoseTrailingBlanksOnly) {
    KeySpec keySpec = MakeKey({"+-+"});
    keySpec.Taxa = {"   Leading blanks stay", "", "Tab\tand \xA9 stay"};
    keySpec.States = {"  State text  "};
    Open(keySpec);
    EXPECT_EQ(session_.Key.ReadTaxonName(0), "   Leading blanks stay");
    EXPECT_EQ(session_.Key.ReadTaxonName(1), "");
    EXPECT_EQ(session_.Key.ReadTaxonName(2), "Tab\tand \xA9 stay");
    EXPECT_EQ(session_.Key.ReadStateText(0), "  State text");
}

TEST_F(KeyFiles, RecordArithmeticAtTheRecordBoundaries) {
    for (int taxa : {0, 1, 40, 41, 80, 81}) {
        SCOPED_TRACE(taxa);
        // Each taxon's code for state s is "+" exactly when (t + s) % 3 == 0.
        std::vector<std::string> codes;
        for (int s = 0; s < 5; ++s) {
            std::string column;
            for (int t = 0; t < taxa; ++t)
                column += (t + s) % 3 == 0 ? '+' : '-';
            codes.push_back(column);
        }
        KeySpec keySpec = MakeKey(codes, taxa);
        // Only the long form can hold no taxon: its trailer is the whole file.
        keySpec.LongTaxonNames = taxa == 0;
        Open(keySpec);
        EXPECT_EQ(session_.Key.RecordsPerState, taxa <= 40 ? 1 : taxa <= 80 ? 2 : 3);
        EXPECT_EQ(session_.Key.TaxonCount, taxa);
        for (int s = 0; s < 5; ++s) {
            for (int t = 0; t < taxa; ++t) {
                ASSERT_EQ(session_.Key.TaxonCode(s, t), (t + s) % 3 == 0 ? CodePresent : CodeAbsent)
                    << "state " << s << " taxon " << t;
            }
        }
    }
}

TEST_F(KeyFiles, FortyOneTaxaPutTaxon40OfState3InRecord7) {
    std::vector<std::string> codes(5, std::string(41, '-'));
    codes[3][40] = '+';
    codes[3][39] = '*';
    Open(MakeKey(codes));
    EXPECT_EQ(session_.Key.RecordsPerState, 2);
    EXPECT_EQ(session_.Key.TaxonCode(3, 40), CodePresent);
    EXPECT_EQ(session_.Key.TaxonCode(3, 39), CodeVariable);
    EXPECT_EQ(session_.Key.TaxonCode(4, 40), CodeAbsent);
}

TEST_F(KeyFiles, MatrixBytesOtherThanTheFourCodesReadAsUnknown) {
    Open(MakeKey({"?+-*x \x00\xFF"}));
    EXPECT_EQ(session_.Key.TaxonCode(0, 0), CodeUnknown);
    EXPECT_EQ(session_.Key.TaxonCode(0, 1), CodePresent);
    EXPECT_EQ(session_.Key.TaxonCode(0, 2), CodeAbsent);
    EXPECT_EQ(session_.Key.TaxonCode(0, 3), CodeVariable);
    for (int t = 4; t < 8; ++t)
        EXPECT_EQ(session_.Key.TaxonCode(0, t), CodeUnknown) << t;
}

// Every code is read when the key opens, so a matrix that cannot hold them all refuses
// the key then, naming the file; no action can later fail on it.
TEST_F(KeyFiles, AMatrixShorterThanTheStatesNeedRefusesTheKey) {
    KeySpec keySpec = MakeKey({"++", "--", "+-"});
    std::string des = testing::WriteKey(dir_.Path(), keySpec);
    WriteFile(dir_.Path() + "TEST.DAT", std::string(40 * 2 + 39, '+'));  // 2 of 3 records
    OpenKey(session_, des);
    EXPECT_FALSE(session_.Key.KeyOpen);
    EXPECT_FALSE(session_.Key.TaxonFile.IsOpen());
    ASSERT_EQ(ui_.Texts().size(), 1u);
    EXPECT_EQ(ui_.Messages[0].Kind, MessageKind::Error);
    EXPECT_EQ(ui_.Texts()[0],
              "Sorry, the VORN file TEST.DAT of the TEST key is too short: its 2 taxa and 3 "
              "states need 3 records of 40 codes, and it holds 2.  The key cannot be opened.");

    // One more byte completes the last record: the key opens.
    WriteFile(dir_.Path() + "TEST.DAT", std::string(40 * 3, '+'));
    OpenKey(session_, des);
    EXPECT_TRUE(session_.Key.KeyOpen);
}

TEST_F(KeyFiles, SplitTaxonRecordCutsAtNotesThenImageThenCommonName) {
    TaxonRecordFields all = SplitTaxonRecord("Quercus robur/English oak|qrob>QROB.TXT");
    EXPECT_EQ(all.Text, "Quercus robur");
    EXPECT_EQ(all.CommonName, "English oak");
    EXPECT_EQ(all.ImageName, "qrob");
    EXPECT_EQ(all.NotesName, "QROB.TXT");

    TaxonRecordFields notesFirst = SplitTaxonRecord("Name>notes|image/x");
    EXPECT_EQ(notesFirst.Text, "Name");
    EXPECT_EQ(notesFirst.NotesName, "notes|image/x");
    EXPECT_FALSE(notesFirst.ImageName);
    EXPECT_FALSE(notesFirst.CommonName);

    TaxonRecordFields empty = SplitTaxonRecord("Name|>");
    EXPECT_EQ(empty.ImageName, "");  // present, though empty
    EXPECT_EQ(empty.NotesName, "");
    EXPECT_FALSE(SplitTaxonRecord("Plain").ImageName);
    EXPECT_EQ(SplitTaxonRecord("Pinus|pics/p1").ImageName, "pics/p1");
}

}  // namespace
}  // namespace vorn
