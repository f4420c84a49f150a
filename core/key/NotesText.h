#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorn {

// The text of a notes file as the notes window shows it.
struct NotesText {
    // UTF-8, lines joined with LF.
    std::string Text;
    // True when the file held more than is shown.
    bool Cut = false;
};

// Notes are a few kilobytes. A file far beyond that (a mistake, or not a notes file at
// all) is cut, so that it neither fills memory nor freezes the window's layout.
constexpr size_t kMaxNotesBytes = 1 << 20;
// Many short lines cost a text area far more than their bytes; they are cut as well.
constexpr int kMaxNotesLines = 20000;

// `bytes` split into lines at CR, LF or CR LF, at most kMaxNotesLines of them, decoded as
// the key's 8-bit text. A line end at the very end starts no further line. `more` tells
// that the file went on after these bytes.
NotesText NotesTextOf(std::string_view bytes, bool more);

// The first kMaxNotesBytes bytes of the notes file `fileName` (resolved as every key file
// is), as NotesTextOf makes them. Throws IoError when the file cannot be read.
NotesText ReadNotesText(const std::string& fileName);

}  // namespace vorn
