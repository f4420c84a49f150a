// Opening and closing keys without windows: what the user is told, what stays open.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/key/KeyFiles.h"
#include "core/platform/Directory.h"
#include "core/session/Events.h"
#include "core/session/KeyHistory.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "tests/kit/KeyFixture.h"

namespace vorn {
namespace {

using testing::KeyFixture;
using testing::KeySpec;

// Records what opening and closing tell the desktop.
class RecordingEvents : public SessionEvents {
public:
    void KeyOpened() override { Calls += "opened "; }
    bool ConfirmTitlePage() override {
        Calls += "title ";
        return AcceptTitle;
    }
    void KeyAccepted() override { Calls += "accepted "; }
    void KeyClosed() override { Calls += "closed "; }

    std::string Calls;
    bool AcceptTitle = true;
};

class OpeningKeys : public KeyFixture {
protected:
    OpeningKeys() { session_.SetEvents(&desktop_); }
    ~OpeningKeys() override { session_.SetEvents(nullptr); }
    RecordingEvents desktop_;
};

TEST_F(OpeningKeys, MissingFilesAreListedInOrderAfterTwoBlanks) {
    KeySpec keySpec = MakeKey({"+-"});
    keySpec.Name = "TREES";
    std::string des = testing::WriteKey(dir_.Path(), keySpec);
    session_.KeyHistory[1] = des;
    std::remove((dir_.Path() + "TREES.CHR").c_str());
    std::remove((dir_.Path() + "TREES.DAT").c_str());
    OpenKey(session_, des);
    ASSERT_EQ(ui_.Texts().size(), 1u);
    EXPECT_EQ(ui_.Texts()[0],
              "Sorry, one or more of the VORN files needed for the TREES key could not be found "
              "in the subdirectory " +
                  dir_.Path() + ".  Not found:  TREES.CHR, TREES.DAT.");
    EXPECT_EQ(ui_.Messages[0].Kind, MessageKind::Information);
    EXPECT_EQ(desktop_.Calls, "closed ");
    EXPECT_EQ(session_.KeyHistory[1], "") << "the entry leaves the key history";
    EXPECT_FALSE(session_.Key.KeyOpen);
    // The names built for the attempt are emptied again: no index is offered.
    EXPECT_TRUE(session_.Key.IndFileName.empty());

    std::remove(des.c_str());
    OpenKey(session_, des);
    EXPECT_EQ(ui_.Texts()[1],
              "Sorry, one or more of the VORN files needed for the TREES key could not be found "
              "in the subdirectory " +
                  dir_.Path() + ".  Not found:  TREES.DES, TREES.CHR, TREES.DAT.");
}

TEST_F(OpeningKeys, AMissingDirectoryIsToldAloneAndLeavesTheHistory) {
    std::string path = dir_.Path() + "gone/KEYS/OAKS.DES";
    session_.KeyHistory[0] = path;
    OpenKey(session_, path);
    ASSERT_EQ(ui_.Texts().size(), 1u);
    EXPECT_EQ(ui_.Texts()[0],
              "Sorry, the directory \"" + dir_.Path() + "gone/KEYS/\" does not exist.");
    EXPECT_EQ(session_.KeyHistory[0], "");
    EXPECT_FALSE(session_.Key.KeyOpen);
}

TEST_F(OpeningKeys, CapacityIs65535TaxaAnd65535States) {
    Open(MakeKey({std::string(65535, '+')}));
    EXPECT_EQ(session_.Key.TaxonCount, 65535);
    EXPECT_EQ(session_.MatchingTaxaCount(), 65535);
    Open(MakeKey(std::vector<std::string>(65535, "+-")));
    EXPECT_EQ(session_.Key.StateCount, 65535);
    EXPECT_EQ(session_.MatchingTaxaCount(), 2);

    for (auto [taxa, states] : {std::pair{65536, 1}, std::pair{1, 65536}}) {
        ui_.Messages.clear();
        desktop_.Calls.clear();
        session_.KeyHistory = {};
        OpenKey(session_, testing::WriteKey(dir_.Path(), MakeKey(std::vector<std::string>(
                                                             states, std::string(taxa, '-')))));
        ASSERT_EQ(ui_.Texts().size(), 1u);
        EXPECT_EQ(ui_.Messages[0].Kind, MessageKind::Error);
        EXPECT_EQ(ui_.Texts()[0],
                  "The VORN key you wish to access is too large for this copy of VORN (at most "
                  "65,535 taxa and 65,535 states).  The key cannot be opened.");
        EXPECT_FALSE(session_.Key.KeyOpen);
        EXPECT_FALSE(session_.Key.TaxonFile.IsOpen());
        EXPECT_EQ(session_.OpenEngine(), nullptr);
        // The history is left alone for a key that is too large.
        EXPECT_EQ(session_.KeyHistory[0], "");
        EXPECT_EQ(desktop_.Calls, "closed ");
        // The previous key was closed first, and with no key open nothing matches.
        EXPECT_EQ(session_.MatchingTaxaCount(), 0);
    }
}

TEST_F(OpeningKeys, AnAcceptedKeyEntersHistoryAndItsDirectoryBecomesCurrent) {
    KeySpec keySpec = MakeKey({"+-", "-+"});
    keySpec.Name = "OAKS";
    keySpec.Index = "1 20 2\r\nHeading\r\n1\r\nEntry\r\n1 2\r\n";
    std::string des = testing::WriteKey(dir_.Path(), keySpec);
    OpenKey(session_, des);
    ASSERT_TRUE(session_.Key.KeyOpen);
    EXPECT_EQ(CurrentDirectory(), AbsolutePath(dir_.Path()));
    EXPECT_EQ(session_.Key.KeyName, "OAKS");
    EXPECT_EQ(session_.Key.IndFileName, "OAKS.IND");
    EXPECT_EQ(session_.OpenKeyPath, des);
    EXPECT_EQ(session_.WorkDir, dir_.Path());
    EXPECT_EQ(desktop_.Calls, "closed opened title accepted ");
    EXPECT_EQ(session_.KeyHistory[0], des);

    desktop_.Calls.clear();
    CloseKey(session_);
    EXPECT_EQ(desktop_.Calls, "closed ");
    EXPECT_TRUE(session_.OpenKeyPath.empty());
    EXPECT_TRUE(session_.Key.KeyName.empty());
    EXPECT_EQ(session_.WorkDir, dir_.Path());  // kept for the settings
}

TEST_F(OpeningKeys, DecliningTheTitlePageClosesTheKeyWithoutHistory) {
    desktop_.AcceptTitle = false;
    std::string des = testing::WriteKey(dir_.Path(), MakeKey({"+-"}));
    OpenKey(session_, des);
    EXPECT_FALSE(session_.Key.KeyOpen);
    EXPECT_EQ(desktop_.Calls, "closed opened title closed ");
    EXPECT_EQ(session_.KeyHistory[0], "");
    EXPECT_EQ(session_.WorkDir, dir_.Path());  // its files were opened
}

TEST_F(OpeningKeys, LowerCaseFileNamesAndNoIndexFile) {
    KeySpec keySpec = MakeKey({"+-"});
    keySpec.Name = "birches";
    keySpec.Extensions[1] = ".tax";
    keySpec.Extensions[2] = ".Chr";
    keySpec.Extensions[3] = ".dat";
    Open(keySpec);
    EXPECT_EQ(session_.Key.TaxFileName, "birches.TAX");
    EXPECT_TRUE(session_.Key.IndFileName.empty());
    EXPECT_EQ(session_.Key.ReadStateText(0), "State 0");
}

TEST_F(OpeningKeys, ReopeningTheOpenKeyUnscoresEveryState) {
    std::string des = testing::WriteKey(dir_.Path(), MakeKey({"+-", "-+"}));
    OpenKey(session_, des);
    session_.ScoreState(0, RequestPresent);
    session_.ToggleOrMode();
    ASSERT_EQ(session_.MatchingTaxaCount(), 1);
    OpenKey(session_, des);
    EXPECT_TRUE(session_.Key.KeyOpen);
    EXPECT_FALSE(session_.OrMode());
    EXPECT_EQ(session_.StateScore(0), ScoreNone);
    EXPECT_EQ(session_.MatchingTaxaCount(), 2);
}

TEST_F(OpeningKeys, SplitKeyFileNameNeverReadsOutsideThePath) {
    KeyFileNameParts p = SplitKeyFileName("/keys/v1.2/TREES.DES");
    EXPECT_EQ(p.Directory, "/keys/v1.2/");
    EXPECT_EQ(p.Name, "TREES");
    EXPECT_EQ(p.Extension, ".DES");
    // A dot in a directory is no extension of the file.
    p = SplitKeyFileName("/keys/v1.2/TREES");
    EXPECT_EQ(p.Name, "TREES");
    EXPECT_EQ(p.Extension, "");
    p = SplitKeyFileName("TREES.DES");
    EXPECT_EQ(p.Directory, "");
    EXPECT_EQ(p.Name, "TREES");
    p = SplitKeyFileName("");
    EXPECT_EQ(p.Name, "");
    // An empty path opens nothing and says nothing.
    OpenKey(session_, "");
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_FALSE(session_.Key.KeyOpen);
}

TEST_F(OpeningKeys, LongKeyNamesAndTheirFileNamesAreKeptWhole) {
    KeySpec keySpec = MakeKey({"+-"});
    keySpec.Name = std::string(97, 'K');
    OpenKey(session_, testing::WriteKey(dir_.Path(), keySpec));
    EXPECT_TRUE(ui_.Texts().empty());
    ASSERT_TRUE(session_.Key.KeyOpen);
    EXPECT_EQ(session_.Key.KeyName, std::string(97, 'K'));
    EXPECT_EQ(session_.Key.DatFileName, std::string(97, 'K') + ".DAT");
}

}  // namespace
}  // namespace vorn
