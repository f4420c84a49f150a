#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vorn {

// A settings file in the INI format with the semantics of the old private-profile
// functions: sections and keys are found ignoring letter case, values are raw (no
// quoting or escaping, so paths stay readable; blanks around them are dropped), a value
// is cut at 2047 characters when read, a section can be erased, CR LF or LF line ends
// are accepted. Lines the reader does not understand are kept as they were. Saving
// writes a temporary file and renames it, so a crash while writing never loses the
// previous file.
class PrivateProfile {
public:
    static constexpr size_t kMaxValue = 2047;

    // Reads `path`; a missing or unreadable file gives an empty profile.
    explicit PrivateProfile(std::string path);

    const std::string& Path() const { return path_; }
    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
    void Set(const std::string& section, const std::string& key, const std::string& value);
    void EraseSection(const std::string& section);
    // Writes the file (creating its folder); false when it cannot be written.
    bool Save() const;

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
