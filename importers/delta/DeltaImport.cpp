#include "importers/delta/DeltaImport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include <QImage>

#include "core/key/KeyWriter.h"
#include "core/platform/Directory.h"
#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/Text.h"
#include "core/platform/WholeFile.h"
#include "importers/delta/DeltaConvert.h"
#include "importers/delta/DeltaReader.h"
#include "importers/delta/DeltaText.h"

namespace vorn::delta {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: vorn-import-delta DATASET_DIR OUT_DIR NAME [--key-states FILE] [--title TEXT]\n"
    "                         [--credit TEXT]\n"
    "\n"
    "Converts the DELTA dataset in DATASET_DIR (files specs, chars, items, and tokey\n"
    "and timages when present) into the VORN key NAME in the folder OUT_DIR: NAME.DES,\n"
    "NAME.TAX, NAME.CHR, NAME.DAT, NAME.IND, notes files and pictures. OUT_DIR must be\n"
    "new, empty, or hold an earlier key NAME, which is replaced whole.\n"
    "\n"
    "  --key-states FILE  read *KEY STATES, *USE NORMAL VALUES and *EXCLUDE CHARACTERS\n"
    "                     from FILE instead of the dataset's tokey\n"
    "  --title TEXT       the key's title (default: the *SHOW line of specs)\n"
    "  --credit TEXT      a line of credit on the key's title page\n"
    "  -h, --help         show this help\n"
    "  --version          show the version\n"
    "\n"
    "Exit status: 0 a key was written; 1 the dataset cannot become a key; 2 bad usage,\n"
    "or specs, chars or items is missing or cannot be read.\n";

constexpr size_t kMaxNameLength = 96;  // with ".DES", the 100 characters of a key name

struct Failure {
    int status;
    std::string message;
    bool usage = false;  // bad usage: point to --help
};

struct Arguments {
    std::string dataset, outDir, name, keyStates, title, credit;
    bool hasTitle = false, hasCredit = false;
};

Arguments ParseArguments(const std::vector<std::string>& args) {
    Arguments a;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string option = arg, value;
        bool hasValue = false;
        if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
            option = arg.substr(0, arg.find('='));
            value = arg.substr(arg.find('=') + 1);
            hasValue = true;
        }
        if (option == "--key-states" || option == "--title" || option == "--credit") {
            if (!hasValue) {
                if (i + 1 >= args.size()) throw Failure{2, option + " needs a value", true};
                value = args[++i];
            }
            if (option == "--key-states") a.keyStates = value;
            if (option == "--title") a.title = value, a.hasTitle = true;
            if (option == "--credit") a.credit = value, a.hasCredit = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw Failure{2, "unknown option \"" + arg + "\"", true};
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3) throw Failure{2, "expects DATASET_DIR OUT_DIR NAME", true};
    a.dataset = positional[0];
    a.outDir = positional[1];
    a.name = positional[2];
    if (a.name.empty() || a.name.size() > kMaxNameLength || a.name.find('/') != std::string::npos ||
        a.name == "." || a.name == "..") {
        throw Failure{2,
                      "NAME must be a file name of 1 to " + std::to_string(kMaxNameLength) +
                          " characters without \"/\"",
                      true};
    }
    return a;
}

// A file of the dataset folder, found ignoring letter case; empty when there is none.
std::string FindInFolder(const std::string& folder, const std::string& name) {
    std::string path = ResolveFileName(folder + "/" + name);
    return FileExists(path) ? path : std::string();
}

void ReadFile(DeltaFile file, const std::string& path, const std::string& shownName,
              Dataset& dataset) {
    std::string text = FromDeltaBytes(ReadWholeFile(path).Bytes);
    ReadDeltaFile(file, text, shownName, dataset);
}

// The folder that will become OUT_DIR is built beside it and renamed into place, so
// OUT_DIR holds the old key or the new one, never a mix.
class KeyFolder {
public:
    KeyFolder(const std::string& outDir, const std::string& name) : outDir_(outDir) {
        fs::path target = fs::path(outDir).lexically_normal();
        if (target.filename().empty()) target = target.parent_path();
        target_ = target;
        fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
        std::error_code error;
        if (!fs::is_directory(parent, error)) {
            throw Failure{2, "the folder " + parent.string() + " of " + outDir + " does not exist"};
        }
        if (fs::exists(target, error)) {
            if (!fs::is_directory(target, error)) {
                throw Failure{2, outDir + " exists and is not a folder"};
            }
            bool empty = fs::is_empty(target, error);
            if (!empty && FindInFolder(target.string(), name + ".DES").empty()) {
                throw Failure{2, outDir + " holds other files and no key " + name +
                                     "; choose a new or empty folder"};
            }
            replace_ = true;
        }
        std::string pattern =
            (parent / ("." + target.filename().string() + ".new-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) {
            throw Failure{1,
                          "cannot create a folder beside " + outDir + ": " + std::strerror(errno)};
        }
        temp_ = pattern;
    }

    ~KeyFolder() {
        std::error_code ignored;
        if (!temp_.empty()) fs::remove_all(temp_, ignored);
    }

    const std::string& Path() const { return temp_; }

    void Commit() {
        std::error_code error;
        fs::permissions(temp_,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec,
                        error);
        if (replace_) {
            std::string old = temp_ + ".old";
            if (::rename(target_.c_str(), old.c_str()) != 0) {
                throw Failure{1, "cannot replace " + outDir_ + ": " + std::strerror(errno)};
            }
            if (::rename(temp_.c_str(), target_.c_str()) != 0) {
                int e = errno;
                ::rename(old.c_str(), target_.c_str());
                throw Failure{1, "cannot replace " + outDir_ + ": " + std::strerror(e)};
            }
            fs::remove_all(old, error);
        } else if (::rename(temp_.c_str(), target_.c_str()) != 0) {
            throw Failure{1, "cannot create " + outDir_ + ": " + std::strerror(errno)};
        }
        temp_.clear();
    }

private:
    std::string outDir_;
    std::string target_;
    std::string temp_;
    bool replace_ = false;
};

// Copies or converts the pictures; false (and a report line) when one cannot be written.
bool WritePictures(const std::vector<PictureFile>& files, const std::string& folder,
                   std::vector<std::string>& problems) {
    bool ok = true;
    for (const PictureFile& file : files) {
        std::string target = folder + "/" + file.Target;
        if (file.ConvertToJpeg) {
            QImage image;
            if (!image.load(QString::fromLocal8Bit(file.Source.c_str())) ||
                !image.save(QString::fromLocal8Bit(target.c_str()), "JPG", 90)) {
                problems.push_back("picture " + file.Source + ": cannot be converted to JPEG");
                ok = false;
            }
            continue;
        }
        std::error_code error;
        if (!fs::copy_file(file.Source, target, fs::copy_options::overwrite_existing, error)) {
            problems.push_back("picture " + file.Source + ": " + error.message());
            ok = false;
        }
    }
    return ok;
}

void PrintList(std::ostream& out, const char* heading, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    out << heading << "\n";
    for (const std::string& line : lines)
        out << "  " << KeyTextToUtf8(line) << "\n";
}

}  // namespace

int RunImportDelta(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return 0;
        }
        if (arg == "--version") {
            out << "vorn-import-delta " << VORN_VERSION << "\n";
            return 0;
        }
    }
    try {
        Arguments a = ParseArguments(args);
        std::string datasetDir = a.dataset;
        if (!DirectoryExists(datasetDir)) throw Failure{2, a.dataset + ": no such folder"};
        datasetDir = ResolveFileName(datasetDir);

        Dataset dataset;
        const std::pair<const char*, DeltaFile> needed[] = {
            {"specs", DeltaFile::Specs}, {"chars", DeltaFile::Chars}, {"items", DeltaFile::Items}};
        for (const auto& [name, file] : needed) {
            std::string path = FindInFolder(datasetDir, name);
            if (path.empty()) throw Failure{2, datasetDir + "/" + name + ": not found"};
            try {
                ReadFile(file, path, name, dataset);
            } catch (const IoError& e) {
                throw Failure{2, e.what()};
            }
        }
        std::string keyStates =
            a.keyStates.empty() ? FindInFolder(datasetDir, "tokey") : a.keyStates;
        if (!a.keyStates.empty() && !FileExists(a.keyStates)) {
            throw Failure{2, a.keyStates + ": not found"};
        }
        std::vector<std::string> problems;
        try {
            if (!keyStates.empty()) {
                ReadFile(DeltaFile::KeyStates, keyStates, fs::path(keyStates).filename().string(),
                         dataset);
            }
            if (std::string path = FindInFolder(datasetDir, "timages"); !path.empty()) {
                ReadFile(DeltaFile::Images, path, "timages", dataset);
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

        std::vector<std::string> pictureProblems;
        auto plan = PlanPictures(
            dataset,
            [&](const std::string& name) {
                std::string path = FindInFolder(datasetDir, name);
                return path.empty() ? FindInFolder(datasetDir + "/images", name) : path;
            },
            pictureProblems);
        std::vector<bool> hasImage(plan.size());
        for (size_t i = 0; i < plan.size(); ++i)
            hasImage[i] = !plan[i].empty();

        ConvertOptions options;
        options.Name = a.name;
        options.Title = FromCommandLine(a.title);
        options.Credit = FromCommandLine(a.credit);
        options.DatasetName =
            fs::path(AbsolutePath(datasetDir)).lexically_normal().filename().string();
        if (options.DatasetName.empty()) {
            options.DatasetName = fs::path(AbsolutePath(datasetDir))
                                      .lexically_normal()
                                      .parent_path()
                                      .filename()
                                      .string();
        }
        Conversion key = Convert(dataset, options, hasImage);
        if (key.TooManyItems) {
            throw Failure{1, "the dataset has " + std::to_string(key.ItemCount) +
                                 " items; a key holds at most 1200"};
        }
        if (key.NoStates) {
            throw Failure{1, key.ItemCount == 0 ? "the dataset has no items"
                                                : "no character of the dataset gives states"};
        }

        // Never into the dataset: OUT_DIR must not be it or lie inside it.
        std::string outAbs = AbsolutePath(a.outDir), dataAbs = AbsolutePath(datasetDir);
        std::error_code error;
        fs::path outReal = fs::weakly_canonical(outAbs, error);
        fs::path dataReal = fs::weakly_canonical(dataAbs, error);
        std::string o = outReal.string() + "/", d = dataReal.string() + "/";
        if (o.compare(0, d.size(), d) == 0) {
            throw Failure{
                2, a.outDir + " lies in the dataset folder; the dataset is never written to"};
        }

        KeyFolder folder(a.outDir, a.name);
        try {
            WriteKeyFiles(folder.Path(), key.Key);
            for (const auto& [name, bytes] : key.Notes)
                WriteWholeFile(folder.Path() + "/" + name, bytes);
        } catch (const IoError& e) {
            throw Failure{1, e.what()};
        }
        int pictures = 0;
        for (const std::vector<PictureFile>& files : plan) {
            WritePictures(files, folder.Path(), pictureProblems);
            pictures += static_cast<int>(files.size());
        }
        folder.Commit();

        out << "Read " << key.ItemCount << " items and " << key.CharacterCount
            << " characters from " << a.dataset << "\n";
        out << "Wrote the key " << a.name << " to " << a.outDir << ": " << key.Key.Taxa.size()
            << " taxa, " << key.Key.States.size() << " character states from "
            << key.CharactersWithStates << " characters, " << key.Notes.size() << " notes files, "
            << pictures << " picture files\n";
        PrintList(out, "Left out:", key.LeftOut);
        problems.insert(problems.end(), dataset.Problems.begin(), dataset.Problems.end());
        PrintList(out, "Lines that could not be read (left out):", problems);
        PrintList(out, "Values that could not be read (coded as unknown):", key.Unreadable);
        PrintList(out, "Pictures:", pictureProblems);
        return 0;
    } catch (const Failure& failure) {
        err << "vorn-import-delta: " << failure.message << (failure.usage ? " (try --help)" : "")
            << "\n";
        return failure.status;
    }
}

}  // namespace vorn::delta
