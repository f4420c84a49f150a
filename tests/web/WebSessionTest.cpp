// The page's interface to the core, natively: the actions in force and the address that
// holds them, Back and Forward, refusals of a bad address, history lists; and that the
// address given to vorn-identify reports what the actions gave.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "core/key/CodeMatrix.h"
#include "core/key/PackedCodes.h"
#include "core/platform/Directory.h"
#include "core/session/Identify.h"
#include "tests/kit/TestKeys.h"
#include "web/Address.h"
#include "web/WebSession.h"

namespace vorn::web {
namespace {

using testing::KeySpec;

// A key written to files (for vorn-identify) and opened in WebSessions from its packed
// codes, as a page opens it.
class WebKey : public ::testing::Test {
protected:
    WebKey() : start_(CurrentDirectory()) {}
    ~WebKey() override { ChangeToDirectory(start_); }

    void Write(const KeySpec& keySpec) {
        spec_ = keySpec;
        des_ = testing::WriteKey(dir_.Path(), keySpec);
        CodeMatrix codes;
        codes.Assign(static_cast<int32_t>(keySpec.Taxa.size()), keySpec.Codes);
        packed_ = PackCodes(codes);
    }
    void Open(WebSession& web) { ASSERT_TRUE(web.Open(spec_.Name, packed_)); }

    // vorn-identify's JSON report for `actions` at `tolerance`, with the differences of
    // taxa 1 and 2.
    std::string Identify(const std::vector<std::string>& actions, int tolerance) {
        std::vector<std::string> args{des_};
        args.insert(args.end(), actions.begin(), actions.end());
        for (const char* arg : {"--json", "--differences", "1,2", "--tolerance"})
            args.push_back(arg);
        args.push_back(std::to_string(tolerance));
        std::ostringstream out, err;
        int status = RunIdentify(args, out, err);
        EXPECT_EQ(status, 0) << err.str();
        return out.str();
    }
    // The address's actions as vorn-identify's arguments.
    static std::vector<std::string> ActionsOf(const std::string& address) {
        std::optional<Address> parsed = ParseAddress(address, 65535, nullptr);
        EXPECT_TRUE(parsed) << address;
        std::vector<std::string> actions;
        if (parsed)
            for (const Action& action : parsed->Actions)
                actions.push_back(ActionText(action));
        return actions;
    }
    static std::string Scores(WebSession& web) {
        std::string text;
        for (int32_t s = 0; s < web.Core().Key.StateCount; ++s)
            text += ".+-PA"[web.Core().StateScore(s)];
        return text;
    }

    testing::TempDir dir_;
    KeySpec spec_;
    std::string des_, packed_;

private:
    std::string start_;
};

KeySpec SmallKey() {
    KeySpec keySpec;
    keySpec.Name = "OAKS";
    keySpec.TitleLines = {"Oaks"};
    keySpec.Taxa = {"Quercus robur", "Quercus petraea", "Quercus ilex", "Quercus cerris"};
    keySpec.States = {"evergreen", "deciduous", "stalked", "sessile", "mossy"};
    keySpec.Codes = {"--+-", "++-+", "+-*-", "-+*+", "---+"};
    return keySpec;
}

// After every random action, the page's answers are those of vorn-identify given the
// same actions as typed, and the address, given to vorn-identify instead, reports the
// same in every member (scores, groups, counts, Best, differences).
TEST_F(WebKey, TheAddressIdentifiesAsTheActionsDid) {
    Write(testing::RandomKey(70, 40, 9));
    std::mt19937 rng(3);
    for (int session = 0; session < 12; ++session) {
        WebSession web;
        Open(web);
        int tolerance = static_cast<int>(rng() % 3);
        web.SetTolerance(tolerance);
        std::vector<std::string> typed;
        for (int step = 0; step < 14; ++step) {
            static const char* kinds[] = {"+", "+",  "-",    "-",    "~",
                                          "=", "or", "undo", "redo", "reset"};
            std::string kind = kinds[rng() % 10];
            if (kind == "reset" && rng() % 3) kind = "+";
            std::string action = kind.size() == 1 ? kind + std::to_string(1 + rng() % 40) : kind;
            ASSERT_TRUE(web.Act(action)) << action;
            typed.push_back(action);
            std::string expected = Identify(typed, tolerance);
            ASSERT_EQ(Identify(ActionsOf(web.Address()), tolerance), expected) << "typed:";
            std::ostringstream matching;
            for (int32_t t : web.MatchingTaxa())
                matching << (matching.tellp() ? ", " : "") << t + 1;
            if (tolerance == 0) {
                EXPECT_NE(expected.find("\"matching_taxa\": [" + matching.str() + "]"),
                          std::string::npos);
            }
            EXPECT_NE(expected.find("\"matching_taxa_count\": " +
                                    std::to_string(web.Core().MatchingTaxaCount())),
                      std::string::npos);
        }
        // A fresh page opened at the address is the same identification.
        WebSession again;
        Open(again);
        ASSERT_TRUE(again.Restore(web.Address()));
        EXPECT_EQ(Scores(again), Scores(web));
        EXPECT_EQ(again.Groups(), web.Groups());
        EXPECT_EQ(again.Address(), web.Address());
        EXPECT_EQ(again.Core().Tolerance(), tolerance);
    }
}

TEST_F(WebKey, ActionsThatChangeNothingLeaveNothingInTheAddress) {
    Write(SmallKey());
    WebSession web;
    Open(web);
    EXPECT_EQ(web.Address(), "");
    EXPECT_TRUE(web.Act("+2"));
    EXPECT_TRUE(web.Act("+002"));  // Present already
    EXPECT_TRUE(web.Act("or"));
    EXPECT_TRUE(web.Act("-2"));  // refused while the group is open: a scored state
    EXPECT_EQ(web.TakeMessages(),
              std::vector<std::string>{
                  "You can only select unscored states while performing an \"Or.\""});
    EXPECT_TRUE(web.Act("+3"));
    EXPECT_TRUE(web.Act("-5"));
    EXPECT_TRUE(web.Act("or"));
    web.SetTolerance(1);
    EXPECT_EQ(web.Address(), "a=+2,or,+3,-5,or&t=1");
    EXPECT_EQ(web.Groups(), (std::vector<std::vector<int32_t>>{{2, 4}}));
    // Undo takes back the last entry, Redo gives it again.
    EXPECT_TRUE(web.Undo());
    EXPECT_EQ(web.Address(), "a=+2,or,+3,-5&t=1");
    EXPECT_EQ(web.NextRedo(), "End Or");
    EXPECT_TRUE(web.Redo());
    EXPECT_EQ(web.Address(), "a=+2,or,+3,-5,or&t=1");
    EXPECT_EQ(web.NextUndo(), "End Or");
    EXPECT_FALSE(web.Redo());
    EXPECT_FALSE(web.Act("+6"));
    EXPECT_FALSE(web.Act("@TREES.HIS"));
    EXPECT_FALSE(web.Act("plus"));
    EXPECT_EQ(web.TakeMessages(),
              (std::vector<std::string>{"\"+6\": the states of this key are 1 to 5.",
                                        "\"@TREES.HIS\" is no action of VORN.",
                                        "\"plus\" is no action of VORN."}));
    EXPECT_EQ(web.Address(), "a=+2,or,+3,-5,or&t=1");
}

// Back is one Undo and Forward one Redo; any other address starts afresh.
TEST_F(WebKey, NavigatingIsUndoRedoOrAFreshStart) {
    Write(SmallKey());
    WebSession web;
    Open(web);
    web.Act("+2");
    web.Act("-1");
    web.Act("+4");
    ASSERT_EQ(web.Address(), "a=+2,-1,+4");
    EXPECT_TRUE(web.Navigate("a=+2,-1"));
    EXPECT_EQ(Scores(web), "-+...");
    EXPECT_EQ(web.NextRedo(), "Present");
    EXPECT_EQ(web.NextRedoState(), 3);
    EXPECT_TRUE(web.Navigate("a=+2,-1,+4"));
    EXPECT_EQ(Scores(web), "-+.+.");
    EXPECT_EQ(web.NextUndoState(), 3);
    // The tolerance alone changes nothing else, and keeps Undo.
    EXPECT_TRUE(web.Navigate("a=+2,-1,+4&t=2"));
    EXPECT_EQ(web.Core().Tolerance(), 2);
    EXPECT_EQ(web.NextUndo(), "Present");
    // Another identification: a fresh start, without steps to undo.
    EXPECT_TRUE(web.Navigate("a=-3,%2B5"));
    EXPECT_EQ(Scores(web), "..-.+");
    EXPECT_EQ(web.Core().Tolerance(), 0);
    EXPECT_EQ(web.Address(), "a=-3,+5");
    EXPECT_TRUE(web.Undo());
    EXPECT_TRUE(web.Undo());
    EXPECT_FALSE(web.Undo());
    EXPECT_EQ(web.Address(), "");
}

TEST_F(WebKey, ABadAddressIsRefusedWholeAndTheIdentificationStartsEmpty) {
    Write(SmallKey());
    struct Case {
        const char* address;
        const char* why;
    };
    const Case cases[] = {
        {"a=+2,-9", "it holds \"-9\", and the states of this key are 1 to 5"},
        {"a=+2,-0", "it holds \"-0\", and the states of this key are 1 to 5"},
        {"a=+2, 3", "it holds \" 3\", which is no action"},
        {"a=+2,,-3", "it holds \"\", which is no action"},
        {"a=+2,jump", "it holds \"jump\", which is no action"},
        {"a=@/etc/passwd",
         "it holds \"@/etc/passwd\", which would load a file: an address cannot, use Load instead"},
        {"a=+2&t=4", "it asks for a tolerance of \"4\"; a tolerance is 0 to 3"},
        {"a=+2&t=", "it asks for a tolerance of \"\"; a tolerance is 0 to 3"},
        {"a=+2&t=01", "it asks for a tolerance of \"01\"; a tolerance is 0 to 3"},
        {"a=+2&x=1",
         "it holds \"x=1\", which is neither \"a=\" (the actions) nor \"t=\" (the tolerance)"},
        {"+2", "it holds \"+2\", which is neither \"a=\" (the actions) nor \"t=\" (the tolerance)"},
        {"a=+2&a=-3", "it gives \"a=\" twice"},
        {"a=%2", "it holds \"a=%2\", where a \"%\" is not followed by two hexadecimal digits"},
    };
    for (const Case& c : cases) {
        WebSession web;
        Open(web);
        web.Act("+1");
        web.SetTolerance(2);
        EXPECT_FALSE(web.Restore(c.address)) << c.address;
        EXPECT_EQ(
            web.TakeMessages(),
            std::vector<std::string>{std::string("The address of this page was not applied: ") +
                                     c.why + ".  The identification starts empty."})
            << c.address;
        EXPECT_EQ(Scores(web), ".....") << c.address;
        EXPECT_EQ(web.Core().Tolerance(), 0);
        EXPECT_EQ(web.Address(), "");
        EXPECT_FALSE(web.Undo());
    }
    WebSession web;
    Open(web);
    EXPECT_FALSE(web.Restore("a=" + std::string(kMaxAddressBytes, '+')));
    EXPECT_TRUE(web.Restore("&a=+2&&t=1&"));
    EXPECT_EQ(web.Address(), "a=+2&t=1");
    EXPECT_TRUE(web.Restore(""));
    EXPECT_EQ(web.Address(), "");
}

// A loaded history list is one step; its actions join the address, and vorn-identify
// given them, or given the file, reports the same; the list saved is vorn-identify's.
TEST_F(WebKey, ALoadedHistoryListBecomesTheActionsItApplies) {
    Write(SmallKey());
    std::string list = dir_.Path() + "WALK.HIS";
    testing::WriteFile(list, "+2\r\n-1\r\n 4\r\nremark\r\n+9\r\n-3\r\n+2\r\n");
    WebSession web;
    Open(web);
    web.Act("+5");
    ASSERT_TRUE(ChangeToDirectory(dir_.Path()));
    EXPECT_TRUE(web.LoadHistoryList("WALK.HIS"));
    EXPECT_EQ(
        web.TakeMessages(),
        std::vector<std::string>{
            "1 line of the history list \"WALK.HIS\" was skipped: its state number is outside "
            "the 5 states of the key OAKS.  The list may have been written for another key."});
    EXPECT_EQ(web.Address(), "a=+5,+2,-1,-3");
    EXPECT_EQ(web.NextUndo(), "Load History List");
    EXPECT_EQ(Identify(ActionsOf(web.Address()), 0), Identify({"+5", "@" + list}, 0));
    EXPECT_EQ(web.HistoryListText(), "+5\r\n+2\r\n-1\r\n 4\r\n-3\r\n");
    std::ostringstream out, err;
    ASSERT_EQ(RunIdentify({des_, "+5", "@" + list, "--save-history", dir_.Path() + "SAVED.HIS"},
                          out, err),
              0);
    EXPECT_EQ(testing::ReadFile(dir_.Path() + "SAVED.HIS"), web.HistoryListText());
    EXPECT_TRUE(web.Undo());
    EXPECT_EQ(web.Address(), "a=+5");
    EXPECT_TRUE(web.Redo());
    EXPECT_EQ(web.Address(), "a=+5,+2,-1,-3");
    // A bad line ends the loading; what came before it stays, as one step.
    testing::WriteFile(list, "-4\r\n+\r\n+1\r\n");
    EXPECT_FALSE(web.LoadHistoryList("WALK.HIS"));
    EXPECT_EQ(web.TakeMessages().size(), 1u);
    EXPECT_EQ(web.Address(), "a=+5,+2,-1,-3,-4");
    EXPECT_FALSE(web.LoadHistoryList("MISSING.HIS"));
    EXPECT_EQ(web.TakeMessages().size(), 1u);
}

TEST_F(WebKey, CodesThatCannotBeReadOpenNoKey) {
    Write(SmallKey());
    WebSession web;
    EXPECT_FALSE(web.Open("OAKS", packed_.substr(0, packed_.size() - 1)));
    EXPECT_FALSE(web.KeyOpen());
    EXPECT_EQ(
        web.TakeMessages(),
        std::vector<std::string>{"The key OAKS cannot be opened: the key's codes are cut short "
                                 "or damaged: 4 taxa and 5 states need 96 bytes, and there are "
                                 "95."});
    EXPECT_FALSE(web.Restore("a=+1"));
    EXPECT_FALSE(web.Act("+1"));
    EXPECT_TRUE(web.MatchingTaxa().empty());
}

// The page streams the codes in: parts of any size, written where BeginCodes says, open
// the key the whole file opens; a stream longer or shorter than its header says, one
// without a header, or an end with no beginning, opens none, and a key open before is
// closed.
TEST_F(WebKey, CodesStreamedInPartsOpenAsTheWholeFile) {
    Write(testing::RandomKey(130, 9, 2));
    WebSession whole, streamed;
    Open(whole);
    std::string planes = packed_.substr(kPackedCodesHeader);
    int64_t room = streamed.BeginCodes(packed_.substr(0, kPackedCodesHeader));
    ASSERT_EQ(room, static_cast<int64_t>(planes.size()));
    for (size_t at = 0; at < planes.size(); at += 7)
        planes.copy(streamed.CodesAt() + at, 7, at);
    ASSERT_TRUE(streamed.EndCodes("RANDOM", planes.size()));
    ASSERT_TRUE(whole.Act("+3") && streamed.Act("+3"));
    EXPECT_EQ(streamed.MatchingTaxa(), whole.MatchingTaxa());
    EXPECT_EQ(streamed.StateCounts(), whole.StateCounts());

    auto refused = [&](int64_t received) {
        EXPECT_FALSE(streamed.EndCodes("RANDOM", static_cast<uint64_t>(received)));
        EXPECT_FALSE(streamed.KeyOpen());
        std::vector<std::string> said = streamed.TakeMessages();
        return said.size() == 1 ? said[0] : std::string("(") + std::to_string(said.size()) + ")";
    };
    ASSERT_EQ(streamed.BeginCodes(packed_), room);
    EXPECT_EQ(refused(room + 1),
              "The key RANDOM cannot be opened: the key's codes are cut short or damaged: 130 "
              "taxa and 9 states need 448 bytes, and there are 449.");
    ASSERT_TRUE(streamed.Open("RANDOM", packed_));
    ASSERT_EQ(streamed.BeginCodes(packed_), room);
    EXPECT_NE(refused(room - 1).find("there are 447."), std::string::npos);
    EXPECT_EQ(streamed.BeginCodes("VORNCOD1\x01"), -1);
    EXPECT_EQ(refused(0),
              "The key RANDOM cannot be opened: the key's codes are not in the form this page "
              "reads.");
    EXPECT_EQ(refused(0),
              "The key RANDOM cannot be opened: the key's codes are not in the form this page "
              "reads.");
    // A bit past the last of 130 taxa, in the last word of the last plane.
    ASSERT_EQ(streamed.BeginCodes(packed_), room);
    planes.copy(streamed.CodesAt(), planes.size());
    streamed.CodesAt()[room - 1] = '\x80';
    EXPECT_EQ(refused(room),
              "The key RANDOM cannot be opened: the key's codes are damaged: a code stands past "
              "the last taxon.");
}

TEST_F(WebKey, TheQueriesAreTheWindows) {
    Write(SmallKey());
    WebSession web;
    Open(web);
    web.Act("+2");  // deciduous: robur, petraea, cerris
    web.Act("-4");  // not sessile: robur, ilex... so robur
    EXPECT_EQ(web.MatchingTaxa(), std::vector<int32_t>{0});
    EXPECT_EQ(web.ContradictingStates(1), (std::vector<int32_t>{3}));
    EXPECT_EQ(web.ContradictingStates(2), (std::vector<int32_t>{1}));
    EXPECT_EQ(web.ContradictingStates(9), std::vector<int32_t>{});
    web.SetTolerance(1);
    // Fewest mismatches first: robur (0), then petraea, ilex, cerris (1 each).
    EXPECT_EQ(web.MatchingTaxa(), (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(web.StateCounts()[3], -1);
    web.SetTolerance(9);
    EXPECT_EQ(web.Core().Tolerance(), 3);
}

}  // namespace
}  // namespace vorn::web
