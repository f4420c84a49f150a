#include "importers/sdd/SddImport.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QUrl>

#include <filesystem>
#include <map>
#include <memory>
#include <new>
#include <optional>

#include "core/key/KeyWriter.h"
#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/Text.h"
#include "core/platform/WholeFile.h"
#include "importers/common/GifWriter.h"
#include "importers/common/ImportRun.h"
#include "importers/common/KeyText.h"
#include "importers/sdd/SddConvert.h"
#include "importers/sdd/SddDocument.h"
#include "importers/sdd/ZipArchive.h"

namespace vorn::sdd {
namespace {

namespace fs = std::filesystem;
using import::Failure;

constexpr const char* kUsage =
    "usage: vorn-import-sdd FILE OUT_DIR NAME [--title TEXT] [--credit TEXT]\n"
    "                       [--skip-character ID]...\n"
    "\n"
    "Converts the SDD 1.1 document FILE (an .xml file, or a .zip archive that holds\n"
    "exactly one) into the VORN key NAME in the folder OUT_DIR: NAME.DES, NAME.TAX,\n"
    "NAME.CHR, NAME.DAT, NAME.IND, NAME.CHL (the whole state texts, when some are\n"
    "longer than 80 bytes), notes files and pictures. OUT_DIR must be new, empty, or\n"
    "hold an earlier key NAME, which is replaced whole.\n"
    "\n"
    "  --title TEXT   the key's title (default: the dataset's label)\n"
    "  --credit TEXT  a line of credit on the key's title page\n"
    "  --skip-character ID\n"
    "                 leave the character with the id ID out of the key (its states\n"
    "                 and notes), for a character that describes the dataset rather\n"
    "                 than the taxa; may be given again\n"
    "  -h, --help     show this help\n"
    "  --version      show the version\n"
    "\n"
    "Exit status: 0 a key was written; 1 the document cannot become a key; 2 bad usage,\n"
    "or FILE is missing or is no SDD 1.1 document.\n";

// What is read at most: the document, one picture, and all pictures together. A zip
// archive may declare any size; what it unpacks is counted as it comes.
constexpr size_t kMaxDocument = 256u << 20;
constexpr size_t kMaxPicture = 32u << 20;
constexpr size_t kMaxPictures = 256u << 20;

struct Arguments {
    std::string file, outDir, name, title, credit;
    std::vector<std::string> skip;
};

Arguments ParseArguments(const std::vector<std::string>& args) {
    import::CommandLine line = import::ParseCommandLine(
        args, {"--title", "--credit", "--skip-character"}, "FILE OUT_DIR NAME");
    return {line.Source,
            line.OutDir,
            line.Name,
            line.Value("--title"),
            line.Value("--credit"),
            line.Values("--skip-character")};
}

// Where the document and its local pictures come from: a folder, or a zip archive.
class Source {
public:
    explicit Source(const std::string& file) {
        std::string path = ResolveFileName(file);
        if (!FileExists(path)) throw Failure{2, file + ": not found"};
        folder_ = fs::path(path).parent_path().string();
        if (folder_.empty()) folder_ = ".";
        FileBytes whole;
        try {
            whole = ReadWholeFile(path, kMaxDocument);
        } catch (const IoError& e) {
            throw Failure{2, e.what()};
        }
        if (whole.More) {
            throw Failure{2, file + ": larger than the " + std::to_string(kMaxDocument >> 20) +
                                 " MB an SDD document may have here"};
        }
        if (whole.Bytes.rfind("PK", 0) != 0) {
            document_ = std::move(whole.Bytes);
            documentName_ = fs::path(path).filename().string();
            return;
        }
        zip_ = std::make_unique<ZipArchive>(path);
        if (!zip_->Valid())
            throw Failure{2, file + ": the zip archive cannot be read: " + zip_->Error()};
        std::vector<std::string> documents;
        for (const std::string& name : zip_->Names()) {
            if (EndsWithIgnoringCase(name, ".xml")) documents.push_back(name);
        }
        if (documents.size() != 1) {
            throw Failure{2, file + ": the zip archive holds " + std::to_string(documents.size()) +
                                 " XML documents; it must hold exactly one"};
        }
        std::string why;
        auto bytes = zip_->Read(documents[0], kMaxDocument, &why);
        if (!bytes) throw Failure{2, file + ": " + FileNameToUtf8(documents[0]) + ": " + why};
        document_ = std::move(*bytes);
        size_t slash = documents[0].rfind('/');
        zipFolder_ = slash == std::string::npos ? std::string() : documents[0].substr(0, slash + 1);
        documentName_ = fs::path(path).filename().string() + ": " + FileNameToUtf8(documents[0]);
    }

    const std::string& Document() const { return document_; }
    const std::string& DocumentName() const { return documentName_; }
    const std::string& Folder() const { return folder_; }

    // The bytes of the local file `href` names beside the document; nothing, with why,
    // when it is remote, leads out, is missing or is too large.
    std::optional<std::string> Picture(const std::string& href, std::string* why) const {
        std::string lower = FoldCase(href);
        if (lower.find("://") != std::string::npos || lower.rfind("http:", 0) == 0 ||
            lower.rfind("https:", 0) == 0 || lower.rfind("data:", 0) == 0) {
            *why = "remote, not fetched";
            return std::nullopt;
        }
        std::string name = QUrl::fromPercentEncoding(QByteArray::fromStdString(href)).toStdString();
        if (name.rfind("file:", 0) == 0) name = name.substr(5);
        if (!zip_) {
            std::string path = import::FileInFolder(folder_, name, why);
            if (path.empty()) return std::nullopt;
            try {
                FileBytes bytes = ReadWholeFile(path, kMaxPicture);
                if (!bytes.More) return std::move(bytes.Bytes);
                *why = "larger than " + std::to_string(kMaxPicture >> 20) + " MB";
                return std::nullopt;
            } catch (const IoError& e) {
                *why = e.what();
                return std::nullopt;
            }
        }
        // Inside the archive: a name relative to the document, never leading out of it.
        std::string path = KeyNameToPath(name);
        if (path.empty() || path[0] == '/') {
            *why = "an absolute path, which may lead out of the archive";
            return std::nullopt;
        }
        for (const auto& part : fs::path(path)) {
            if (part == "..") {
                *why = "\"..\" leads out of the archive";
                return std::nullopt;
            }
        }
        return zip_->Read(zipFolder_ + path, kMaxPicture, why);
    }

private:
    std::string folder_, document_, documentName_, zipFolder_;
    std::unique_ptr<ZipArchive> zip_;
};

bool IsJpeg(const std::string& bytes) {
    return bytes.rfind("\xFF\xD8\xFF", 0) == 0;
}

bool IsGif(const std::string& bytes) {
    return bytes.rfind("GIF87a", 0) == 0 || bytes.rfind("GIF89a", 0) == 0;
}

// The picture as JPEG bytes: as it is when it is one, else converted with Qt; empty
// when Qt cannot read it.
std::string AsJpeg(const std::string& bytes) {
    if (IsJpeg(bytes)) return bytes;
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size()))) {
        return {};
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", 90)) return {};
    return jpeg.toStdString();
}

struct Pictures {
    std::map<std::string, std::string> Files;  // key file name, bytes
    std::vector<bool> TaxonHasImage;
    std::map<std::string, std::string> CharacterImages;  // character id, picture name
    std::vector<std::string> Problems;
    std::vector<std::string> Converted;  // the pictures written as GIFs from another form
    size_t Bytes = 0;
};

// A picture read from the document's folder or archive, with its address.
struct PictureBytes {
    std::string Href, Bytes;
};

// The pictures of a list of media refs, read and checked; `what` names their owner in
// the report.
std::vector<PictureBytes> ReadPictures(const Source& source, const Document& doc,
                                       const std::vector<std::string>& refs,
                                       const std::string& what, Pictures& pictures) {
    std::vector<PictureBytes> found;
    for (const std::string& ref : refs) {
        auto media = doc.Media.find(ref);
        if (media == doc.Media.end()) {
            pictures.Problems.push_back(what + ": media object \"" + ref +
                                        "\" is not in the document");
            continue;
        }
        const MediaObject& m = media->second;
        if (!m.Type.empty() && m.Type != "Image") continue;
        std::string why;
        std::optional<std::string> bytes = source.Picture(m.Href, &why);
        if (bytes && pictures.Bytes + bytes->size() > kMaxPictures) {
            bytes.reset();
            why = "left out: the pictures read before it take the " +
                  std::to_string(kMaxPictures >> 20) + " MB allowed";
        }
        if (!bytes) {
            pictures.Problems.push_back(what + ": " + m.Href + ": " + why);
            continue;
        }
        pictures.Bytes += bytes->size();
        found.push_back({m.Href, std::move(*bytes)});
    }
    return found;
}

Pictures PlanPictures(const Source& source, const Document& doc) {
    Pictures pictures;
    pictures.TaxonHasImage.assign(doc.Descriptions.size(), false);
    char number[16];
    for (size_t t = 0; t < doc.Descriptions.size(); ++t) {
        const Description& d = doc.Descriptions[t];
        std::string what = "taxon " + std::to_string(t + 1) + " (" +
                           (d.TaxonName.empty() ? d.Label : d.TaxonName) + ")";
        std::vector<PictureBytes> files = ReadPictures(source, doc, d.MediaRefs, what, pictures);
        std::snprintf(number, sizeof number, "%04d", static_cast<int>(t + 1));
        if (files.empty()) continue;
        std::string jpeg = AsJpeg(files.front().Bytes);
        if (jpeg.empty()) {
            pictures.Problems.push_back(what + ": its first picture cannot be read as a picture");
        } else {
            pictures.Files[std::string("I") + number + ".JPG"] = std::move(jpeg);
            pictures.TaxonHasImage[t] = true;
        }
        int gifs = 0;
        for (size_t k = 0; k < files.size(); ++k) {
            PictureBytes& file = files[k];
            // The first picture that is no GIF is the taxon's JPEG already; a later one is
            // written as a GIF, which giflib writes from Qt's reading of it.
            bool gif = IsGif(file.Bytes);
            if (!gif && k == 0) continue;
            char name[40];
            std::snprintf(name, sizeof name, "I%s%02d.GIF", number, gifs + 1);
            if (!gif) {
                QImage image;
                image.loadFromData(reinterpret_cast<const uchar*>(file.Bytes.data()),
                                   static_cast<int>(file.Bytes.size()));
                std::string converted = image.isNull() ? std::string() : import::GifBytes(image);
                if (converted.empty()) {
                    pictures.Problems.push_back(what + ": " + file.Href +
                                                ": cannot be read as a picture");
                    continue;
                }
                pictures.Converted.push_back(what + ": " + file.Href + " as " + name);
                file.Bytes = std::move(converted);
            }
            ++gifs;
            pictures.Files[name] = std::move(file.Bytes);
        }
    }
    for (size_t ci = 0; ci < doc.Characters.size(); ++ci) {
        const Character& c = doc.Characters[ci];
        if (c.MediaRefs.empty() || pictures.CharacterImages.count(c.Id)) continue;
        std::string what = "character " + std::to_string(ci + 1) + " (" + c.Label + ")";
        std::vector<PictureBytes> files =
            ReadPictures(source, doc, {c.MediaRefs.front()}, what, pictures);
        if (files.empty()) continue;
        std::string jpeg = AsJpeg(files.front().Bytes);
        if (jpeg.empty()) {
            pictures.Problems.push_back(what + ": its picture cannot be read as a picture");
            continue;
        }
        std::snprintf(number, sizeof number, "C%04d", static_cast<int>(ci + 1));
        pictures.Files[std::string(number) + ".JPG"] = std::move(jpeg);
        pictures.CharacterImages[c.Id] = number;
    }
    return pictures;
}

}  // namespace

int RunImportSdd(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return import::RunImporter("vorn-import-sdd", kUsage, args, out, err, [&] {
        Arguments a = ParseArguments(args);
        Source source(a.file);
        Document doc = ReadSddDocument(source.Document());
        if (!doc.Refusal.empty()) throw Failure{2, a.file + ": " + doc.Refusal};
        Pictures pictures = PlanPictures(source, doc);

        ConvertOptions options;
        options.Name = a.name;
        options.Title = import::FromCommandLine(a.title);
        options.Credit = import::FromCommandLine(a.credit);
        options.DocumentName = import::FromCommandLine(source.DocumentName());
        options.SkipCharacters = a.skip;
        Conversion key = Convert(doc, options, pictures.TaxonHasImage, pictures.CharacterImages);
        if (!key.UnknownSkipped.empty()) {
            throw Failure{2, "--skip-character " + key.UnknownSkipped.front() +
                                 ": the document has no character with this id"};
        }
        if (!key.Refusal.empty()) throw Failure{1, key.Refusal};

        import::KeyFolder folder(a.outDir, a.name);
        std::vector<std::pair<std::string, std::string>> files = key.Notes;
        files.insert(files.end(), pictures.Files.begin(), pictures.Files.end());
        import::WriteKeyAndFiles(folder.Path(), key.Key, files);
        folder.Commit();

        out << "Read " << doc.Descriptions.size() << " descriptions and " << doc.Characters.size()
            << " characters from " << a.file << "\n";
        import::PrintWritten(out, a.name, a.outDir, key.Key, key.CharactersWithStates,
                             key.Notes.size(), pictures.Files.size(), key.Unwritable);
        import::PrintList(out, "Skipped (--skip-character):", key.Skipped);
        import::PrintList(out, "Left out:", key.LeftOut);
        std::vector<std::string> problems = doc.Problems;
        problems.insert(problems.end(), key.Problems.begin(), key.Problems.end());
        import::PrintList(out, "Entries that could not be used:", problems);
        import::PrintList(
            out, "States that read the same, as their texts in the document do:", key.SameTexts);
        import::PrintList(out, "Pictures not copied:", pictures.Problems);
        import::PrintList(out, "Pictures converted to GIF:", pictures.Converted);
    });
}

}  // namespace vorn::sdd
