// vorn-import-delta as a user runs it: exit status, messages and report, the folder it
// writes; and the datasets beside the repository converted and opened by vorn-identify.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "importers/delta/DeltaImport.h"
#include "tests/importers/KeyChecks.h"
#include "tests/kit/TestKeys.h"

namespace vorn::delta {
namespace {

namespace fs = std::filesystem;
using vorn::testing::ReadFile;
using vorn::testing::TempDir;
using vorn::testing::WriteFile;

using vorn::testing::Contains;
using vorn::testing::Outcome;

Outcome Import(const std::vector<std::string>& args) {
    return vorn::testing::RunImporter(RunImportDelta, args);
}

class Importer : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = dir_.Path() + "data";
        fs::create_directory(data_);
        WriteFile(data_ + "/Specs", "*SHOW ~ Birds - specifications\r\n*CHARACTER TYPES 3,IN\r\n");
        WriteFile(data_ + "/CHARS",
                  "*CHARACTER LIST\r\n#1. wings/ 1. short/ 2. long/\r\n#2. bill/ 1. red/ "
                  "2. black/\r\n#3. eggs/ per clutch/\r\n");
        WriteFile(data_ + "/items",
                  "*ITEM DESCRIPTIONS\r\n# Robin/ 1,1 2,2 3,4-6\r\n# Crow/ 1,2 2,2 9,1 "
                  "3,3-5\r\n# Puffin <unclosed/ 2,1\r\n");
    }

    TempDir dir_;
    std::string data_;
};

TEST_F(Importer, WritesTheKeyAndReportsWhatItCouldNotRead) {
    Outcome run = Import({data_, dir_.Path() + "key", "BIRDS"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(Contains(run.out, "Read 3 items and 3 characters")) << run.out;
    EXPECT_TRUE(Contains(run.out, "3 taxa, 7 character states from 3 characters")) << run.out;
    EXPECT_TRUE(Contains(run.out,
                         "character 9, item 2 (Crow): \"1\": the character list has no "
                         "character 9"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "read as a plain \"<\":\n  items, line 4\n")) << run.out;
    std::string key = dir_.Path() + "key/BIRDS";
    EXPECT_EQ(ReadFile(key + ".DES"),
              "Birds\r\n\r\n3 taxa, 7 character states from 3 characters\r\n"
              "Converted from the DELTA dataset data\r\n");
    EXPECT_EQ(ReadFile(key + ".TAX").size(), 3u * 40);
    EXPECT_EQ(ReadFile(key + ".DAT").size(), 7u * 40);
    EXPECT_EQ(ReadFile(key + ".CHR").substr(0, 12), "wings: short");
    EXPECT_TRUE(fs::exists(key + ".IND"));
    EXPECT_EQ(ReadFile(dir_.Path() + "key/T0001.TXT"),
              "Robin\r\n\r\neggs (character 3): 4-6 per clutch\r\n");
    // Nothing was written into the dataset, and no temporary folder is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(data_), fs::directory_iterator()), 3);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 2);
}

TEST_F(Importer, ReplacesAnEarlierKeyWholeAndNothingElse) {
    std::string out = dir_.Path() + "key";
    ASSERT_EQ(Import({data_, out, "BIRDS", "--title", "First", "--credit=By us"}).status, 0);
    EXPECT_TRUE(Contains(ReadFile(out + "/BIRDS.DES"), "First\r\nBy us\r\n\r\n"));
    WriteFile(data_ + "/items", "*ITEM DESCRIPTIONS\r\n# Robin/ 1,1\r\n");
    ASSERT_EQ(Import({data_, out, "BIRDS"}).status, 0);
    EXPECT_EQ(ReadFile(out + "/BIRDS.TAX").size(), 40u);
    EXPECT_FALSE(fs::exists(out + "/T0001.TXT"));  // from the old key

    std::string other = dir_.Path() + "other";
    fs::create_directory(other);
    WriteFile(other + "/letter.txt", "mine");
    Outcome run = Import({data_, other, "BIRDS"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Contains(run.err, "holds other files")) << run.err;
    EXPECT_EQ(ReadFile(other + "/letter.txt"), "mine");
    EXPECT_EQ(Import({data_, data_ + "/key", "BIRDS"}).status, 2);
    EXPECT_FALSE(fs::exists(data_ + "/key"));
}

TEST_F(Importer, ExitStatusesAndOneLineMessages) {
    fs::remove(data_ + "/CHARS");
    Outcome run = Import({data_, dir_.Path() + "key", "BIRDS"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "vorn-import-delta: " + data_ + "/chars: not found\n");
    EXPECT_FALSE(fs::exists(dir_.Path() + "key"));

    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{data_}, 2, "expects DATASET_DIR OUT_DIR NAME"},
        {{data_, "out", "A/B"}, 2, "NAME must be"},
        {{data_, "out", "K", "--title"}, 2, "--title needs a value"},
        {{data_, "out", "K", "--colour"}, 2, "unknown option"},
        {{dir_.Path() + "none", "out", "K"}, 2, "no such folder"},
    };
    for (const Case& c : cases) {
        run = Import(c.args);
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    run = Import({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option :
         {"--key-states FILE", "--title TEXT", "--credit TEXT", "--encoding NAME"})
        EXPECT_TRUE(Contains(run.out, option)) << option;

    WriteFile(data_ + "/chars", "*CHARACTER LIST\r\n#1. notes/\r\n");
    WriteFile(data_ + "/specs", "*CHARACTER TYPES 1,TE\r\n");
    run = Import({data_, dir_.Path() + "key", "BIRDS"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "vorn-import-delta: no character of the dataset gives states\n");
}

TEST_F(Importer, SkippedCharactersLeaveNoStatesAndNoNotes) {
    std::string key = dir_.Path() + "key/";
    Outcome run = Import({data_, key, "BIRDS", "--skip-character", "3", "--skip-character=2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "3 taxa, 2 character states from 1 characters")) << run.out;
    EXPECT_TRUE(Contains(run.out,
                         "Skipped (--skip-character):\n  character 2 (bill)\n"
                         "  character 3 (eggs)\n"))
        << run.out;
    EXPECT_FALSE(Contains(ReadFile(key + "BIRDS.CHR"), "bill"));
    EXPECT_FALSE(fs::exists(key + "T0001.TXT"));  // the eggs were its only notes

    struct Case {
        const char* value;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"9", 2, "vorn-import-delta: --skip-character 9: the dataset has no character 9\n"},
        {"two", 2,
         "vorn-import-delta: --skip-character takes a character number, not \"two\" (try "
         "--help)\n"},
    };
    for (const Case& c : cases) {
        run = Import({data_, dir_.Path() + "other", "BIRDS", "--skip-character", c.value});
        EXPECT_EQ(run.status, c.status) << c.value;
        EXPECT_EQ(run.err, c.message);
    }
    EXPECT_FALSE(fs::exists(dir_.Path() + "other"));
}

TEST_F(Importer, PicturesComeOnlyFromTheDataset) {
    fs::create_directory(data_ + "/images");
    fs::create_directory(dir_.Path() + "outside");
    WriteFile(dir_.Path() + "outside/secret.jpg", "\xFF\xD8 secret");
    WriteFile(data_ + "/images/robin.jpg", "\xFF\xD8 robin");
    // Named in Windows-1252 by timages, in UTF-8 on disk.
    WriteFile(data_ + "/images/b\xC3\xA9tula.jpg", "\xFF\xD8 crow");
    fs::create_symlink(dir_.Path() + "outside/secret.jpg", data_ + "/images/link.jpg");
    WriteFile(data_ + "/timages",
              "*TAXON IMAGES\r\n# Robin/ ../outside/secret.jpg " + dir_.Path() +
                  "outside/secret.jpg link.jpg ROBIN.JPG\r\n# Crow/ ..\\outside\\secret.jpg "
                  "B\xC9TULA.JPG /etc/passwd ../outside/notes call.wav\r\n");
    Outcome run = Import({data_, dir_.Path() + "key", "BIRDS"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "picture \"../outside/secret.jpg\" of Robin: \"..\" leads out"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "outside/secret.jpg\" of Robin: an absolute path")) << run.out;
    EXPECT_TRUE(Contains(run.out, "picture \"link.jpg\" of Robin: a symbolic link that leads out"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "picture \"..\\outside\\secret.jpg\" of Crow: \"..\" leads out"))
        << run.out;
    // Names without a picture's extension that lead out are told too; a missing sound is
    // no picture and not told.
    EXPECT_TRUE(Contains(run.out, "picture \"/etc/passwd\" of Crow: an absolute path")) << run.out;
    EXPECT_TRUE(Contains(run.out, "picture \"../outside/notes\" of Crow: \"..\" leads out"))
        << run.out;
    EXPECT_FALSE(Contains(run.out, "call.wav")) << run.out;
    EXPECT_EQ(ReadFile(dir_.Path() + "key/I0001.JPG"), "\xFF\xD8 robin");
    EXPECT_EQ(ReadFile(dir_.Path() + "key/I0002.JPG"), "\xFF\xD8 crow");
    for (const auto& entry : fs::directory_iterator(dir_.Path() + "key"))
        EXPECT_NE(ReadFile(entry.path()), "\xFF\xD8 secret") << entry.path();
}

// A stray "<" in the first character's states and in an item's name: every later
// character and item is still read, and the report names each line once.
TEST_F(Importer, AStrayLessThanLosesNothing) {
    WriteFile(data_ + "/specs", "*CHARACTER TYPES 4,IN\r\n");
    WriteFile(data_ + "/chars",
              "*CHARACTER LIST\r\n#1. host range/ 1. few (<3) families susceptible/\r\n"
              "   2. many <more than 3> families susceptible/\r\n"
              "#2. particles/ 1. isometric/ 2. filamentous/\r\n"
              "#3. vector <if known>/ 1. aphids/ 2. whiteflies/\r\n#4. genome/ segments/\r\n");
    WriteFile(data_ + "/items",
              "*ITEM DESCRIPTIONS\r\n# Alpha virus (<3 hosts <e.g. beet>/ 1,1 2,2 3,1 4,2\r\n"
              "# Beta virus/ 1,2 2,1 3,2 4,1\r\n# Gamma virus/ 1,1/2 2,1 3,1 4,3\r\n");
    Outcome run = Import({data_, dir_.Path() + "key", "VIRUS"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "3 taxa, 9 character states from 4 characters")) << run.out;
    EXPECT_FALSE(Contains(run.out, "has no character")) << run.out;
    EXPECT_FALSE(Contains(run.out, "could not be read")) << run.out;
    EXPECT_TRUE(Contains(run.out,
                         "A \"<\" that no \">\" closes before the end of its character or item, "
                         "read as a plain \"<\":\n  chars, line 2\n  items, line 2\n"))
        << run.out;
    std::string chr = dir_.Path() + "key/VIRUS.CHR";
    EXPECT_EQ(vorn::testing::StateNumber(chr, "host range: few (<3) families susceptible"), 1);
    EXPECT_EQ(vorn::testing::StateNumber(chr, "vector: whiteflies"), 6);
    EXPECT_EQ(ReadFile(dir_.Path() + "key/VIRUS.TAX").substr(0, 22), "Alpha virus (<3 hosts>");
    // The codes of the characters after the stray "<" are those the items give.
    std::string dat = ReadFile(dir_.Path() + "key/VIRUS.DAT");
    EXPECT_EQ(dat.substr(4 * 40, 3), "+-+");  // vector: aphids
    EXPECT_EQ(dat.substr(0, 3), "+-*");       // host range: few
}

// Texts longer than a state record: NAME.CHL holds each state's whole text, a line
// each in state order, and the report says how many were cut in NAME.CHR.
TEST_F(Importer, LongStateTextsAreWholeInTheirOwnFile) {
    WriteFile(data_ + "/chars",
              "*CHARACTER LIST\r\n#1. Number of macrochaetae at hind margin of tergite III/ "
              "1. with more than 8 macrochaetae/ 2. with 2 macrochaetae in posterior corners/\r\n"
              "#2. Number of macrochaetae at hind margin of tergite IV/ "
              "1. with more than 8 macrochaetae/ 2. caf\xE9 au lait/\r\n"
              "#3. eggs/ per clutch/\r\n");
    std::string key = dir_.Path() + "key/";
    Outcome run = Import({data_, key, "BIRDS"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out,
                         "3 state texts longer than 80 bytes: whole in BIRDS.CHL, cut at a word "
                         "in BIRDS.CHR\n"))
        << run.out;
    const std::string iii = "Number of macrochaetae at hind margin of tergite III: ";
    const std::string iv = "Number of macrochaetae at hind margin of tergite IV: ";
    EXPECT_EQ(ReadFile(key + "BIRDS.CHL"),
              iii + "with more than 8 macrochaetae\r\n" + iii +
                  "with 2 macrochaetae in posterior corners\r\n" + iv +
                  "with more than 8 macrochaetae\r\n" + iv + "caf\xE9 au lait\r\n" +
                  "eggs: less than 4 per clutch\r\neggs: 4 to 5 per clutch\r\n"
                  "eggs: more than 5 per clutch\r\n");
    std::string chr = ReadFile(key + "BIRDS.CHR");
    ASSERT_EQ(chr.size(), 7u * 80);
    EXPECT_EQ(chr.substr(0, 80), iii + "with more than 8\x85" + std::string(9, ' '));
    EXPECT_EQ(chr.substr(160, 80), iv + "with more than 8\x85" + std::string(10, ' '));
    // The key opens and identifies on its records as before.
    std::string report =
        vorn::testing::IdentifyReport(key + "BIRDS.DES", {"+1"}, dir_.Path() + "out");
    EXPECT_TRUE(Contains(report, "Taxa Match")) << report;
}

TEST_F(Importer, CodePagesAndWhatWindowsCannotHold) {
    WriteFile(data_ + "/items",
              "*ITEM DESCRIPTIONS\r\n# Salix polaris Hult\x82n/ 1,1\r\n# Salix Hult\xE9n/ 1,2\r\n");
    Outcome run = Import({data_, dir_.Path() + "key", "BIRDS"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "items, line 2: \"Hult?n\": a byte 0x80-0x9F between letters"))
        << run.out;
    EXPECT_EQ(ReadFile(dir_.Path() + "key/BIRDS.TAX").substr(40, 13), "Salix Hult\xE9n ");

    // Read as DOS text, the same byte is the letter it stands for.
    WriteFile(data_ + "/items", "*ITEM DESCRIPTIONS\r\n# Salix polaris Hult\x82n/ 1,1\r\n");
    run = Import({data_, dir_.Path() + "key", "BIRDS", "--encoding", "cp850"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(Contains(run.out, "0x80-0x9F")) << run.out;
    EXPECT_EQ(ReadFile(dir_.Path() + "key/BIRDS.TAX").substr(0, 20), "Salix polaris Hult\xE9n");

    // UTF-8 is recognised; a letter Windows-1252 lacks is written as "?" and counted.
    WriteFile(data_ + "/items", "*ITEM DESCRIPTIONS\r\n# \xC5\xBBmija Hult\xC3\xA9n/ 1,1\r\n");
    run = Import({data_, dir_.Path() + "key", "BIRDS"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "1 character that Windows-1252 cannot hold written as \"?\""))
        << run.out;
    EXPECT_EQ(ReadFile(dir_.Path() + "key/BIRDS.TAX").substr(0, 12), "?mija Hult\xE9n");

    run = Import({data_, dir_.Path() + "key", "BIRDS", "--encoding=klingon"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Contains(run.err, "unknown encoding \"klingon\"")) << run.err;
}

// The datasets beside the repository (CI clones shared/ next to it).
const std::string kDatasets = std::string(VORN_SOURCE_DIR) + "/../shared/delta";

class Datasets : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(kDatasets))
            GTEST_SKIP() << "skipped because the DELTA datasets are not in "
                         << fs::path(kDatasets).lexically_normal().string()
                         << ": they are kept outside the repository, in shared/delta beside it";
    }

    // Converts dataset `name` into the key NAME and returns the key's folder.
    std::string Convert(const std::string& name, const std::string& key) {
        std::string out = dir_.Path() + name;
        Outcome run = Import({kDatasets + "/" + name, out, key});
        EXPECT_EQ(run.status, 0) << run.err;
        return out + "/";
    }

    int State(const std::string& folder, const std::string& key, const std::string& text) {
        return vorn::testing::StateNumber(folder + key + ".CHR", text);
    }

    std::string Identify(const std::string& des, const std::vector<std::string>& actions) {
        return vorn::testing::IdentifyReport(des, actions, dir_.Path() + "out");
    }

    TempDir dir_;
};

TEST_F(Datasets, EveryDatasetBecomesAKeyThatOpens) {
    const std::pair<const char*, int> sets[] = {
        {"sample", 14}, {"ponerini", 32}, {"simple", 5}, {"inapplicable", 4}, {"linked", 4}};
    for (const auto& [name, taxa] : sets) {
        std::string folder = Convert(name, "KEY");
        std::string report = Identify(folder + "KEY.DES", {});
        EXPECT_TRUE(Contains(report, std::to_string(taxa) + " Taxa Match")) << name << report;
        EXPECT_TRUE(fs::exists(folder + "KEY.IND")) << name;
    }
}

TEST_F(Datasets, SampleGrassGeneraIdentifies) {
    std::string folder = Convert("sample", "GRASS");
    std::string des = folder + "GRASS.DES";
    // Zea is the one monoecious genus of the sample (12,1 in items).
    int monoecious =
        State(folder, "GRASS", "plants: monoecious with all the fertile spikelets unisexual");
    EXPECT_TRUE(Contains(Identify(des, {"+" + std::to_string(monoecious)}),
                         "1 Taxon Matches\n  14. Zea\n"));
    // Woody culms (3,1): Bambusa; Panicum and Phragmites may have them (1/2, 1-2).
    int woody = State(folder, "GRASS", "culms: woody and persistent");
    EXPECT_TRUE(Contains(Identify(des, {"+" + std::to_string(woody)}),
                         "3 Taxa Match\n  3. Bambusa\n  11. Panicum\n  12. Phragmites\n"));
    // Culms from 1000 cm high: Bambusa only, (200-)500-3500.
    int tall = State(folder, "GRASS", "culms: from 1000 cm high");
    EXPECT_TRUE(Contains(Identify(des, {"+" + std::to_string(tall), "-" + std::to_string(woody)}),
                         "0 Taxa Match"));

    EXPECT_EQ(ReadFile(folder + "T0001.TXT").substr(0, 13), "Echinochloa\r\n");
    EXPECT_EQ(ReadFile(folder + "GRASS.TAX").substr(40, 40),
              "Anisopogon>T0002.TXT" + std::string(20, ' '));
    std::string jpeg = ReadFile(folder + "I0004.JPG");  // Chloris: a GIF only, converted
    EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
    EXPECT_TRUE(fs::exists(folder + "I000701.GIF") && fs::exists(folder + "I000702.GIF"));
    EXPECT_FALSE(fs::exists(folder + "I000703.GIF"));
}

TEST_F(Datasets, OtherDatasetsIdentify) {
    std::string ants = Convert("ponerini", "ANTS");
    // Maxillary palps: 1 in Hypoponera, 1/2 in Cryptopone; ten genera do not say (7).
    int onePalp = State(ants, "ANTS", "maxillary palp count: 1");
    std::string report = Identify(ants + "ANTS.DES", {"+" + std::to_string(onePalp)});
    EXPECT_TRUE(Contains(report, "12 Taxa Match\n")) << report;
    EXPECT_TRUE(Contains(report, "  5. Cryptopone\n  8. Dolioponera\n  11. Hypoponera\n"))
        << report;
    EXPECT_FALSE(Contains(report, "Anochetus")) << report;

    std::string folder = Convert("inapplicable", "INAP");
    // 6,1 in item 1; item 2 has 6,- and item 4 6,3; item 3 does not say.
    int state6 = State(folder, "INAP", "linked: state 6");
    EXPECT_TRUE(Contains(Identify(folder + "INAP.DES", {"+" + std::to_string(state6)}),
                         "2 Taxa Match\n  1. item 1\n  3. item 3\n"));
    folder = Convert("simple", "SIMPLE");
    // Item 3 is a variant of item 2 and keeps its 4,1.
    int state2 = State(folder, "SIMPLE", "character unordered multistate: state 2");
    EXPECT_TRUE(Contains(Identify(folder + "SIMPLE.DES", {"+" + std::to_string(state2)}),
                         "3 Taxa Match\n  1. item 1\n  4. item 4\n  5. item 5\n"));
}

}  // namespace
}  // namespace vorn::delta
