// The command-line identifier, run as a user runs it: exit status, standard output and
// standard error.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::KeySpec;
using testing::TempDir;
using testing::WriteFile;

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class Identifier : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::mkdir((dir_.Path() + "keys").c_str(), 0755), 0);
        KeySpec keySpec;
        keySpec.Name = "OAKS";
        keySpec.TitleLines = {"Oaks"};
        keySpec.Taxa = {"Quercus robur/English oak|qrob>QROB.TXT", "Quercus petraea/Sessile oak",
                        "Quercus ilex/Holm oak", "Quercus cerris"};
        keySpec.States = {"Leaves: evergreen", "Leaves: deciduous", "Acorn: stalked",
                          "Acorn: sessile", "Cupule: mossy"};
        // Taxa:        0123
        keySpec.Codes = {"--+-",   // 1 evergreen
                         "++-+",   // 2 deciduous
                         "+-*-",   // 3 stalked
                         "-+*+",   // 4 sessile
                         "---+"};  // 5 mossy
        keyPath_ = testing::WriteKey(dir_.Path() + "keys", keySpec);
    }

    // Runs vorn-identify in the temporary directory with `args` after the program name.
    // `output` replaces the redirection of standard output to the file "out".
    Outcome Identify(const std::vector<std::string>& args, const std::string& output = "") {
        std::string command = "cd " + Quote(dir_.Path()) + " && " + Quote(VORN_IDENTIFY_BINARY);
        for (const std::string& arg : args)
            command += " " + Quote(arg);
        command += (output.empty() ? " >" + Quote(dir_.Path() + "out") : " " + output) + " 2>" +
                   Quote(dir_.Path() + "err");
        std::remove((dir_.Path() + "out").c_str());
        Outcome run;
        int status = std::system(command.c_str());
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = testing::ReadFile(dir_.Path() + "out");
        run.err = testing::ReadFile(dir_.Path() + "err");
        return run;
    }

    TempDir dir_;
    std::string keyPath_;
};

TEST_F(Identifier, TextReportNamesTheKeyTheCountAndTheMatchingTaxa) {
    Outcome run = Identify({"keys/OAKS.DES", "+2", "-5"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Key OAKS: 4 taxa, 5 states\n"
              "2 Taxa Match\n"
              "  1. Quercus robur\n"
              "  2. Quercus petraea\n"
              "Best next:\n"
              "  1.00  3. Acorn: stalked\n"
              "  1.00  4. Acorn: sessile\n");
    EXPECT_EQ(run.err, "");
    run = Identify({"keys/OAKS.DES", "+1"});
    EXPECT_NE(run.out.find("1 Taxon Matches\n  3. Quercus ilex\n"), std::string::npos) << run.out;
}

TEST_F(Identifier, JsonReportHoldsEveryMember) {
    Outcome run = Identify({"keys/OAKS.DES", "+2", "or", "+3", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\n"
              "  \"key\": \"OAKS\",\n"
              "  \"taxon_count\": 4,\n"
              "  \"state_count\": 5,\n"
              "  \"or_mode\": true,\n"
              "  \"tolerance\": 0,\n"
              "  \"matching_taxa_count\": 1,\n"
              "  \"matching_taxa\": [1],\n"
              "  \"scores\": [\"\", \"+\", \"o+\", \"\", \"\"],\n"
              "  \"mismatch_counts\": [0, 0, 1, 0],\n"
              "  \"state_match_counts\": [0, 3, -1, 2, 1],\n"
              // State 5 is left out: its count equals the narrowed matching count.
              "  \"differentiating_states\": [4],\n"
              // One taxon matches: nothing to compare it with.
              "  \"differences_among_matching\": [],\n"
              // Over the three taxa without mismatch (the group's narrowing ignored), states
              // 4 and 5 split them 2 to 1: log2 3 - 2/3 = 0.9183 each, so in state order.
              "  \"best_states\": [[4, 0.9183], [5, 0.9183]],\n"
              "  \"taxa_by_mismatches\": [1, 2, 4, 3]\n"
              "}\n");
    // Ending the group gives taxa that satisfy no member their mismatch.
    run = Identify({"keys/OAKS.DES", "+2", "or", "+3", "or", "~5", "~5", "--json"});
    EXPECT_NE(run.out.find("\"or_mode\": false"), std::string::npos);
    EXPECT_NE(run.out.find("\"scores\": [\"\", \"+\", \"o+\", \"\", \"-\"]"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"mismatch_counts\": [0, 1, 1, 2]"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"matching_taxa\": [1]"), std::string::npos);
    // English and sessile oak are left: the acorn's stalk tells them apart, one "+", the
    // other "-"; nothing else does for certain.
    run = Identify({"keys/OAKS.DES", "+2", "-5", "--json"});
    EXPECT_NE(run.out.find("\"differences_among_matching\": [3, 4],"), std::string::npos)
        << run.out;
}

TEST_F(Identifier, RefusalsGoToStandardErrorAndTheRunGoesOn) {
    Outcome run = Identify({"keys/OAKS.DES", "+2", "or", "-2", "+1", "or", "=1", "--json"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              "vorn-identify: You can only select unscored states while performing an \"Or.\"\n");
    // Clearing the member dissolved its group.
    EXPECT_NE(run.out.find("\"scores\": [\"\", \"+\", \"\", \"\", \"\"]"), std::string::npos)
        << run.out;
}

TEST_F(Identifier, HistoryFilesAreNamedFromTheStartingDirectory) {
    WriteFile(dir_.Path() + "walk.his", "+2\r\n 4\r\n-5\r\n");
    Outcome run = Identify({"keys/OAKS.DES", "@walk.his"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("2 Taxa Match"), std::string::npos) << run.out;
    // The letter case of a name is forgiven, as for every file.
    run = Identify({"keys/OAKS.DES", "@WALK.HIS"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

TEST_F(Identifier, LinesOutsideTheKeyAreAWarningAndTheRestIsApplied) {
    // A list of a larger key: two of its numbers are beyond the five states.
    WriteFile(dir_.Path() + "other.his", "+2\r\n+17\r\n-5\r\n 6\r\n");
    Outcome run = Identify({"keys/OAKS.DES", "@other.his", "--json"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "vorn-identify: warning: 2 lines of the history list \"" + dir_.Path() +
                           "other.his\" were skipped: their state numbers are outside the 5 "
                           "states of the key OAKS.  The list may have been written for "
                           "another key.\n");
    EXPECT_NE(run.out.find("\"matching_taxa_count\": 2"), std::string::npos) << run.out;
    // Told once per list, and a list that fits says nothing.
    WriteFile(dir_.Path() + "fits.his", "+2\r\n");
    run = Identify({"keys/OAKS.DES", "@other.his", "@fits.his", "@other.his"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
}

TEST_F(Identifier, BadInputIsOneLineOnStandardErrorNothingOnStandardOutputStatus2) {
    const std::vector<std::vector<std::string>> cases = {{"keys/OAKS.DES", "+1", "*3"},
                                                         {"keys/OAKS.DES", "+0"},
                                                         {"keys/OAKS.DES", "-6"},
                                                         {"keys/OAKS.DES", "+x"},
                                                         {"keys/OAKS.DES", "+2.0"},
                                                         {"keys/OAKS.DES", "=99999999999999"},
                                                         {"keys/OAKS.DES", "@missing.his"},
                                                         {"keys/OAKS.DES", "or", "+"},
                                                         {}};
    for (const auto& args : cases) {
        Outcome run = Identify(args);
        std::string shown = args.empty() ? "(no arguments)" : args.back();
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_FALSE(run.err.empty()) << shown;
    }
    Outcome run = Identify({"keys/OAKS.DES", "@missing.his"});
    EXPECT_EQ(run.err, "vorn-identify: Cannot open \"" + dir_.Path() +
                           "missing.his\": No such file or directory.\n");
    run = Identify({"keys/OAKS.DES", "+6"});
    EXPECT_EQ(run.err,
              "vorn-identify: \"+6\": the state number must be a whole number from 1 to 5\n");
}

TEST_F(Identifier, AKeyThatCannotBeOpenedGivesTheMessageAndStatus1) {
    Outcome run = Identify({"nowhere/OAKS.DES"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "vorn-identify: Sorry, the directory \"" + dir_.Path() +
                           "nowhere/\" does not exist.\n");
    std::remove((dir_.Path() + "keys/OAKS.TAX").c_str());
    run = Identify({"keys/OAKS.DES", "--json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Not found:  OAKS.TAX."), std::string::npos) << run.err;
}

TEST_F(Identifier, HelpAndVersionNeedNoKey) {
    Outcome run = Identify({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("usage: vorn-identify KEY.DES"), std::string::npos);
    run = Identify({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("vorn-identify ", 0), 0u);
}

// The codes are read when the key opens: a matrix that lost records refuses the key with
// status 1 before any action, and no action can fail on the key's files later.
TEST_F(Identifier, AShortMatrixRefusesTheKeyAndKeepGoingGoesOnWithTheNextAction) {
    std::string dat = testing::ReadFile(dir_.Path() + "keys/OAKS.DAT");
    WriteFile(dir_.Path() + "keys/OAKS.DAT", dat.substr(0, 3 * 40));  // states 4 and 5 lost
    WriteFile(dir_.Path() + "walk.his", "+1\r\n-5\r\n+3\r\n");
    for (const char* action : {"+5", "@walk.his", "--json"}) {
        Outcome run = Identify({"keys/OAKS.DES", action});
        EXPECT_EQ(run.status, 1) << action;
        EXPECT_EQ(run.out, "") << action;
        EXPECT_EQ(run.err,
                  "vorn-identify: Sorry, the VORN file OAKS.DAT of the OAKS key is too short: its "
                  "4 taxa and 5 states need 5 records of 40 codes, and it holds 3.  The key "
                  "cannot be opened.\n")
            << action;
    }

    WriteFile(dir_.Path() + "keys/OAKS.DAT", dat);
    WriteFile(dir_.Path() + "bad.his", "-2\r\n+ x\r\n");
    Outcome run = Identify(
        {"keys/OAKS.DES", "+2", "@walk.his", "@bad.his", "@missing.his", "~4", "--keep-going"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "vorn-identify: action 3 (@bad.his): Cannot read \"" + dir_.Path() +
                           "bad.his\": a number was expected in line 2.\n" +
                           "vorn-identify: action 4 (@missing.his): Cannot open \"" + dir_.Path() +
                           "missing.his\": No such file or directory.\n");
    // What came before a failing entry stays applied (-2 over +2); the actions after it
    // run: only the holm oak is left.
    EXPECT_EQ(run.out, "Key OAKS: 4 taxa, 5 states\n1 Taxon Matches\n  3. Quercus ilex\n");

    run = Identify({"keys/OAKS.DES", "+2", "--keep-going"});
    EXPECT_EQ(run.status, 0);
    run = Identify({"keys/OAKS.DES", "+9", "--keep-going"});  // the command line's own fault
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
}

// Tolerance, differences and the key check as options; the same numbers as the engine's.
TEST_F(Identifier, ToleranceDifferencesAndKeyCheckInTextAndJson) {
    // +1 -5: robur, petraea and cerris fail state 1, cerris also state 5.
    Outcome run = Identify({"keys/OAKS.DES", "+1", "-5", "--tolerance", "1", "--json",
                            "--differences", "1,4", "--check-key"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"tolerance\": 1,\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"matching_taxa\": [1, 2, 3],"), std::string::npos) << run.out;
    // Robur and cerris: state 2 "+"/"+", 3 "+"/"-", 4 "-"/"+", 5 "-"/"+".
    EXPECT_NE(run.out.find("\"differences\": {\"taxa\": [1, 4], \"certain\": [3, 4, 5], "
                           "\"possible\": []},\n"),
              std::string::npos)
        << run.out;
    // Every pair of oaks is separated by some state; every state is somebody's.
    EXPECT_NE(run.out.find("\"key_check\": {\"inseparable_pairs\": [], "
                           "\"states_no_taxon_has\": [], \"states_every_taxon_has\": [], "
                           "\"taxa_without_present\": []}\n}\n"),
              std::string::npos)
        << run.out;

    run = Identify({"keys/OAKS.DES", "--differences", "1,4", "--check-key"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Differences between 1. Quercus robur and 4. Quercus cerris:\n"
                           "  certain:\n"
                           "    + -  3. Acorn: stalked\n"
                           "    - +  4. Acorn: sessile\n"
                           "    - +  5. Cupule: mossy\n"
                           "  possible: none\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Key check:\nTaxa 4, states 5. Pairs of taxa no state separates for "
                           "certain: 0. "),
              std::string::npos)
        << run.out;

    for (auto args :
         {std::vector<std::string>{"--tolerance", "100"},
          std::vector<std::string>{"--tolerance", "-1"}, std::vector<std::string>{"--tolerance"},
          std::vector<std::string>{"--differences", "1,5"},
          std::vector<std::string>{"--differences", "0,1"},
          std::vector<std::string>{"--differences", "2"}}) {
        args.insert(args.begin(), "keys/OAKS.DES");
        run = Identify(args);
        EXPECT_EQ(run.status, 2) << args[1] << " " << (args.size() > 2 ? args[2] : "");
        EXPECT_EQ(run.out, "");
    }
}

// Undo, redo and reset as actions: the scores are those the remaining actions give, and
// undo or redo with nothing to take does nothing, as the disabled menu item would.
TEST_F(Identifier, UndoRedoAndResetActAsTheMenuDoes) {
    auto json = [&](std::vector<std::string> actions) {
        actions.insert(actions.begin(), "keys/OAKS.DES");
        actions.push_back("--json");
        Outcome run = Identify(actions);
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    };
    EXPECT_EQ(json({"+2", "-5", "undo"}), json({"+2"}));
    EXPECT_EQ(json({"+2", "-5", "undo", "redo"}), json({"+2", "-5"}));
    // An "Or" group comes back whole: End Or, then a member, then Begin Or.
    EXPECT_EQ(json({"or", "+3", "+4", "or", "undo"}), json({"or", "+3", "+4"}));
    EXPECT_EQ(json({"or", "+3", "+4", "or", "undo", "undo", "undo"}), json({"or"}));
    // A reset is one step; after it nothing scored is left, and undone it leaves the group
    // open as it was.
    EXPECT_EQ(json({"+2", "or", "+3", "reset"}), json({}));
    EXPECT_EQ(json({"+2", "or", "+3", "reset", "undo"}), json({"+2", "or", "+3"}));
    // Nothing to take: nothing happens, and a new step drops what could be redone.
    EXPECT_EQ(json({"undo", "redo", "+1", "redo"}), json({"+1"}));
    EXPECT_EQ(json({"+1", "undo", "+2", "redo"}), json({"+2"}));
    EXPECT_NE(Identify({"--help"}).out.find("  undo     take the last step back"),
              std::string::npos);
}

// A key's whole state texts are what the report shows.
TEST_F(Identifier, TheReportShowsWholeStateTexts) {
    KeySpec keySpec;
    keySpec.Name = "LONG";
    keySpec.TitleLines = {"Long texts"};
    keySpec.Taxa = {"A", "B"};
    keySpec.States = {"Leaf: number of leaflets at the tip ..."};
    keySpec.WholeStates = {
        "Leaf: number of leaflets at the tip of the rachis, counted on the "
        "upper leaves of a flowering shoot"};
    keySpec.Codes = {"+-"};
    testing::WriteKey(dir_.Path() + "keys", keySpec);
    Outcome run = Identify({"keys/LONG.DES"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("  1.00  1. Leaf: number of leaflets at the tip of the rachis, counted "
                           "on the upper leaves of a flowering shoot\n"),
              std::string::npos)
        << run.out;
}

// The measure of the key alone, in text and JSON; what it cannot go with is refused.
TEST_F(Identifier, EfficiencyPlaysEveryOakAndTakesNoActions) {
    // Best order: evergreen, deciduous and mossy tie first (1 against 3), so every oak
    // answers "Leaves: evergreen"; the holm oak is then alone, the others go on with the
    // acorn's stalk, and petraea and cerris with the cupule: 2, 3, 1 and 3 answers.
    Outcome run = Identify({"keys/OAKS.DES", "--efficiency"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "Key OAKS: 4 taxa, 5 states\n"
        "Taxa 4; log2 4 = 2, the fewest yes/no answers that can single out one taxon.\n"
        "Every taxon played as the specimen, at tolerance 0.\n"
        "\n"
        "Answers in the Best order: mean 2.25, median 2.5, largest 3. Reached alone: 4 of 4.\n"
        "Taxa not reached in the Best order, with the taxa left with them: 0\n"
        "  (none)\n"
        "\n"
        "Answers in the Differentiating order: mean 2.25, median 2.5, largest 3. Reached "
        "alone: 4 of 4.\n"
        "Taxa not reached in the Differentiating order, with the taxa left with them: 0\n"
        "  (none)\n");

    // Three oaks drawn; at one mismatch the Best list is empty on a fresh key, and the
    // sessile oak (2) keeps cerris (4) with it in the Differentiating order.
    run =
        Identify({"keys/OAKS.DES", "--json", "--efficiency", "--sample", "3", "--tolerance", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\n"
              "  \"key\": \"OAKS\",\n"
              "  \"taxon_count\": 4,\n"
              "  \"state_count\": 5,\n"
              "  \"efficiency\": {\"taxa\": 4, \"log2_taxa\": 2, \"sampled\": 3, \"seed\": 1, "
              "\"tolerance\": 1,\n"
              "    \"best\": {\"mean\": 0, \"median\": 0, \"max\": 0, \"reached\": 0, "
              "\"not_reached\": [[1, [2, 3, 4]], [2, [1, 3, 4]], [3, [1, 2, 4]]]},\n"
              "    \"differentiating\": {\"mean\": 4.3333, \"median\": 5, \"max\": 5, "
              "\"reached\": 2, \"not_reached\": [[2, [4]]]}}\n"
              "}\n");
    run = Identify({"keys/OAKS.DES", "--efficiency", "--json", "--sample", "4"});
    EXPECT_NE(run.out.find("\"sampled\": 4, \"seed\": null, \"tolerance\": 0,"), std::string::npos)
        << run.out;

    for (auto args : {std::vector<std::string>{"+1"}, std::vector<std::string>{"--check-key"},
                      std::vector<std::string>{"--differences", "1,2"},
                      std::vector<std::string>{"--save-history", "never.his"},
                      std::vector<std::string>{"--report", "never.html"}}) {
        args.insert(args.begin(), {"keys/OAKS.DES", "--efficiency"});
        run = Identify(args);
        EXPECT_EQ(run.status, 2) << args[2];
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  "vorn-identify: --efficiency measures the key as it opens: it takes no "
                  "actions, --save-history, --report, --differences or --check-key (try "
                  "--help)\n");
    }
    EXPECT_NE(::access((dir_.Path() + "never.his").c_str(), F_OK), 0);
    EXPECT_NE(::access((dir_.Path() + "never.html").c_str(), F_OK), 0);
    for (auto args : {std::vector<std::string>{"--efficiency", "--sample", "0"},
                      std::vector<std::string>{"--efficiency", "--sample", "65536"},
                      std::vector<std::string>{"--efficiency", "--sample"},
                      std::vector<std::string>{"--sample", "3"}}) {
        args.insert(args.begin(), "keys/OAKS.DES");
        run = Identify(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(run.err, "vorn-identify: --sample goes with --efficiency (try --help)\n");
    EXPECT_NE(Identify({"--help"}).out.find("  --efficiency "), std::string::npos);
}

TEST_F(Identifier, SaveHistoryWritesWhatTheHistoryWindowWouldList) {
    WriteFile(dir_.Path() + "walk.his", " 4\r\n+2\r\n 5\r\n");
    Outcome run = Identify({"keys/OAKS.DES", "-5", "or", "+1", "+3", "or", "@walk.his", "=1",
                            "--save-history", "saved.his"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Taxa Match"), std::string::npos);
    // Clearing the group's member left both members listed, with no score.
    EXPECT_EQ(testing::ReadFile(dir_.Path() + "saved.his"), "-5\r\n 1\r\n 3\r\n 4\r\n+2\r\n");

    // Bad input writes nothing; a file that cannot be written is told, with no report.
    run = Identify({"keys/OAKS.DES", "+1", "+6", "--save-history", "never.his"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(testing::ReadFile(dir_.Path() + "never.his"), "");
    EXPECT_NE(::access((dir_.Path() + "never.his").c_str(), F_OK), 0);
    run = Identify({"keys/OAKS.DES", "+1", "--save-history", "keys"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "vorn-identify: Cannot write \"" + dir_.Path() +
                           "keys\": a folder of that name is in the way.\n");
    run = Identify({"keys/OAKS.DES", "--save-history"});
    EXPECT_EQ(run.status, 2);
}

TEST_F(Identifier, AKeyNameThatNamesNoKeyOrAnOutputThatCannotBeWrittenIsTold) {
    for (const char* name : {"", "/", "keys", "keys/"}) {
        Outcome run = Identify({name});
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << name << run.err;
        EXPECT_EQ(run.err.rfind("vorn-identify: ", 0), 0u) << name << run.err;
    }
    EXPECT_EQ(Identify({"keys"}).err,
              "vorn-identify: \"keys\" is a folder, not the .DES file of a key\n");

    Outcome run = Identify({"keys/OAKS.DES"}, ">/dev/full");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "vorn-identify: cannot write to standard output: No space left on device\n");
    run = Identify({"keys/OAKS.DES", "--json"}, ">&-");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("cannot write to standard output"), std::string::npos) << run.err;
    EXPECT_EQ(Identify({"--help"}, ">/dev/full").status, 3);
}

TEST_F(Identifier, ReportsAreValidUtf8AndCarryNoControlCharacters) {
    KeySpec keySpec;
    keySpec.Name = "CH\xC9NES";  // Latin-1 on disk, not UTF-8
    keySpec.TitleLines = {"x"};
    keySpec.Taxa = {"Bell\x07 \x1B]0;owned\x07 a\x81\x85\tb\x7F", std::string("nul\0here", 8)};
    keySpec.States = {"s"};
    keySpec.Codes = {"++"};
    testing::WriteKey(dir_.Path() + "keys", keySpec);
    Outcome run = Identify({"keys/CH\xC9NES.DES"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string bad = "\xEF\xBF\xBD";  // U+FFFD
    EXPECT_EQ(run.out, "Key CH" + bad + "NES: 2 taxa, 1 states\n2 Taxa Match\n  1. Bell" + bad +
                           " " + bad + "]0;owned" + bad + " a" + bad + "\xE2\x80\xA6\tb" + bad +
                           "\n  2. nul" + bad + "here\n");
    run = Identify({"keys/CH\xC9NES.DES", "--json"});
    EXPECT_NE(run.out.find("\"key\": \"CH" + bad + "NES\""), std::string::npos) << run.out;
}

}  // namespace
}  // namespace vorn
