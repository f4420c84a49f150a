// vorn-import-sdd as a user runs it: documents and zip archives, pictures from inside
// them only, exit statuses and messages; and the SDD documents beside the repository
// converted and checked with vorn-identify against what the documents say.
#include <gtest/gtest.h>
#include <zip.h>

#include <QBuffer>
#include <QImage>

#include <filesystem>
#include <sstream>

#include "importers/common/GifWriter.h"
#include "importers/sdd/SddImport.h"
#include "importers/sdd/ZipArchive.h"
#include "tests/importers/KeyChecks.h"
#include "tests/importers/sdd/SddTestDocuments.h"
#include "tests/kit/Folder.h"
#include "tests/kit/TestKeys.h"

namespace vorn::sdd {
namespace {

namespace fs = std::filesystem;
using namespace vorn::sdd::testing;
using vorn::testing::ListDirectory;
using vorn::testing::ReadFile;
using vorn::testing::TempDir;
using vorn::testing::WriteFile;

using vorn::testing::Contains;
using vorn::testing::Outcome;

Outcome Import(const std::vector<std::string>& args) {
    return vorn::testing::RunImporter(RunImportSdd, args);
}

void WriteZip(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_RAW), 0) << name;
    }
    ASSERT_EQ(zip_close(archive), 0);
}

std::string Png() {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

const std::string kGif =
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00"
    ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";

// Birds with pictures: the robin has a PNG, a GIF named in UTF-8, a remote picture and
// three that lead out of the document's folder; the colour character has a JPEG.
std::string BirdsWithPictures() {
    std::string xml = Birds();
    auto insert = [&](const std::string& after, const std::string& text) {
        size_t at = xml.find(after);
        EXPECT_NE(at, std::string::npos) << after;
        xml.insert(at + after.size(), text);
    };
    insert("<Label>Robin</Label>",
           "<MediaObject ref=\"m1\"/><MediaObject ref=\"m2\"/><MediaObject ref=\"m3\"/>"
           "<MediaObject ref=\"m4\"/><MediaObject ref=\"m5\"/><MediaObject ref=\"m6\"/>");
    insert("<Label>colour</Label>", "<MediaObject ref=\"m7\"/>");
    std::string media = "<MediaObjects>";
    const std::pair<const char*, const char*> objects[] = {
        {"m1", "pics/robin.png"}, {"m2", "pics/r%C3%A9.gif"}, {"m3", "https://example.org/x.jpg"},
        {"m4", "../secret.jpg"},  {"m5", "/tmp/secret.jpg"},  {"m6", "pics/link.jpg"},
        {"m7", "pics/colour.jpg"}};
    for (const auto& [id, href] : objects) {
        media += std::string("<MediaObject id=\"") + id + "\">" + Labelled(id) +
                 "<Type>Image</Type><Source href=\"" + href + "\"/></MediaObject>";
    }
    insert("</CodedDescriptions>\n", media + "</MediaObjects>\n");
    return xml;
}

class SddImporter : public ::testing::Test {
protected:
    void SetUp() override {
        doc_ = dir_.Path() + "doc/";
        fs::create_directories(doc_ + "pics");
        fs::create_directory(dir_.Path() + "outside");
        WriteFile(dir_.Path() + "outside/secret.jpg", "\xFF\xD8\xFF secret");
        WriteFile(doc_ + "pics/robin.png", Png());
        WriteFile(doc_ + "pics/r\xC3\xA9.gif", kGif);
        WriteFile(doc_ + "pics/colour.jpg", "\xFF\xD8\xFF colour");
        fs::create_symlink(dir_.Path() + "outside/secret.jpg", doc_ + "pics/link.jpg");
    }

    // The key's folder holds no byte of the secret, and nothing but the key.
    void ExpectNoSecret(const std::string& key) {
        for (const std::string& name : ListDirectory(key))
            EXPECT_FALSE(Contains(ReadFile(key + name), "secret")) << name;
    }

    TempDir dir_;
    std::string doc_;
};

TEST_F(SddImporter, ADocumentWithItsPicturesBecomesAKey) {
    WriteFile(doc_ + "birds.sdd11.xml", BirdsWithPictures());
    std::string key = dir_.Path() + "key/";
    Outcome run = Import({doc_ + "birds.sdd11.xml", key, "BIRDS", "--credit", "Drawn by us"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(Contains(run.out, "Read 5 descriptions and 6 characters")) << run.out;
    EXPECT_TRUE(Contains(run.out,
                         "5 taxa, 12 character states from 5 characters, 3 notes files, "
                         "3 picture files"))
        << run.out;
    for (const char* line :
         {"https://example.org/x.jpg: remote, not fetched", "../secret.jpg: \"..\" leads out",
          "/tmp/secret.jpg: an absolute path", "pics/link.jpg: a symbolic link that leads out"}) {
        EXPECT_TRUE(Contains(run.out, std::string("taxon 1 (Erithacus rubecula): ") + line))
            << line << "\n"
            << run.out;
    }
    EXPECT_EQ(ListDirectory(key),
              (std::vector<std::string>{"BIRDS.CHR", "BIRDS.DAT", "BIRDS.DES", "BIRDS.IND",
                                        "BIRDS.TAX", "C0001.JPG", "I0001.JPG", "I000101.GIF",
                                        "T0001.TXT", "T0002.TXT", "T0003.TXT"}));
    EXPECT_EQ(ReadFile(key + "I0001.JPG").substr(0, 3), "\xFF\xD8\xFF");  // the PNG, converted
    EXPECT_EQ(ReadFile(key + "I000101.GIF"), kGif);
    EXPECT_EQ(ReadFile(key + "C0001.JPG"), "\xFF\xD8\xFF colour");
    EXPECT_TRUE(Contains(ReadFile(key + "BIRDS.IND"), "\r\ncolour|C0001\r\n"));
    EXPECT_EQ(ReadFile(key + "BIRDS.TAX").substr(0, 40),
              "Erithacus rubecula|I0001>T0001.TXT      ");
    EXPECT_TRUE(Contains(ReadFile(key + "BIRDS.DES"), "\xA9 2020 Me\r\nDrawn by us\r\n\r\n"));
    ExpectNoSecret(key);

    std::string report = vorn::testing::IdentifyReport(
        key + "BIRDS.DES",
        {"+" + std::to_string(vorn::testing::StateNumber(key + "BIRDS.CHR", "colour: green"))},
        dir_.Path() + "out");
    EXPECT_TRUE(Contains(report, "2 Taxa Match\n  2. Corvus corone\n  5. Doubt\n")) << report;
}

// A picture of many colours, fading across and down.
QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128));
    return image;
}

std::string Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

// How far two pictures' colours lie apart as the eye takes them in: the mean difference
// of their channels averaged over blocks of 10 x 10 pixels, 0 to 255. Dithering keeps
// it small where the nearest colours alone would leave bands.
double BlockDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    int blocks = 0;
    for (int y0 = 0; y0 + 10 <= a.height(); y0 += 10) {
        for (int x0 = 0; x0 + 10 <= a.width(); x0 += 10) {
            for (int channel = 0; channel < 3; ++channel) {
                double mean[2] = {0, 0};
                for (int y = y0; y < y0 + 10; ++y) {
                    for (int x = x0; x < x0 + 10; ++x) {
                        QRgb p[2] = {a.pixel(x, y), b.pixel(x, y)};
                        for (int i = 0; i < 2; ++i)
                            mean[i] += channel == 0   ? qRed(p[i])
                                       : channel == 1 ? qGreen(p[i])
                                                      : qBlue(p[i]);
                    }
                }
                sum += std::abs(mean[0] - mean[1]) / 100;
            }
            ++blocks;
        }
    }
    return sum / (3.0 * blocks);
}

TEST(GifWriter, PicturesOfManyColoursBecomeGifsOf256) {
    QImage gradient = Gradient(120, 90);
    std::string gif = import::GifBytes(gradient);
    ASSERT_EQ(gif.rfind("GIF8", 0), 0u);
    QImage read = QImage::fromData(QByteArray::fromStdString(gif), "GIF");
    ASSERT_EQ(read.size(), gradient.size());
    EXPECT_LE(read.colorCount(), 256);
    // Dithered, it keeps the picture's colours on the whole.
    EXPECT_LT(BlockDifference(read.convertToFormat(QImage::Format_RGB32), gradient), 4.0);

    // A transparent picture is laid on white; one of few colours keeps them exactly.
    QImage mark(10, 10, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    mark.setPixel(4, 5, qRgb(200, 10, 30));
    read = QImage::fromData(QByteArray::fromStdString(import::GifBytes(mark)), "GIF");
    EXPECT_EQ(read.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(read.pixel(4, 5), qRgb(200, 10, 30));

    EXPECT_EQ(import::GifBytes(QImage()), "");
    EXPECT_EQ(import::GifBytes(QImage(70000, 1, QImage::Format_RGB32)), "");
}

// A taxon's later pictures in other forms are written as its numbered GIFs, and told.
TEST_F(SddImporter, LaterPicturesThatAreNoGifsBecomeGifs) {
    std::string xml = Birds();
    std::string media = "<MediaObjects>";
    std::string refs;
    const std::pair<const char*, const char*> objects[] = {{"m1", "pics/robin.png"},
                                                           {"m2", "pics/r.gif"},
                                                           {"m3", "pics/later.png"},
                                                           {"m4", "pics/broken.jpg"},
                                                           {"m5", "pics/last.jpg"}};
    for (const auto& [id, href] : objects) {
        refs += std::string("<MediaObject ref=\"") + id + "\"/>";
        media += std::string("<MediaObject id=\"") + id + "\">" + Labelled(id) +
                 "<Type>Image</Type><Source href=\"" + href + "\"/></MediaObject>";
    }
    xml.insert(xml.find("<Label>Robin</Label>") + 20, refs);
    xml.insert(xml.find("</CodedDescriptions>\n") + 21, media + "</MediaObjects>\n");
    WriteFile(doc_ + "birds.xml", xml);
    WriteFile(doc_ + "pics/r.gif", kGif);
    WriteFile(doc_ + "pics/later.png", Encoded(Gradient(64, 48), "PNG"));
    WriteFile(doc_ + "pics/broken.jpg", "\xFF\xD8\xFF cut short");
    WriteFile(doc_ + "pics/last.jpg", Encoded(Gradient(30, 20), "JPG"));

    std::string key = dir_.Path() + "key/";
    Outcome run = Import({doc_ + "birds.xml", key, "BIRDS"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out,
                         "Pictures converted to GIF:\n"
                         "  taxon 1 (Erithacus rubecula): pics/later.png as I000102.GIF\n"
                         "  taxon 1 (Erithacus rubecula): pics/last.jpg as I000103.GIF\n"))
        << run.out;
    EXPECT_TRUE(Contains(run.out,
                         "taxon 1 (Erithacus rubecula): pics/broken.jpg: cannot be read "
                         "as a picture"))
        << run.out;
    EXPECT_EQ(ReadFile(key + "I000101.GIF"), kGif);
    QImage later = QImage::fromData(QByteArray::fromStdString(ReadFile(key + "I000102.GIF")));
    EXPECT_EQ(later.size(), QSize(64, 48));
    QImage last = QImage::fromData(QByteArray::fromStdString(ReadFile(key + "I000103.GIF")));
    EXPECT_EQ(last.size(), QSize(30, 20));
    EXPECT_FALSE(fs::exists(key + "I000104.GIF"));
}

TEST_F(SddImporter, ZipArchivesOfOneDocumentAndTheirPictures) {
    std::string xml = BirdsWithPictures();
    xml.replace(xml.find("../secret.jpg"), 13, "../evil.jpg");
    std::string zipPath = dir_.Path() + "birds.zip";
    WriteZip(zipPath, {{"doc/birds.sdd11.xml", xml},
                       {"doc/pics/robin.png", Png()},
                       {"doc/pics/R\xC3\x89.GIF", kGif},  // another case, found all the same
                       {"doc/pics/colour.jpg", "\xFF\xD8\xFF colour"},
                       {"doc/pics/link.jpg", "\xFF\xD8\xFF zipped"},
                       {"doc/../evil.jpg", "\xFF\xD8\xFF secret"},
                       {"../evil.jpg", "\xFF\xD8\xFF secret"}});
    std::string key = dir_.Path() + "key/";
    Outcome run = Import({zipPath, key, "BIRDS"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "../evil.jpg: \"..\" leads out of the archive")) << run.out;
    EXPECT_EQ(ReadFile(key + "I000101.GIF"), kGif);
    EXPECT_EQ(ReadFile(key + "I000102.GIF"), "");  // link.jpg is no picture Qt can read
    EXPECT_TRUE(Contains(ReadFile(key + "BIRDS.DES"),
                         "Converted from the SDD document birds.zip: doc/birds.sdd11.xml"));
    ExpectNoSecret(key);
    EXPECT_FALSE(fs::exists(dir_.Path() + "evil.jpg"));
    EXPECT_EQ(ListDirectory(dir_.Path()),
              (std::vector<std::string>{"birds.zip", "doc", "key", "outside"}));

    // A picture that unpacks to more than is read is refused as it unpacks.
    WriteZip(zipPath,
             {{"doc/birds.sdd11.xml", xml}, {"doc/pics/robin.png", std::string(40u << 20, '\0')}});
    run = Import({zipPath, key, "BIRDS"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "pics/robin.png: it unpacks to 41943040 bytes, more than"))
        << run.out;
}

TEST(ZipArchive, WhatIsReadIsCountedWhateverTheArchiveDeclares) {
    // Its one entry declares 100 bytes and unpacks to more than 200,000 (fuzz corpus).
    ZipArchive archive(std::string(VORN_SOURCE_DIR) +
                       "/fuzz/corpus/sdd_document/zip-declared-size-lies");
    ASSERT_TRUE(archive.Valid()) << archive.Error();
    ASSERT_EQ(archive.Names(), std::vector<std::string>{"birds.sdd11.xml"});
    std::string why;
    EXPECT_FALSE(archive.Read("birds.sdd11.xml", 1000, &why));
    EXPECT_EQ(why, "it unpacks to more than the 1000 bytes read");
    auto whole = archive.Read("BIRDS.SDD11.XML", 1 << 20, &why);
    ASSERT_TRUE(whole);
    EXPECT_GT(whole->size(), 200000u);
    EXPECT_FALSE(archive.Read("other.xml", 1 << 20, &why));
    EXPECT_EQ(why, "not in the zip archive");
}

// Characters about the dataset rather than the taxa are left out by id: no states, no
// notes, and the report lists them.
TEST_F(SddImporter, SkippedCharactersLeaveNoStatesAndNoNotes) {
    WriteFile(doc_ + "birds.sdd11.xml", Birds());
    std::string key = dir_.Path() + "key/";
    Outcome run = Import(
        {doc_ + "birds.sdd11.xml", key, "BIRDS", "--skip-character", "c1", "--skip-character=c6"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "5 taxa, 9 character states from 4 characters")) << run.out;
    EXPECT_TRUE(Contains(run.out,
                         "Skipped (--skip-character):\n  character 1 (colour), id c1\n"
                         "  character 6 (habitat), id c6\n"))
        << run.out;
    EXPECT_FALSE(Contains(ReadFile(key + "BIRDS.CHR"), "colour: red"));
    EXPECT_TRUE(Contains(ReadFile(key + "BIRDS.CHR"), "wing colour: dark"));
    EXPECT_FALSE(Contains(ReadFile(key + "BIRDS.IND"), "\ncolour"));
    EXPECT_FALSE(Contains(ReadFile(key + "T0001.TXT"), "gardens"));
    EXPECT_TRUE(Contains(ReadFile(key + "T0001.TXT"), "length: Min 10, Max 14 (cm)"));

    // An id the document does not have is refused before anything is written.
    std::string other = dir_.Path() + "other/";
    run = Import({doc_ + "birds.sdd11.xml", other, "BIRDS", "--skip-character", "C1"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "vorn-import-sdd: --skip-character C1: the document has no character with this id\n");
    EXPECT_FALSE(fs::exists(other));
}

TEST_F(SddImporter, ExitStatusesAndOneLineMessages) {
    std::string zipPath = dir_.Path() + "two.zip";
    WriteZip(zipPath, {{"a.xml", Birds()}, {"b.XML", Birds()}});
    std::string empty = dir_.Path() + "empty.zip";
    WriteZip(empty, {{"readme.txt", "no document"}});
    WriteFile(doc_ + "old.xml", SddText("", "1.0"));
    WriteFile(doc_ + "key.xml", "<?xml version=\"1.0\"?><Key/>");
    WriteFile(doc_ + "none.xml",
              SddText("<Characters>" + Categorical("c", "", {{"s", "x"}}) + "</Characters>"));
    WriteFile(doc_ + "broken.zip", "PK\x03\x04 not really");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::string out = dir_.Path() + "out";
    const Case cases[] = {
        {{zipPath, out, "K"}, 2, "the zip archive holds 2 XML documents; it must hold exactly one"},
        {{empty, out, "K"}, 2, "holds 0 XML documents"},
        {{doc_ + "broken.zip", out, "K"}, 2, "the zip archive cannot be read"},
        {{doc_ + "old.xml", out, "K"}, 2, "not an SDD 1.1 document"},
        {{doc_ + "key.xml", out, "K"}, 2, "the document's root is <Key>"},
        {{doc_ + "none.xml", out, "K"}, 1, "the document has no coded descriptions"},
        {{doc_ + "missing.xml", out, "K"}, 2, "missing.xml: not found"},
        {{doc_ + "key.xml"}, 2, "expects FILE OUT_DIR NAME"},
        {{doc_ + "key.xml", out, "A/B"}, 2, "NAME must be"},
        {{doc_ + "key.xml", out, "K", "--title"}, 2, "--title needs a value"},
        {{doc_ + "key.xml", out, "K", "--colour"}, 2, "unknown option"},
    };
    for (const Case& c : cases) {
        Outcome run = Import(c.args);
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_TRUE(Contains(run.err, "vorn-import-sdd: ")) << run.err;
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_FALSE(fs::exists(out));
    Outcome help = Import({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--title TEXT", "--credit TEXT", "--version"})
        EXPECT_TRUE(Contains(help.out, option)) << option;
}

// The Megalothorax key is in the repository (CC BY 4.0, see data/README.md); the two
// TDWG examples are beside it in ../shared (CI clones shared/ next to the repository).
const std::string kMegalothorax =
    std::string(VORN_SOURCE_DIR) + "/tests/importers/sdd/data/megalothorax.sdd11.xml";
const std::string kShared = std::string(VORN_SOURCE_DIR) + "/../shared/sdd/";

class SddDocuments : public ::testing::Test {
protected:
    std::string Convert(const std::string& file, const std::string& name) {
        std::string out = dir_.Path() + name + "/";
        Outcome run = Import({file, out, "KEY"});
        EXPECT_EQ(run.status, 0) << run.err;
        return out;
    }

    int State(const std::string& key, const std::string& text) {
        return vorn::testing::StateNumber(key + "KEY.CHR", text);
    }

    std::string Identify(const std::string& key, const std::vector<std::string>& actions) {
        return vorn::testing::IdentifyReport(key + "KEY.DES", actions, dir_.Path() + "report");
    }

    TempDir dir_;
};

TEST_F(SddDocuments, MegalothoraxIdentifies) {
    std::string key = Convert(kMegalothorax, "mega");
    EXPECT_TRUE(Contains(Identify(key, {}), "Key KEY: 37 taxa, 115 states\n37 Taxa Match"));
    // Only M. australis is described without the posterior distal chaeta of the dens.
    std::string report = Identify(key, {"+" + std::to_string(State(key,
                                                                   "Dens: posterior distal "
                                                                   "chaeta: Absent"))});
    EXPECT_TRUE(Contains(report, ". Megalothorax australis Delamare Deboutteville & Massoud"))
        << report;
    EXPECT_FALSE(Contains(report, "37 Taxa Match")) << report;
    // Coarse secondary granules: M. granulosus.
    report = Identify(key, {"+" + std::to_string(State(key,
                                                       "Integument: size of secondary "
                                                       "granules: Coarse"))});
    EXPECT_TRUE(Contains(report, ". Megalothorax granulosus Schneider & D'Haese, 2013")) << report;
}

TEST_F(SddDocuments, TdwgExamplesIdentify) {
    if (!fs::is_directory(kShared))
        GTEST_SKIP() << "skipped because the TDWG SDD examples are not in "
                     << fs::path(kShared).lexically_normal().string()
                     << ": they are kept outside the repository, in shared/sdd beside it";
    std::string cicad = Convert(kShared + "Cicad.sdd11.zip", "cicad");
    EXPECT_TRUE(Contains(Identify(cicad, {}), "Key KEY: 152 taxa, 414 states\n152 Taxa Match"));
    std::string report =
        Identify(cicad, {"+" + std::to_string(State(cicad,
                                                    "Shape of anterior tentorium arms: absent or "
                                                    "greatly reduced"))});
    EXPECT_TRUE(Contains(report, ". Empoascini Distant\n")) << report;
    EXPECT_FALSE(Contains(report, "152 Taxa Match")) << report;

    std::string ery = Convert(kShared + "Erythroneura.sdd11.zip", "ery");
    EXPECT_TRUE(Contains(Identify(ery, {}), "Key KEY: 54 taxa, 174 states\n54 Taxa Match"));
    // E. infuscata alone is black with no dark costal spot; it is 2.8 to 3 mm long
    // (UMethLower, UMethUpper), within the middle third of the sizes.
    std::string black = "+" + std::to_string(State(ery, "Ground color of dorsum: black"));
    std::string noSpot = "+" + std::to_string(State(ery,
                                                    "Spot at costal margin of forewings: "
                                                    "without dark spot"));
    report = Identify(
        ery, {black, noSpot, "+" + std::to_string(State(ery, "Body size: 2.8 to 3.1 mm"))});
    EXPECT_TRUE(Contains(report, "1 Taxon Matches\n")) << report;
    EXPECT_TRUE(Contains(report, ". Erythroneura infuscata Gillette\n")) << report;
    report =
        Identify(ery, {black, "+" + std::to_string(State(ery, "Body size: more than 3.1 mm"))});
    EXPECT_TRUE(Contains(report, "0 Taxa Match")) << report;
}

}  // namespace
}  // namespace vorn::sdd
