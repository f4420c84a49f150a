#include "publish/Publish.h"

#include <filesystem>
#include <new>
#include <optional>
#include <ostream>
#include <set>

#include "core/key/PackedCodes.h"
#include "core/platform/Directory.h"
#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/Messages.h"
#include "core/platform/Text.h"
#include "core/platform/WholeFile.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "publish/KeyPage.h"
#include "publish/Offline.h"
#include "publish/PublishedFolder.h"

namespace vorn::publish {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "vorn-publish";

constexpr const char* kUsage =
    "usage: vorn-publish KEY.DES OUTDIR [--force] [--title TEXT]\n"
    "\n"
    "Publishes an identification key as a folder of web files that any web server can\n"
    "serve: a page that identifies in the browser with VORN's own engine, the key's data,\n"
    "its notes and its pictures. Serve OUTDIR with a web server and open its index.html\n"
    "(browsers run no WebAssembly page opened as a file).\n"
    "Options:\n"
    "  --force        replace a key published in OUTDIR before: exactly the files that\n"
    "                 run listed in OUTDIR/.vorn-published, and no other\n"
    "  --title TEXT   the page's title (by default the first line of the key's title page)\n"
    "Exit status: 0 published (pictures and notes the key names but does not hold are\n"
    "listed); 1 the key cannot be published (it cannot be opened, the web engine is not\n"
    "installed, or a file cannot be written); 2 bad usage, or OUTDIR cannot be taken (a\n"
    "file, a folder that is not empty without --force, or files vorn-publish did not\n"
    "write).\n";

// What the page is kept offline by, written for each key: the web app manifest (the
// key's title as the app's name) and the plan the service worker imports.
constexpr const char* kManifest = "manifest.webmanifest";
constexpr const char* kOfflineScript = "offline.js";
// The service worker itself, a page file: the browser fetches it to learn of a new
// publication, so it is never kept with the files it keeps.
constexpr const char* kServiceWorker = "sw.js";

// A picture is copied whole; one larger than this is no picture for a web page.
constexpr size_t kMaxPictureBytes = 64 << 20;

// Messages the core would show in a window: kept, to tell in one line why a key failed.
class KeptMessages : public UserInterface {
public:
    KeptMessages() : previous_(SetUserInterface(this)) {}
    ~KeptMessages() override { SetUserInterface(previous_); }
    void ShowMessage(MessageKind, const std::string& text) override {
        if (!Text.empty()) Text += "  ";
        Text += text;
    }
    bool AskYesNo(MessageKind kind, const std::string& text, QuestionCheckBox*) override {
        ShowMessage(kind, text);
        return true;
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    bool PrintDocument(const PrintRequest&) override { return false; }
    std::string Text;

private:
    UserInterface* previous_;
};

using Options = PublishRequest;

Options ParseArgs(const std::vector<std::string>& args) {
    Options options;
    std::vector<std::string> positional;
    bool titleGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--force") {
            options.Force = true;
        } else if (arg == "--title" || arg.rfind("--title=", 0) == 0) {
            if (arg == "--title") {
                if (i + 1 >= args.size()) throw Failure{2, "--title needs a value", true};
                options.Title = args[++i];
            } else {
                options.Title = arg.substr(8);
            }
            titleGiven = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw Failure{2, "unknown option \"" + arg + "\"", true};
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) throw Failure{2, "expects KEY.DES OUTDIR", true};
    if (titleGiven && options.Title.empty()) throw Failure{2, "--title needs a text", true};
    options.Key = positional[0];
    options.OutDir = positional[1];
    if (options.Key.empty() || options.OutDir.empty())
        throw Failure{2, "expects KEY.DES OUTDIR", true};
    return options;
}

// A file every published key shares: its path in the published folder and where it is.
struct SharedFile {
    std::string Path, Source;
};

// The page's files and the engine, from `webFolder`; Failure (status 1) when the engine
// or the page is missing.
std::vector<SharedFile> SharedFiles(const std::string& webFolder) {
    std::vector<SharedFile> files;
    for (const char* engine : {"vorn-engine.js", "vorn-engine.wasm"}) {
        std::string source = webFolder + "engine/" + engine;
        if (!fs::is_regular_file(source)) {
            throw Failure{1, "the web engine is not installed: " + source +
                                 " is missing (VORN was built without emscripten; see VORN_WEB "
                                 "in the README)"};
        }
        files.push_back({std::string("engine/") + engine, source});
    }
    std::string page = webFolder + "page/";
    if (!fs::is_regular_file(page + "index.html"))
        throw Failure{1, "the web page is not installed: " + page + "index.html is missing"};
    std::error_code error;
    for (fs::recursive_directory_iterator it(page, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file()) continue;
        std::string path = fs::relative(it->path(), page).generic_string();
        if (!IsPublishedPath(path) || path == kPublishedList || path == kManifest ||
            path == kOfflineScript || path.rfind("key/", 0) == 0 || path.rfind("engine/", 0) == 0)
            throw Failure{1, "the web page's file " + it->path().string() + " cannot be published"};
        files.push_back({path, it->path().string()});
    }
    if (error)
        throw Failure{1, "cannot read the web page's folder " + page + ": " + error.message()};
    return files;
}

std::string WithThousands(uint64_t n) {
    std::string digits = std::to_string(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

void PrintList(std::ostream& out, const char* heading, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    out << heading << "\n";
    for (const std::string& line : lines)
        out << "  " << ReplaceControls(line) << "\n";
}

void Publish(const Options& options, const std::string& webFolder, std::ostream& out) {
    std::vector<SharedFile> shared = SharedFiles(webFolder);
    std::string keyPath = AbsolutePath(options.Key);
    std::string outDir = AbsolutePath(options.OutDir);
    if (DirectoryExists(keyPath))
        throw Failure{2, options.Key + " is a folder, not the .DES file of a key"};

    Session session;
    KeptMessages messages;
    KeyPage page;
    try {
        OpenKey(session, keyPath);
        if (!session.Key.KeyOpen) {
            throw Failure{1, "the key " + options.Key + " cannot be opened" +
                                 (messages.Text.empty() ? std::string() : ": " + messages.Text)};
        }
        page = ReadKeyPage(session, options.Title);
    } catch (const IoError& error) {
        throw Failure{1, error.what()};
    }

    std::vector<std::string> planned;
    for (const SharedFile& file : shared)
        planned.push_back(file.Path);
    planned.push_back(page.CodesPath);
    for (const PageFile& notes : page.Notes)
        planned.push_back(notes.Path);
    for (const PagePicture& picture : page.Pictures)
        planned.push_back(picture.Path);
    planned.push_back("key/key.json");
    planned.push_back(kManifest);
    planned.push_back(kOfflineScript);

    OutputFolder folder(outDir, options.Force, planned);
    folder.Begin();
    size_t done = 0;
    auto wrote = [&] {
        if (options.Progress && !options.Progress(++done, planned.size()))
            throw Failure{1, kPublishCancelled};
    };
    auto copy = [&](const std::string& source, size_t limit) {
        FileBytes bytes = ReadWholeFile(source, limit);
        if (bytes.More)
            throw IoError(source, "read", "it is larger than " + WithThousands(limit) + " bytes");
        return bytes.Bytes;
    };
    PublicationDigest digest;
    OfflinePlan offline;
    auto write = [&](const std::string& path, FileParts parts) {
        folder.Write(path, parts);
        digest.Add(path, parts);
        wrote();
    };
    try {
        for (const SharedFile& file : shared) {
            write(file.Path, {copy(file.Source, kNoSizeLimit)});
            if (file.Path != kServiceWorker) offline.Shell.push_back(file.Path);
        }
    } catch (const IoError& error) {
        throw Failure{1, error.what()};
    }
    PackedCodesParts codes = PackCodesInParts(session.Key.Codes);
    write(page.CodesPath, {codes.Header, codes.Planes});
    offline.Shell.push_back(page.CodesPath);
    uint64_t notesBytes = 0, pictureBytes = 0;
    for (const PageFile& notes : page.Notes) {
        write(notes.Path, {notes.Bytes});
        offline.Later.emplace_back(notes.Path, notes.Bytes.size());
        notesBytes += notes.Bytes.size();
    }
    std::set<std::string> written;
    for (const PagePicture& picture : page.Pictures) {
        try {
            std::string bytes = copy(picture.Source, kMaxPictureBytes);
            write(picture.Path, {bytes});
            offline.Later.emplace_back(picture.Path, bytes.size());
            written.insert(picture.Path);
            pictureBytes += bytes.size();
        } catch (const IoError& error) {
            page.Notices.push_back("picture " + picture.Name +
                                   " not published: " + FileNameToUtf8(error.what()));
        }
    }
    std::string json = page.KeyJson(written);
    write("key/key.json", {json});
    offline.Shell.push_back("key/key.json");
    write(kManifest, {WebManifest(page.Title, page.Title.size() <= 12 ? page.Title : page.Name)});
    offline.Shell.push_back(kManifest);
    offline.Version = digest.Hex();
    folder.Write(kOfflineScript, OfflineScript(offline));
    wrote();

    uint64_t data = codes.Size() + json.size();
    out << "Published the key " << ReplaceControls(page.Name) << " to " << FileNameToUtf8(outDir)
        << ": " << page.Taxa << " taxa, " << page.States << " states, " << page.Notes.size()
        << " notes files, " << written.size() << " pictures\n";
    out << "The key's data: " << WithThousands(data) << " bytes (codes "
        << WithThousands(codes.Size()) << ", texts " << WithThousands(json.size()) << "); notes "
        << WithThousands(notesBytes) << " bytes, pictures " << WithThousands(pictureBytes)
        << " bytes\n";
    PrintList(out, "Named by the key but not in its folder (the page shows none for them):",
              page.Missing);
    PrintList(out, "Names refused, as they would lead out of the key's folder:", page.Refused);
    PrintList(out, "Also noticed:", page.Notices);
    out << "Serve " << FileNameToUtf8(outDir)
        << " with a web server and open its index.html; a browser runs no WebAssembly page "
           "opened as a file.\n";
}

}  // namespace

int RunPublish(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::string& webFolder) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return 0;
        }
        if (arg == "--version") {
            out << kProgram << " " << VORN_VERSION << "\n";
            return 0;
        }
    }
    try {
        return PublishKey(ParseArgs(args), out, err, webFolder);
    } catch (const Failure& failure) {
        err << kProgram << ": " << ReplaceControls(failure.Message)
            << (failure.Usage ? " (try --help)" : "") << "\n";
        return failure.Status;
    }
}

int PublishKey(const PublishRequest& request, std::ostream& out, std::ostream& err,
               const std::string& webFolder) {
    try {
        Publish(request, webFolder, out);
        return 0;
    } catch (const std::bad_alloc&) {
        err << kProgram << ": not enough memory to publish the key\n";
        return 1;
    } catch (const Failure& failure) {
        err << kProgram << ": " << ReplaceControls(FileNameToUtf8(failure.Message))
            << (failure.Usage ? " (try --help)" : "") << "\n";
        return failure.Status;
    }
}

}  // namespace vorn::publish
