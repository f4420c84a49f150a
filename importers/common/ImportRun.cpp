#include "importers/common/ImportRun.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <QImage>
#include <QString>

#include "core/key/KeyFiles.h"
#include "core/key/KeyWriter.h"
#include "core/platform/Directory.h"
#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/Text.h"

namespace vorn::import {
namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxNameLength = 96;

bool InsideFolder(const fs::path& path, const fs::path& folder) {
    std::string p = path.string() + "/", f = folder.string();
    if (f.empty() || f.back() != '/') f += '/';
    return p.compare(0, f.size(), f) == 0;
}

QString PathToQt(const std::string& path) {
    return QString::fromLocal8Bit(path.c_str());
}

}  // namespace

KeyFolder::KeyFolder(const std::string& outDir, const std::string& name) : outDir_(outDir) {
    fs::path target = fs::path(outDir).lexically_normal();
    if (target.filename().empty()) target = target.parent_path();
    target_ = target;
    fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code error;
    if (!fs::is_directory(parent, error)) {
        throw Failure{2, "the folder " + parent.string() + " of " + outDir + " does not exist"};
    }
    if (fs::exists(target, error)) {
        if (!fs::is_directory(target, error))
            throw Failure{2, outDir + " exists and is not a folder"};
        bool empty = fs::is_empty(target, error);
        if (!empty && !FileExists(target.string() + "/" + name + ".DES")) {
            throw Failure{2, outDir + " holds other files and no key " + name +
                                 "; choose a new or empty folder"};
        }
        replace_ = true;
    }
    std::string pattern = (parent / ("." + target.filename().string() + ".new-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
        throw Failure{1, "cannot create a folder beside " + outDir + ": " + std::strerror(errno)};
    }
    temp_ = pattern;
}

KeyFolder::~KeyFolder() {
    std::error_code ignored;
    if (!temp_.empty()) fs::remove_all(temp_, ignored);
}

void KeyFolder::Commit() {
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

void CheckOutsideSource(const std::string& outDir, const std::string& source) {
    std::error_code error;
    fs::path out = fs::weakly_canonical(AbsolutePath(outDir), error);
    fs::path data = fs::weakly_canonical(AbsolutePath(source), error);
    if (InsideFolder(out, data)) {
        throw Failure{2, outDir + " lies in the folder " + source + "; it is never written to"};
    }
}

void CheckKeyName(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameLength || name.find('/') != std::string::npos ||
        name == "." || name == "..") {
        throw Failure{2,
                      "NAME must be a file name of 1 to " + std::to_string(kMaxNameLength) +
                          " characters without \"/\"",
                      true};
    }
}

std::string FileInFolder(const std::string& folder, const std::string& name, std::string* why) {
    return vorn::FileInFolder(folder, name, "the dataset", why);
}

int WritePictures(const std::vector<PictureFile>& files, const std::string& folder,
                  std::vector<std::string>& problems) {
    int written = 0;
    for (const PictureFile& file : files) {
        std::string target = folder + "/" + file.Target;
        if (file.ConvertToJpeg) {
            QImage image;
            if (!image.load(PathToQt(file.Source)) || !image.save(PathToQt(target), "JPG", 90)) {
                problems.push_back("picture " + FileNameToUtf8(file.Source) +
                                   ": cannot be converted to JPEG");
                continue;
            }
            ++written;
            continue;
        }
        std::error_code error;
        if (!fs::copy_file(file.Source, target, fs::copy_options::overwrite_existing, error)) {
            problems.push_back("picture " + FileNameToUtf8(file.Source) + ": " + error.message());
            continue;
        }
        ++written;
    }
    return written;
}

std::string CommandLine::Value(const std::string& option) const {
    std::string value;
    for (const auto& [name, given] : Options)
        if (name == option) value = given;
    return value;
}

std::vector<std::string> CommandLine::Values(const std::string& option) const {
    std::vector<std::string> values;
    for (const auto& [name, given] : Options)
        if (name == option) values.push_back(given);
    return values;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args,
                             const std::vector<std::string>& valueOptions,
                             const char* positionals) {
    CommandLine line;
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
        if (std::find(valueOptions.begin(), valueOptions.end(), option) != valueOptions.end()) {
            if (!hasValue) {
                if (i + 1 >= args.size()) throw Failure{2, option + " needs a value", true};
                value = args[++i];
            }
            line.Options.emplace_back(option, value);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw Failure{2, "unknown option \"" + arg + "\"", true};
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3) throw Failure{2, std::string("expects ") + positionals, true};
    line.Source = positional[0];
    line.OutDir = positional[1];
    line.Name = positional[2];
    CheckKeyName(line.Name);
    return line;
}

int RunImporter(const char* program, const char* usage, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err, const std::function<void()>& run) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << usage;
            return 0;
        }
        if (arg == "--version") {
            out << program << " " << VORN_VERSION << "\n";
            return 0;
        }
    }
    try {
        run();
        return 0;
    } catch (const std::bad_alloc&) {
        err << program << ": not enough memory to convert it\n";
        return 1;
    } catch (const Failure& failure) {
        err << program << ": " << failure.Message << (failure.Usage ? " (try --help)" : "") << "\n";
        return failure.Status;
    }
}

void WriteKeyAndFiles(const std::string& folder, const KeyContents& key,
                      const std::vector<std::pair<std::string, std::string>>& files) {
    try {
        WriteKeyFiles(folder, key);
        for (const auto& [name, bytes] : files)
            WriteWholeFile(folder + "/" + name, bytes);
    } catch (const IoError& e) {
        throw Failure{1, e.what()};
    }
}

void PrintWritten(std::ostream& out, const std::string& name, const std::string& outDir,
                  const KeyContents& key, int charactersWithStates, size_t notes, size_t pictures,
                  int unwritable) {
    out << "Wrote the key " << name << " to " << outDir << ": " << key.Taxa.size() << " taxa, "
        << key.States.size() << " character states from " << charactersWithStates << " characters, "
        << notes << " notes files, " << pictures << " picture files\n";
    if (!key.WholeStates.empty()) {
        size_t longer = static_cast<size_t>(
            std::count_if(key.WholeStates.begin(), key.WholeStates.end(),
                          [](const std::string& text) { return text.size() > StateRecordSize; }));
        out << longer << (longer == 1 ? " state text" : " state texts")
            << " longer than 80 bytes: whole in " << name << ".CHL, cut at a word in " << name
            << ".CHR\n";
    }
    if (unwritable > 0) {
        out << unwritable << (unwritable == 1 ? " character" : " characters")
            << " that Windows-1252 cannot hold written as \"?\"\n";
    }
}

void PrintList(std::ostream& out, const char* heading, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    out << heading << "\n";
    for (const std::string& line : lines)
        out << "  " << ReplaceControls(FileNameToUtf8(line)) << "\n";
}

}  // namespace vorn::import
