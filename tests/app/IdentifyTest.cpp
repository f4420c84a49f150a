// The command-line identifier, run as a user runs it: exit status, standard output and
// standard error.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include "tools/KeyWriter.h"

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
    Outcome Identify(const std::vector<std::string>& args) {
        std::string command = "cd " + Quote(dir_.Path()) + " && " + Quote(VORN_IDENTIFY_BINARY);
        for (const std::string& arg : args)
            command += " " + Quote(arg);
        command += " >" + Quote(dir_.Path() + "out") + " 2>" + Quote(dir_.Path() + "err");
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
              "  2. Quercus petraea\n");
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
              "  \"matching_taxa_count\": 1,\n"
              "  \"matching_taxa\": [1],\n"
              "  \"scores\": [\"\", \"+\", \"o+\", \"\", \"\"],\n"
              "  \"mismatch_counts\": [0, 0, 1, 0],\n"
              "  \"state_match_counts\": [0, 3, -1, 2, 1],\n"
              // State 5 is left out: its count equals the narrowed matching count.
              "  \"differentiating_states\": [4],\n"
              "  \"taxa_by_mismatches\": [1, 2, 4, 3]\n"
              "}\n");
    // Ending the group gives taxa that satisfy no member their mismatch.
    run = Identify({"keys/OAKS.DES", "+2", "or", "+3", "or", "~5", "~5", "--json"});
    EXPECT_NE(run.out.find("\"or_mode\": false"), std::string::npos);
    EXPECT_NE(run.out.find("\"scores\": [\"\", \"+\", \"o+\", \"\", \"-\"]"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"mismatch_counts\": [0, 1, 1, 2]"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"matching_taxa\": [1]"), std::string::npos);
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

}  // namespace
}  // namespace vorn
