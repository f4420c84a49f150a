#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vorn {

// A settings file in the INI format with the semantics of the old private-profile
// functions: sections and keys are found ignoring letter case, values are raw (no
// quoting or escaping, so paths stay readable; blanks around them are dropped), a value
// is cut at 2047 characters when read, a section can be erased. CR LF, LF and a lone CR
// end lines and a UTF-8 byte-order mark at the start is skipped; lines are written back
// ending in LF, so saving an unchanged profile twice gives the same bytes. Lines the
// reader does not understand are kept as they were. Saving goes through
// WriteFileAtomically, so a crash or a full disk never loses the previous file.
class PrivateProfile {
public:
    static constexpr size_t kMaxValue = 2047;

    // Reads `path`; a missing or unreadable file, or anything but an ordinary file (a
    // pipe is not waited for), gives an empty profile.
    explicit PrivateProfile(std::string path);

    const std::string& Path() const { return path_; }
    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
    void Set(const std::string& section, const std::string& key, const std::string& value);
    void EraseSection(const std::string& section);
    // Writes the file (creating its folder), through a symbolic link to its target.
    // Throws IoError naming the file and the reason; the old file then stays whole.
    void Save() const;

private:
    // [begin, end) line range of a section's body, and its header line; npos when absent.
    struct Range {
        size_t header, begin, end;
    };
    std::optional<Range> Find(const std::string& section) const;

    std::string path_;
    std::vector<std::string> lines_;
};

}  // namespace vorn
