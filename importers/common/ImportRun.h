#pragma once

#include <ostream>
#include <string>
#include <vector>

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

// Prints `heading` and the lines under it (UTF-8), indented; nothing when there are none.
// Control characters are printed as U+FFFD.
void PrintList(std::ostream& out, const char* heading, const std::vector<std::string>& lines);

}  // namespace vorn::import
