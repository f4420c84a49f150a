#include "importers/delta/DeltaImport.h"

#include <charconv>
#include <filesystem>
#include <new>

#include "core/key/KeyFiles.h"
#include "core/key/KeyWriter.h"
#include "core/platform/Directory.h"
#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/WholeFile.h"
#include "importers/common/ImportRun.h"
#include "importers/common/KeyText.h"
#include "importers/delta/DeltaConvert.h"
#include "importers/delta/DeltaReader.h"
#include "importers/delta/DeltaText.h"

namespace vorn::delta {
namespace {

namespace fs = std::filesystem;
using import::Failure;

constexpr const char* kUsage =
    "usage: vorn-import-delta DATASET_DIR OUT_DIR NAME [--key-states FILE] [--title TEXT]\n"
    "                         [--credit TEXT] [--encoding NAME] [--skip-character N]...\n"
    "\n"
    "Converts the DELTA dataset in DATASET_DIR (files specs, chars, items, and tokey\n"
    "and timages when present) into the VORN key NAME in the folder OUT_DIR: NAME.DES,\n"
    "NAME.TAX, NAME.CHR, NAME.DAT, NAME.IND, NAME.CHL (the whole state texts, when some\n"
    "are longer than 80 bytes), notes files and pictures. OUT_DIR must be new, empty,\n"
    "or hold an earlier key NAME, which is replaced whole.\n"
    "\n"
    "  --key-states FILE  read *KEY STATES, *USE NORMAL VALUES and *EXCLUDE CHARACTERS\n"
    "                     from FILE instead of the dataset's tokey\n"
    "  --title TEXT       the key's title (default: the *SHOW line of specs)\n"
    "  --credit TEXT      a line of credit on the key's title page\n"
    "  --encoding NAME    the code page of the dataset's files (cp1252, cp437, cp850,\n"
    "                     latin1, utf-8, ...); default: UTF-8 for a file that is valid\n"
    "                     UTF-8, else cp1252\n"
    "  --skip-character N leave character N out of the key (its states and notes),\n"
    "                     for a character that describes the dataset rather than the\n"
    "                     taxa; may be given again\n"
    "  -h, --help         show this help\n"
    "  --version          show the version\n"
    "\n"
    "Exit status: 0 a key was written; 1 the dataset cannot become a key; 2 bad usage,\n"
    "or specs, chars or items is missing or cannot be read.\n";

// Places that look DOS-coded, reported per file at most this often.
constexpr size_t kDosPlaces = 10;

struct Arguments {
    std::string dataset, outDir, name, keyStates, title, credit, encoding;
    std::vector<int> skip;
};

Arguments ParseArguments(const std::vector<std::string>& args) {
    import::CommandLine line = import::ParseCommandLine(
        args, {"--key-states", "--title", "--credit", "--encoding", "--skip-character"},
        "DATASET_DIR OUT_DIR NAME");
    Arguments a{line.Source,
                line.OutDir,
                line.Name,
                line.Value("--key-states"),
                line.Value("--title"),
                line.Value("--credit"),
                line.Value("--encoding"),
                {}};
    for (const std::string& value : line.Values("--skip-character")) {
        int number = 0;
        auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size() || number < 1) {
            throw Failure{2, "--skip-character takes a character number, not \"" + value + "\"",
                          true};
        }
        a.skip.push_back(number);
    }
    if (!a.encoding.empty() && !import::IsKnownEncoding(a.encoding)) {
        throw Failure{2, "unknown encoding \"" + a.encoding + "\" (try cp1252, cp850 or utf-8)",
                      true};
    }
    return a;
}

// A file of the dataset folder, found ignoring letter case; empty when there is none.
std::string FindInFolder(const std::string& folder, const std::string& name) {
    std::string path = ResolveFileName(folder + "/" + name);
    return FileExists(path) ? path : std::string();
}

// Reads one file into the dataset; places that look DOS-coded go to `codePages`.
void ReadFile(DeltaFile file, const std::string& path, const std::string& shownName,
              const std::string& encoding, Dataset& dataset, std::vector<std::string>& codePages) {
    std::string bytes = ReadWholeFile(path).Bytes;
    bool utf8 = false;
    std::string text = import::DecodeBytes(bytes, encoding, &utf8);
    ReadDeltaFile(file, ReplaceCharacterMarks(text, encoding), shownName, dataset);
    if (!encoding.empty() || utf8) return;
    for (const std::string& place : import::DosCodedPlaces(bytes, kDosPlaces)) {
        codePages.push_back(shownName + ", " + place +
                            ": a byte 0x80-0x9F between letters; the file may be in a DOS code "
                            "page (try --encoding cp850)");
    }
}

}  // namespace

int RunImportDelta(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return import::RunImporter("vorn-import-delta", kUsage, args, out, err, [&] {
        Arguments a = ParseArguments(args);
        std::string datasetDir = a.dataset;
        if (!DirectoryExists(datasetDir)) throw Failure{2, a.dataset + ": no such folder"};
        datasetDir = ResolveFileName(datasetDir);

        Dataset dataset;
        std::vector<std::string> problems, codePages;
        const std::pair<const char*, DeltaFile> needed[] = {
            {"specs", DeltaFile::Specs}, {"chars", DeltaFile::Chars}, {"items", DeltaFile::Items}};
        for (const auto& [name, file] : needed) {
            std::string path = FindInFolder(datasetDir, name);
            if (path.empty()) throw Failure{2, datasetDir + "/" + name + ": not found"};
            try {
                ReadFile(file, path, name, a.encoding, dataset, codePages);
            } catch (const IoError& e) {
                throw Failure{2, e.what()};
            }
        }
        std::string keyStates =
            a.keyStates.empty() ? FindInFolder(datasetDir, "tokey") : a.keyStates;
        if (!a.keyStates.empty() && !FileExists(a.keyStates)) {
            throw Failure{2, a.keyStates + ": not found"};
        }
        try {
            if (!keyStates.empty()) {
                ReadFile(DeltaFile::KeyStates, keyStates, fs::path(keyStates).filename().string(),
                         a.encoding, dataset, codePages);
            }
            if (std::string path = FindInFolder(datasetDir, "timages"); !path.empty()) {
                ReadFile(DeltaFile::Images, path, "timages", a.encoding, dataset, codePages);
            }
        } catch (const IoError& e) {
            if (!a.keyStates.empty()) throw Failure{2, e.what()};
            problems.push_back(e.what());
        }
        if (!dataset.HasCharacterList) {
            problems.push_back("chars: no *CHARACTER LIST directive");
        }
        if (!dataset.HasItemDescriptions) {
            problems.push_back("items: no *ITEM DESCRIPTIONS directive");
        }

        // Pictures are files of the dataset folder or its images folder, never outside.
        std::vector<std::string> pictureProblems;
        auto plan = PlanPictures(
            dataset,
            [&](const std::string& name, std::string* why) {
                std::string path = import::FileInFolder(datasetDir, name, why);
                if (path.empty() && *why == "not found" &&
                    DirectoryExists(datasetDir + "/images")) {
                    path = import::FileInFolder(ResolveFileName(datasetDir + "/images"), name, why);
                }
                return path;
            },
            pictureProblems);
        std::vector<bool> hasImage(plan.size());
        for (size_t i = 0; i < plan.size(); ++i)
            hasImage[i] = !plan[i].empty();

        ConvertOptions options;
        options.Name = a.name;
        options.Title = import::FromCommandLine(a.title);
        options.Credit = import::FromCommandLine(a.credit);
        fs::path absolute = fs::path(AbsolutePath(datasetDir)).lexically_normal();
        if (absolute.filename().empty()) absolute = absolute.parent_path();
        options.DatasetName = import::FromCommandLine(absolute.filename().string());
        options.SkipCharacters = a.skip;
        Conversion key = Convert(dataset, options, hasImage);
        if (!key.UnknownSkipped.empty()) {
            std::string n = std::to_string(key.UnknownSkipped.front());
            throw Failure{2, "--skip-character " + n + ": the dataset has no character " + n};
        }
        if (key.TooManyItems) {
            throw Failure{1, "the dataset has " + std::to_string(key.ItemCount) +
                                 " items; a key holds at most " + std::to_string(MaxKeyItems)};
        }
        if (key.TooLarge) {
            throw Failure{1, "the dataset has " + std::to_string(key.ItemCount) + " items and " +
                                 std::to_string(key.CharacterCount) +
                                 " characters, more than can be converted at once"};
        }
        if (key.NoStates) {
            throw Failure{1, key.ItemCount == 0 ? "the dataset has no items"
                                                : "no character of the dataset gives states"};
        }
        if (key.TooManyStates) {
            throw Failure{1, "the dataset's characters give " + std::to_string(key.StateCount) +
                                 " states; a key holds at most " + std::to_string(MaxKeyItems)};
        }
        import::CheckOutsideSource(a.outDir, datasetDir);

        import::KeyFolder folder(a.outDir, a.name);
        import::WriteKeyAndFiles(folder.Path(), key.Key, key.Notes);
        int pictures = 0;
        for (const std::vector<PictureFile>& files : plan)
            pictures += import::WritePictures(files, folder.Path(), pictureProblems);
        folder.Commit();

        out << "Read " << key.ItemCount << " items and " << key.CharacterCount
            << " characters from " << a.dataset << "\n";
        import::PrintWritten(out, a.name, a.outDir, key.Key, key.CharactersWithStates,
                             key.Notes.size(), static_cast<size_t>(pictures), key.Unwritable);
        import::PrintList(out, "Skipped (--skip-character):", key.Skipped);
        import::PrintList(out, "Left out:", key.LeftOut);
        problems.insert(problems.end(), dataset.Problems.begin(), dataset.Problems.end());
        import::PrintList(out, "Lines that could not be read (left out):", problems);
        import::PrintList(out, "Values that could not be read (coded as unknown):", key.Unreadable);
        import::PrintList(
            out, "States that read the same, as their texts in the dataset do:", key.SameTexts);
        import::PrintList(out,
                          "A \"<\" that no \">\" closes before the end of its character or item, "
                          "read as a plain \"<\":",
                          dataset.PlainLessLines);
        import::PrintList(out, "Pictures:", pictureProblems);
        import::PrintList(out,
                          "Letters that may be in another code page (read as cp1252):", codePages);
    });
}

}  // namespace vorn::delta
