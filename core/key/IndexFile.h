#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

// The table of an index file: the entries of the Index window's buttons, read again
// each time that window is created. What no number in the file can push past: the
// table's 201 entries and 6 ranges per entry, and the bounds below that keep the window
// within reason.
constexpr int32_t MaxIndexEntries = 201;
constexpr int32_t MaxEntryRanges = 6;
// Every column can hold an entry, so no useful file has more columns than entries.
constexpr int32_t MaxIndexColumns = MaxIndexEntries;
// Column width and gap between columns, in characters.
constexpr int32_t MaxColumnChars = 100;

// The Index window's layout, in pixels.
constexpr int32_t IndexCharWidth = 6;  // one character of a column width or gap
constexpr int32_t IndexMargin = 10;    // left and right
constexpr int32_t IndexHeadingTop = 10;
constexpr int32_t IndexFirstButtonTop = 30;
constexpr int32_t IndexRowHeight = 20;  // headings and buttons
constexpr int32_t IndexRowStep = 26;

// States first to last, zero-based, inclusive.
struct EntryRange {
    int32_t First = 0;
    int32_t Last = -1;
};

struct IndexEntry {
    int32_t Number = 0;  // its place in the table
    int32_t RangeCount = 0;
    std::array<EntryRange, MaxEntryRanges> Ranges{};
    // Heading, ":  " and the entry's text; absent until the file is read.
    std::optional<std::string> Caption;
    // Present (possibly empty) when the entry line holds "|": what follows the first "|",
    // without blanks around it, cut to 100 characters as every file name is.
    std::optional<std::string> ImageName;

    // An entry whose first state is given as 0 in the file stands for no states at all,
    // whatever else follows; so does one without ranges.
    bool ListsNoStates() const { return RangeCount <= 0 || Ranges[0].First == -1; }
};

using IndexTableType = std::array<IndexEntry, MaxIndexEntries>;

// Where the window puts a heading label and an index button.
struct IndexHeadingPlace {
    int32_t Left = 0;
    int32_t Width = 0;
    std::string Text;  // bytes of the file
};
struct IndexButtonPlace {
    int32_t Entry = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    std::string Text;
};

// What reading an index file gives the window besides the table.
struct IndexLayout {
    std::vector<IndexHeadingPlace> Headings;
    std::vector<IndexButtonPlace> Buttons;
    // The window's client area, sized to the columns and the deepest column read.
    int32_t ClientWidth = 2 * IndexMargin;
    int32_t ClientHeight = IndexFirstButtonTop;
    // The first limit the file ran into, in words for the user, naming the file and the
    // line; empty when the file kept within every limit.
    std::string Notice;
    // The input/output error that ended the reading (a text where a number belongs, a
    // file cut short, a file that cannot be opened); null when the file was read to its
    // end. Everything before the error is in the table and the layout.
    std::exception_ptr Error;
};

// Clears `table` (no captions, no image names), then reads the index file `fileName`
// into it. The file is a first line with the number of columns, the column width and
// the gap in characters; then per column a heading line, a line with its number of
// entries, and per entry an entry line ("text" or "text|image name") followed by its
// states counted from 1: "first last", or "-n" and n pairs. Numbers may stand after
// blanks and line ends; the rest of a line after a group of numbers is ignored.
// Out-of-bounds numbers are reduced to the limits (see Notice); reading errors end the
// reading (see Error). Never throws IoError.
IndexLayout ReadIndexFile(const std::string& fileName, IndexTableType& table);

// Forgets every caption and image name and every range of the table.
void ClearIndexTable(IndexTableType& table);

}  // namespace vorn
