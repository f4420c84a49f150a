// vorn-publish as a user runs it: the folder it writes (the page, the engine, the key's
// texts in UTF-8, its codes packed, notes, pictures), the report, the exit statuses, and
// the folder it will and will not take.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "bench/SyntheticKeys.h"
#include "core/key/CodeMatrix.h"
#include "core/key/PackedCodes.h"
#include "core/platform/Directory.h"
#include "publish/Publish.h"
#include "publish/PublishedFolder.h"
#include "tests/kit/TestKeys.h"

namespace vorn::publish {
namespace {

namespace fs = std::filesystem;
using testing::KeySpec;
using testing::ReadFile;
using testing::WriteFile;

struct Outcome {
    int status = -1;
    std::string out, err;
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The files under `dir`, relative, sorted.
std::vector<std::string> FilesUnder(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_directory())
            files.push_back(fs::relative(entry.path(), dir).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class Publishing : public ::testing::Test {
protected:
    Publishing() : start_(CurrentDirectory()) {
        // What every published key shares, as an installation holds it.
        web_ = dir_.Path() + "web/";
        fs::create_directories(web_ + "page/js");
        fs::create_directories(web_ + "engine");
        WriteFile(web_ + "page/index.html", "<!doctype html><title>VORN</title>");
        WriteFile(web_ + "page/style.css", "body {}");
        WriteFile(web_ + "page/js/main.js", "import './engine.js';");
        WriteFile(web_ + "engine/vorn-engine.js", "export default 1;");
        WriteFile(web_ + "engine/vorn-engine.wasm", std::string("\0asm\1\0\0\0", 8));
        key_ = dir_.Path() + "key/";
        fs::create_directories(key_ + "pics");
        out_ = dir_.Path() + "out";
    }
    ~Publishing() override { ChangeToDirectory(start_); }

    // A key with Windows-1252 texts, a title page, an index, notes and pictures: some
    // there, one missing, one whose name leads out of its folder.
    std::string WriteOaks() {
        KeySpec keySpec;
        keySpec.Name = "OAKS";
        keySpec.LongTaxonNames = true;
        keySpec.TitleLines = {"", "  Oaks of Europe \xA9 2026", "A \x93small\x94 key"};
        keySpec.Taxa = {"Quercus robur/English oak|pics\\qrob>QROB.TXT",
                        "Quercus petraea/Sessile oak|QPET>MISSING.TXT",
                        // ">" starts the notes name: the name is what stands before it.
                        "<img src=x onerror=alert(1)|..\\..\\secret",
                        "Quercus cerris \"Turkey\" \\oak>QROB.TXT"};
        keySpec.States = {"Leaves: evergreen", "Leaves: deciduous", "Acorn: stalked \x96 long",
                          "Acorn: <b>sessile</b> & more", "Cupule: moss\xE9"};
        keySpec.Codes = {"--+-", "++-+", "+-*-", "-+*+", "---+"};
        keySpec.Index =
            "1 30 2\r\nLeaves\r\n2\r\nLeaf habit|LEAVES\r\n1 2\r\nAcorn\r\n-2 3 3 4 9\r\n";
        WriteFile(key_ + "QROB.TXT", "Common oak.\r\nWidespread \x96 often planted.\r\n");
        WriteFile(key_ + "pics/QROB.JPG", "JPEG of robur");
        WriteFile(key_ + "pics/QROB01.GIF", "GIF one");
        WriteFile(key_ + "pics/QROB02.GIF", "GIF two");
        WriteFile(key_ + "pics/QROB04.GIF", "not reached: 03 is missing");
        WriteFile(key_ + "LEAVES.JPG", "JPEG of leaves");
        WriteFile(dir_.Path() + "secret.JPG", "outside the key");
        return testing::WriteKey(key_, keySpec);
    }

    Outcome Publish(std::vector<std::string> args) {
        std::ostringstream out, err;
        Outcome run;
        run.status = RunPublish(args, out, err, web_);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    testing::TempDir dir_;
    std::string web_, key_, out_;

private:
    std::string start_;
};

TEST_F(Publishing, WritesTheSharedPageTheKeysDataNotesAndPictures) {
    std::string des = WriteOaks();
    Outcome run = Publish({des, out_});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(FilesUnder(out_),
              (std::vector<std::string>{
                  ".vorn-published", "engine/vorn-engine.js", "engine/vorn-engine.wasm",
                  "index.html", "js/main.js", "key/codes.bin", "key/key.json", "key/notes/1.txt",
                  "key/pictures/1.jpg", "key/pictures/2.gif", "key/pictures/3.gif",
                  "key/pictures/4.jpg", "manifest.webmanifest", "offline.js", "style.css"}));
    EXPECT_EQ(ReadFile(out_ + "/engine/vorn-engine.wasm"),
              ReadFile(web_ + "engine/vorn-engine.wasm"));
    EXPECT_EQ(ReadFile(out_ + "/key/pictures/1.jpg"), "JPEG of robur");
    EXPECT_EQ(ReadFile(out_ + "/key/pictures/3.gif"), "GIF two");
    EXPECT_EQ(ReadFile(out_ + "/key/pictures/4.jpg"), "JPEG of leaves");
    // Notes as UTF-8 text, one file however many taxa name it.
    EXPECT_EQ(ReadFile(out_ + "/key/notes/1.txt"), "Common oak.\nWidespread \u2013 often planted.");

    std::string json = ReadFile(out_ + "/key/key.json");
    EXPECT_TRUE(Has(json, "\"title\": \"Oaks of Europe \u00a9 2026\"")) << json;
    EXPECT_TRUE(
        Has(json,
            "\"titlePage\": [\"\", \"Oaks of Europe \u00a9 2026\", \"A \u201csmall\u201d key\"]"));
    EXPECT_TRUE(Has(json,
                    "{\"name\": \"Quercus robur\", \"common\": \"English oak\", \"picture\": "
                    "\"key/pictures/1.jpg\", \"gifs\": [\"key/pictures/2.gif\", "
                    "\"key/pictures/3.gif\"], \"notes\": \"key/notes/1.txt\"}"));
    // The missing notes and the refused picture leave nothing to follow.
    EXPECT_TRUE(Has(json, "{\"name\": \"Quercus petraea\", \"common\": \"Sessile oak\"}"));
    EXPECT_TRUE(Has(json, "{\"name\": \"<img src=x onerror=alert(1)\"}"));
    EXPECT_TRUE(Has(json, "\"Acorn: <b>sessile</b> & more\""));
    EXPECT_TRUE(Has(
        json,
        "{\"name\": \"Quercus cerris \\\"Turkey\\\" \\\\oak\", \"notes\": \"key/notes/1.txt\"}"));
    EXPECT_TRUE(Has(json, "\"Acorn: stalked \u2013 long\""));
    EXPECT_TRUE(Has(json, "\"Cupule: moss\u00e9\""));
    EXPECT_TRUE(Has(json,
                    "{\"heading\": \"Leaves\", \"text\": \"Leaf habit\", \"picture\": "
                    "\"key/pictures/4.jpg\", \"states\": [[0, 1]]}"));
    // Only the key's own states: 3 to 3 and 4 to 9 give states 2 and 3 to 4, from 0.
    EXPECT_TRUE(
        Has(json, "{\"heading\": \"Leaves\", \"text\": \"Acorn\", \"states\": [[2, 2], [3, 4]]}"))
        << json;

    CodeMatrix codes, expected;
    ASSERT_EQ(UnpackCodes(ReadFile(out_ + "/key/codes.bin"), codes), "");
    expected.Assign(4, {"--+-", "++-+", "+-*-", "-+*+", "---+"});
    EXPECT_EQ(codes.PlaneBytes(), expected.PlaneBytes());

    EXPECT_TRUE(Has(run.out, "Published the key OAKS to " + out_ +
                                 ": 4 taxa, 5 states, 1 notes files, 4 pictures\n"));
    EXPECT_TRUE(Has(run.out,
                    "Named by the key but not in its folder (the page shows none for "
                    "them):\n  taxon 2 (Quercus petraea): picture QPET.JPG\n  taxon 2 "
                    "(Quercus petraea): notes MISSING.TXT\n"))
        << run.out;
    EXPECT_TRUE(Has(run.out,
                    "Names refused, as they would lead out of the key's folder:\n  taxon 3 "
                    "(<img src=x onerror=alert(1)): picture ..\\..\\SECRET.JPG: \"..\" "
                    "leads out of the key's folder\n"))
        << run.out;
    // The list names every file written but itself.
    std::optional<std::vector<std::string>> listed =
        ReadPublishedList(ReadFile(out_ + "/.vorn-published"), nullptr);
    ASSERT_TRUE(listed);
    std::vector<std::string> files = FilesUnder(out_);
    files.erase(files.begin());
    std::sort(listed->begin(), listed->end());
    EXPECT_EQ(*listed, files);
    // Nothing was written beside the folder or into the key.
    EXPECT_EQ(FilesUnder(key_),
              (std::vector<std::string>{"LEAVES.JPG", "OAKS.CHR", "OAKS.DAT", "OAKS.DES",
                                        "OAKS.IND", "OAKS.TAX", "QROB.TXT", "pics/QROB.JPG",
                                        "pics/QROB01.GIF", "pics/QROB02.GIF", "pics/QROB04.GIF"}));
}

// The version the service worker keeps a publication by: what it keeps at once, what it
// keeps as it is seen, and a new version for any change, never for none.
TEST_F(Publishing, OfflinePlanAndManifest) {
    WriteFile(web_ + "page/sw.js", "importScripts('offline.js');");
    std::string des = WriteOaks();
    ASSERT_EQ(Publish({des, out_}).status, 0);
    std::string plan = ReadFile(out_ + "/offline.js");
    size_t at = plan.find("\"version\": \"");
    ASSERT_NE(at, std::string::npos) << plan;
    std::string version = plan.substr(at + 12, 16);
    EXPECT_EQ(version.find_first_not_of("0123456789abcdef"), std::string::npos) << version;
    EXPECT_TRUE(
        Has(plan, "\"shell\": [\n    \"engine/vorn-engine.js\",\n    \"engine/vorn-engine.wasm\","))
        << plan;
    for (const char* kept : {"\"index.html\"", "\"style.css\"", "\"js/main.js\"",
                             "\"key/codes.bin\"", "\"key/key.json\"", "\"manifest.webmanifest\""})
        EXPECT_TRUE(Has(plan, kept)) << kept;
    EXPECT_FALSE(Has(plan, "sw.js")) << "the service worker is fetched for updates, never kept";
    EXPECT_TRUE(Has(
        plan, "\"later\": [\n    [\"key/notes/1.txt\", 41],\n    [\"key/pictures/1.jpg\", 13],"))
        << plan;
    EXPECT_TRUE(Has(plan, "[\"key/pictures/4.jpg\", 14]]};\n")) << plan;
    std::string manifest = ReadFile(out_ + "/manifest.webmanifest");
    EXPECT_TRUE(
        Has(manifest, "\"name\": \"Oaks of Europe \u00a9 2026\",\n  \"short_name\": \"OAKS\""))
        << manifest;
    EXPECT_TRUE(Has(manifest, "\"display\": \"standalone\""));

    // The same key again: the same version; one picture changed: another.
    ASSERT_EQ(Publish({des, out_, "--force"}).status, 0);
    EXPECT_TRUE(Has(ReadFile(out_ + "/offline.js"), version));
    WriteFile(key_ + "pics/QROB02.GIF", "GIF two, drawn again");
    ASSERT_EQ(Publish({des, out_, "--force"}).status, 0);
    EXPECT_FALSE(Has(ReadFile(out_ + "/offline.js"), version));
    // A page file that would stand where the publisher writes its own is refused.
    WriteFile(web_ + "page/offline.js", "self.vornPublication = {};");
    Outcome clash = Publish({des, dir_.Path() + "other"});
    EXPECT_EQ(clash.status, 1);
    EXPECT_TRUE(Has(clash.err, "offline.js cannot be published")) << clash.err;
}

TEST_F(Publishing, TheTitleOptionNamesThePage) {
    std::string des = WriteOaks();
    ASSERT_EQ(Publish({des, out_, "--title", "Oaks \xE2\x80\x93 a trial"}).status, 0);
    EXPECT_TRUE(Has(ReadFile(out_ + "/key/key.json"), "\"title\": \"Oaks \u2013 a trial\""));
    ASSERT_EQ(Publish({des, out_, "--force", "--title=\xFF"}).status, 0);
    EXPECT_TRUE(Has(ReadFile(out_ + "/key/key.json"), "\"title\": \"\uFFFD\""));
}

TEST_F(Publishing, BadUsageAndKeysThatCannotBePublished) {
    std::string des = WriteOaks();
    Outcome run = Publish({des});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "vorn-publish: expects KEY.DES OUTDIR (try --help)\n");
    EXPECT_EQ(Publish({des, out_, "--colour"}).err,
              "vorn-publish: unknown option \"--colour\" (try --help)\n");
    EXPECT_EQ(Publish({des, out_, "--title"}).status, 2);
    run = Publish({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(Has(run.out, "usage: vorn-publish KEY.DES OUTDIR [--force] [--title TEXT]"));
    run = Publish({key_ + "NONE.DES", out_});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(
        run.err, "vorn-publish: the key " + key_ + "NONE.DES cannot be opened: Sorry, one or more"))
        << run.err;
    EXPECT_EQ(Publish({key_, out_}).status, 2);
    run = Publish({des, dir_.Path() + "no/such/folder"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "does not exist"));
    fs::remove(web_ + "engine/vorn-engine.wasm");
    run = Publish({des, out_});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "vorn-publish: the web engine is not installed: " + web_ +
                           "engine/vorn-engine.wasm is missing (VORN was built without emscripten; "
                           "see VORN_WEB in the README)\n");
    EXPECT_FALSE(fs::exists(out_));
}

// --force replaces exactly what the earlier run listed: files of others stay, links are
// removed and never followed, and a list that names anything outside is refused.
TEST_F(Publishing, ForceReplacesOnlyWhatAnEarlierRunWrote) {
    std::string des = WriteOaks();
    WriteFile(dir_.Path() + "mine.txt", "a file of the user's");
    fs::create_directory(out_);
    WriteFile(out_ + "/notes.txt", "the user's");
    Outcome run = Publish({des, out_});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "vorn-publish: " + out_ +
                  " is not empty and holds no key published by vorn-publish; choose a new or "
                  "empty folder\n");
    fs::remove(out_ + "/notes.txt");
    ASSERT_EQ(Publish({des, out_}).status, 0);
    EXPECT_EQ(
        Publish({des, out_}).err,
        "vorn-publish: " + out_ + " holds a key published earlier; give --force to replace it\n");

    // The user's own file stays; a listed file replaced by a link to the user's file is
    // removed as a link.
    WriteFile(out_ + "/README.txt", "about this site");
    fs::remove(out_ + "/style.css");
    fs::create_symlink(dir_.Path() + "mine.txt", out_ + "/style.css");
    run = Publish({des, out_, "--force"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(out_ + "/README.txt"), "about this site");
    EXPECT_EQ(ReadFile(out_ + "/style.css"), "body {}");
    EXPECT_FALSE(fs::is_symlink(out_ + "/style.css"));
    EXPECT_EQ(ReadFile(dir_.Path() + "mine.txt"), "a file of the user's");

    // A file the run would write, not written by it, is never replaced.
    fs::remove(out_ + "/key/notes/1.txt");
    WriteFile(out_ + "/key/notes/1.txt", "hand-written");
    std::string list = ReadFile(out_ + "/.vorn-published");
    std::string without = list;
    without.erase(without.find("key/notes/1.txt\n"), std::string("key/notes/1.txt\n").size());
    WriteFile(out_ + "/.vorn-published", without);
    run = Publish({des, out_, "--force"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, out_ + "/key/notes/1.txt was not written by vorn-publish")) << run.err;
    EXPECT_EQ(ReadFile(out_ + "/key/notes/1.txt"), "hand-written");

    // A list that leads out of the folder is refused before anything is removed.
    WriteFile(out_ + "/.vorn-published", list + "../mine.txt\n");
    run = Publish({des, out_, "--force"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(run.err, "is damaged (line ")) << run.err;
    EXPECT_EQ(ReadFile(dir_.Path() + "mine.txt"), "a file of the user's");
    EXPECT_EQ(ReadFile(out_ + "/index.html"), "<!doctype html><title>VORN</title>");

    // A listed folder made a link leads nowhere: nothing is removed or written through it.
    WriteFile(out_ + "/.vorn-published", list);
    fs::remove(out_ + "/key/notes/1.txt");
    fs::remove_all(out_ + "/js");
    fs::create_directory(dir_.Path() + "elsewhere");
    WriteFile(dir_.Path() + "elsewhere/main.js", "someone else's");
    fs::create_directory_symlink(dir_.Path() + "elsewhere", out_ + "/js");
    run = Publish({des, out_, "--force"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "vorn-publish: " + out_ +
                           "/js is not a folder, and vorn-publish writes through "
                           "no link: move it away or choose another folder\n");
    EXPECT_EQ(ReadFile(dir_.Path() + "elsewhere/main.js"), "someone else's");
}

TEST(PublishedList, PathsInsideTheFolderOnly) {
    for (const char* good : {"index.html", "key/notes/1.txt", ".vorn-published", "a b/c"})
        EXPECT_TRUE(IsPublishedPath(good)) << good;
    for (const char* bad :
         {"", "/etc/passwd", "../x", "a/../b", "a//b", "a/", "./a", "a\\b", "a\tb"})
        EXPECT_FALSE(IsPublishedPath(bad)) << bad;
    std::string why;
    EXPECT_EQ(ReadPublishedList("# remark\r\nindex.html\r\nkey/key.json\n", &why),
              (std::vector<std::string>{"index.html", "key/key.json"}));
    EXPECT_FALSE(ReadPublishedList("index.html\n\nkey.json\n", &why));
    EXPECT_EQ(why, "line 2 names no file inside the folder");
    EXPECT_EQ(ReadPublishedList(PublishedListText({"a", "b/c"}), nullptr),
              (std::vector<std::string>{"a", "b/c"}));
}

// The sample key publishes within a megabyte of data; a key of 10,000 x 10,000, with long
// names and texts, within 30 MB: its codes as the engine holds them, 2 bits a code.
TEST_F(Publishing, TheDataStaysSmall) {
    ASSERT_EQ(Publish({std::string(VORN_SOURCE_DIR) + "/keys/TREES.DES", out_}).status, 0);
    uint64_t trees = fs::file_size(out_ + "/key/codes.bin") + fs::file_size(out_ + "/key/key.json");
    EXPECT_LT(trees, 1u << 20);
    EXPECT_GT(fs::file_size(out_ + "/key/pictures/1.jpg"), 0u);

    testing::KeySpec big = bench::SyntheticKeySpec(10000, 10000);
    std::string des = testing::WriteKey(key_, big);
    big = {};
    std::string bigOut = dir_.Path() + "big";
    Outcome run = Publish({des, bigOut});
    ASSERT_EQ(run.status, 0) << run.err;
    uint64_t codes = fs::file_size(bigOut + "/key/codes.bin");
    uint64_t data = codes + fs::file_size(bigOut + "/key/key.json");
    EXPECT_EQ(codes, kPackedCodesHeader + 10000ull * 2 * 157 * 8);
    EXPECT_LE(data, 30ull << 20) << run.out;
    fs::remove(key_ + "SYNTH.DAT");
}

}  // namespace
}  // namespace vorn::publish
