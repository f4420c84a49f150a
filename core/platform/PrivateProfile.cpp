#include "core/platform/PrivateProfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/platform/AtomicFile.h"
#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/Text.h"
#include "core/platform/WholeFile.h"

namespace vorn {
namespace {

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

// The section name of a header line "[name]", or nothing.
std::optional<std::string> HeaderName(const std::string& line) {
    std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') return std::nullopt;
    size_t close = trimmed.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

// Key and value of a line "key=value", or nothing.
std::optional<std::pair<std::string, std::string>> Entry(const std::string& line) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) return std::nullopt;
    std::string key = Trim(line.substr(0, equals));
    if (key.empty() || key[0] == ';') return std::nullopt;
    return std::make_pair(key, Trim(line.substr(equals + 1)));
}

// Creates the folder and those above it; false with errno set when one cannot be made.
bool MakeDirectories(const std::string& dir) {
    for (size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos == dir.size() || dir[pos] == '/') {
            std::string part = dir.substr(0, pos);
            if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        }
    }
    return true;
}

// The whole file, or nothing when it is missing, not an ordinary file or unreadable.
// Opening does not wait: a pipe of that name must not block the program.
std::string ReadSettingsText(const std::string& path) {
    try {
        return ReadOpenFile(OpenOrdinaryFile(path), path).Bytes;
    } catch (const IoError&) {
        return {};
    }
}

}  // namespace

PrivateProfile::PrivateProfile(std::string path) : path_(std::move(path)) {
    std::string text = ReadSettingsText(path_);
    // Byte-order marks are not written back, so every one at the start is skipped: one
    // left would become the start of the file at the next save and be skipped then.
    size_t pos = 0;
    while (text.compare(pos, 3, "\xEF\xBB\xBF") == 0)
        pos += 3;
    // CR LF, LF and a lone CR all end a line, so no CR stays in a line to be written
    // back differently at the next save.
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        lines_.push_back(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size()) {
            bool cr = text[pos] == '\r';
            ++pos;
            if (cr && pos < text.size() && text[pos] == '\n') ++pos;
        }
    }
}

std::optional<PrivateProfile::Range> PrivateProfile::Find(const std::string& section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::optional<std::string> name = HeaderName(lines_[i]);
        if (!name || !EqualIgnoringCase(*name, section)) continue;
        size_t end = i + 1;
        while (end < lines_.size() && !HeaderName(lines_[end]))
            ++end;
        return Range{i, i + 1, end};
    }
    return std::nullopt;
}

std::optional<std::string> PrivateProfile::Get(const std::string& section,
                                               const std::string& key) const {
    std::optional<Range> range = Find(section);
    if (!range) return std::nullopt;
    for (size_t i = range->begin; i < range->end; ++i) {
        auto entry = Entry(lines_[i]);
        if (entry && EqualIgnoringCase(entry->first, key)) {
            std::string value = entry->second;
            if (value.size() > kMaxValue) value.resize(kMaxValue);
            return value;
        }
    }
    return std::nullopt;
}

void PrivateProfile::Set(const std::string& section, const std::string& key,
                         const std::string& value) {
    // A line break in a value would start a new line of the file.
    std::string clean = value.substr(0, value.find_first_of("\r\n"));
    std::optional<Range> range = Find(section);
    if (!range) {
        if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.push_back("");
        lines_.push_back("[" + section + "]");
        lines_.push_back(key + "=" + clean);
        return;
    }
    size_t last = range->header;
    for (size_t i = range->begin; i < range->end; ++i) {
        auto entry = Entry(lines_[i]);
        if (!entry) continue;
        if (EqualIgnoringCase(entry->first, key)) {
            lines_[i] = entry->first + "=" + clean;
            return;
        }
        last = i;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1), key + "=" + clean);
}

void PrivateProfile::EraseSection(const std::string& section) {
    while (std::optional<Range> range = Find(section)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
    }
}

void PrivateProfile::Save() const {
    size_t slash = path_.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(path_.substr(0, slash))) {
        throw IoError(path_, "write", std::strerror(errno));
    }
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\n";
    WriteFileAtomically(path_, text);
}

}  // namespace vorn
