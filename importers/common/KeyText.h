#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::import {

// Texts inside the importers are UTF-8; the key files hold Windows-1252, which VORN's
// windows show. These turn outside bytes into the one and the other into the key's.

// True when Qt's decoders (ICU) know the code page `name` ("cp1252", "cp437", "cp850",
// "latin1", "utf-8", ...).
bool IsKnownEncoding(const std::string& name);

// The bytes of a file as UTF-8. With `encoding` empty: as UTF-8 when they are valid
// UTF-8, else as Windows-1252; `readAsUtf8` (when given) tells which. Bytes that the code
// page does not define become U+FFFD.
std::string DecodeBytes(std::string_view bytes, const std::string& encoding,
                        bool* readAsUtf8 = nullptr);

// Windows-1252 text for the key's files. Characters it cannot hold, and control
// characters, become "?"; the writer counts them for the report.
class KeyTextWriter {
public:
    std::string operator()(std::string_view utf8);
    int Unwritable() const { return unwritable_; }

private:
    int unwritable_ = 0;
};

// The same without counting.
std::string ToWindows1252(std::string_view utf8);

// Command-line text as UTF-8: UTF-8 as it is, other bytes read as Windows-1252.
std::string FromCommandLine(std::string_view text);

// At most `bytes` bytes of UTF-8 `text`, never cutting a character in two.
std::string CutUtf8(std::string_view text, size_t bytes);

// Where a Windows-1252 file holds a byte 0x80-0x9F between two letters ("Hult\x82n"):
// a DOS code page's letter, most likely, in a file that mixes code pages. One line per
// place, "line N: "Hult?n"", at most `limit` of them.
std::vector<std::string> DosCodedPlaces(std::string_view bytes, size_t limit);

}  // namespace vorn::import
