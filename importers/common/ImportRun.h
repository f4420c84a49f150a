#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace vorn {
struct KeyContents;
}

namespace vorn::import {

// What stops an importer: its exit status and one line for the user.
struct Failure {
    int Status;
    std::string Message;
    bool Usage = false;  // bad usage: the line points to --help
};

// The folder that will become OUT_DIR is built beside it and renamed into place, so
// OUT_DIR holds the old key or the new one, never a mix. Throws Failure (status 2) when
// OUT_DIR's parent is missing, OUT_DIR is no folder, or it holds other files than a key
// NAME; status 1 when the folder beside it cannot be made. The destructor removes what
// was not committed.
class KeyFolder {
public:
    KeyFolder(const std::string& outDir, const std::string& name);
    ~KeyFolder();
    KeyFolder(const KeyFolder&) = delete;
    KeyFolder& operator=(const KeyFolder&) = delete;

    const std::string& Path() const { return temp_; }
    // Renames the new folder into place. Throws Failure (status 1).
    void Commit();

private:
    std::string outDir_;
    std::string target_;
    std::string temp_;
    bool replace_ = false;
};

// Throws Failure (status 2) when OUT_DIR is the folder `source` or lies inside it: the
// importers never write into what they read.
void CheckOutsideSource(const std::string& outDir, const std::string& source);

// Checks NAME, the key's base name: 1 to 96 bytes (with ".DES", the 100 of a key name),
// no "/", not "." or "..". Throws Failure (status 2, usage).
void CheckKeyName(const std::string& name);

// The file that `name` (a name written in a dataset: "\" or "/" between folders) stands
// for inside `folder`, found ignoring letter case; empty, with `why` set, when there is
// none or when it would lead out of the folder: an absolute path, a ".." component, or
// a symbolic link whose target lies outside. Only ordinary files are found.
std::string FileInFolder(const std::string& folder, const std::string& name, std::string* why);

// A picture of the key: a file to copy or to convert, and its name in the key's folder.
struct PictureFile {
    std::string Source;  // a path of the dataset
    std::string Target;  // a file name in the key's folder ("I0001.JPG", "I000101.GIF")
    bool ConvertToJpeg = false;
};

// Copies or converts the pictures into `folder`; a report line for each that cannot be
// written. Returns how many were written.
int WritePictures(const std::vector<PictureFile>& files, const std::string& folder,
                  std::vector<std::string>& problems);

// An importer's command line: the values of the options that take one ("--title T" or
// "--title=T"), and the three positional arguments. Throws Failure (status 2, usage) for
// an unknown option, an option without its value, or other than three positionals
// (`positionals` names them for the message, e.g. "DATASET_DIR OUT_DIR NAME"); the third
// is the key's name, checked with CheckKeyName.
struct CommandLine {
    std::vector<std::pair<std::string, std::string>> Options;  // in the order given
    std::string Source, OutDir, Name;
    // The value of `option`, the last given; empty when it was not.
    std::string Value(const std::string& option) const;
    // Every value of an option that may be given again, in order.
    std::vector<std::string> Values(const std::string& option) const;
};
CommandLine ParseCommandLine(const std::vector<std::string>& args,
                             const std::vector<std::string>& valueOptions, const char* positionals);

// The frame of an importer program called `program`: --help (with `usage`) and --version
// answered; otherwise `run`, whose Failure, or a lack of memory, is told in one line on
// `err`. Returns the exit status: 0 when `run` returned.
int RunImporter(const char* program, const char* usage, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err, const std::function<void()>& run);

// Writes a converted key's files and its other files (name, bytes) into `folder`; a
// failure to write is Failure (status 1).
void WriteKeyAndFiles(const std::string& folder, const vorn::KeyContents& key,
                      const std::vector<std::pair<std::string, std::string>>& files);

// The report's line of what was written, of the state texts written whole to NAME.CHL,
// and of the characters written as "?".
void PrintWritten(std::ostream& out, const std::string& name, const std::string& outDir,
                  const vorn::KeyContents& key, int charactersWithStates, size_t notes,
                  size_t pictures, int unwritable);

// Prints `heading` and the lines under it (UTF-8), indented; nothing when there are none.
// Control characters are printed as U+FFFD.
void PrintList(std::ostream& out, const char* heading, const std::vector<std::string>& lines);

}  // namespace vorn::import
