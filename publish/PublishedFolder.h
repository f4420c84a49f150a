#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::publish {

// A file's bytes in parts, written one after the other.
using FileParts = std::initializer_list<std::string_view>;

// What stops vorn-publish: its exit status and one line for the user.
struct Failure {
    int Status;
    std::string Message;
    bool Usage = false;  // bad usage: the line points to --help
};

// The list of what a run wrote, kept in the folder it wrote: --force replaces exactly
// these files and never another.
constexpr const char* kPublishedList = ".vorn-published";

// The text of the list: a remark line, then one path a line, relative to the folder,
// "/" between folders.
std::string PublishedListText(const std::vector<std::string>& paths);

// True when `path` may name a file of a publication: relative, "/" between folders,
// none of its parts empty, "." or "..", no "\" and no control character, at most 1,000
// bytes. What a list or the publisher gives is checked with it before any file is
// touched.
bool IsPublishedPath(std::string_view path);

// Reads a list (PublishedListText's form: lines starting with "#" are remarks, line ends
// LF or CR LF). Nothing, with `why` naming the first bad line, when a line is no
// IsPublishedPath or the list holds more than 100,000 paths.
std::optional<std::vector<std::string>> ReadPublishedList(std::string_view text, std::string* why);

// The folder a key is published into. Nothing is written outside it, nothing through a
// symbolic link, and no file is replaced that an earlier run did not write.
class OutputFolder {
public:
    // Checks the folder for writing the files `planned` (IsPublishedPath paths): a folder
    // that is missing is made (its parent must exist); one that holds anything is taken
    // only with `force`, and only when it holds an earlier run's list, readable, and none
    // of the planned files stands there unless that list names it. Throws Failure: 2 for
    // a folder that cannot be taken, 1 for one that cannot be made or read.
    OutputFolder(const std::string& outDir, bool force, const std::vector<std::string>& planned);

    // Removes what the earlier run listed (files and links, never what a link leads to;
    // then the folders it leaves empty) and writes the new list of `planned`, so that a
    // run that stops half way is replaced whole by the next. Throws Failure (status 1).
    void Begin();
    // Writes one of the planned files, making its folders. Throws Failure (status 1).
    void Write(const std::string& path, FileParts parts);
    void Write(const std::string& path, std::string_view bytes) { Write(path, {bytes}); }

    const std::string& Path() const { return dir_; }

private:
    std::string dir_;  // ends in "/"
    std::vector<std::string> planned_;
    std::vector<std::string> earlier_;
};

}  // namespace vorn::publish
