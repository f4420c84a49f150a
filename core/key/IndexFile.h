#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

// The table of an index file: the entries of the Index window's buttons, read again
// each time that window is created. An index holds as many entries as a key can have
// characters, each of as many ranges as a key can have states; columns and column widths
// keep the window within what a window can measure. No number in the file makes the
// reader set aside room in advance: the table grows only by what the file holds.
constexpr int32_t MaxIndexEntries = 65535;
constexpr int32_t MaxEntryRanges = 65535;
// Columns of the widest width and gap: 10,000 of them stay within 12,000,000 pixels.
constexpr int32_t MaxIndexColumns = 10000;
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
    std::vector<EntryRange> Ranges;
    // The heading of its column, one text that the column's entries share, so that a
    // long heading over many entries takes its room once.
    std::shared_ptr<const std::string> Heading;
    // The entry line without its leading blanks and its image name (bytes of the file).
    std::string Text;
    // Present (possibly empty) when the entry line holds "|": what follows the first "|",
    // without blanks around it, cut to 100 characters as every file name is.
    std::optional<std::string> ImageName;

    // An entry whose first state is given as 0 in the file stands for no states at all,
    // whatever else follows; so does one without ranges.
    bool ListsNoStates() const { return Ranges.empty() || Ranges[0].First == -1; }
    // Heading, ":  " and the entry's text: the caption of its Subset window.
    std::string Caption() const { return (Heading ? *Heading : std::string()) + ":  " + Text; }
};

// The entries read, in file order: entry n is at place n.
using IndexTableType = std::vector<IndexEntry>;

// Where the window puts a heading label and an index button.
struct IndexHeadingPlace {
    int32_t Left = 0;
    int32_t Width = 0;
    std::string Text;  // bytes of the file
};
struct IndexButtonPlace {
    int32_t Entry = 0;
    int32_t Column = 0;  // the place of its heading in Headings
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
    // From one column's left edge to the next one's: the width and the gap.
    int32_t ColumnStep = 0;
    // The first limit the file ran into, in words for the user, naming the file and the
    // line; empty when the file kept within every limit.
    std::string Notice;
    // The input/output error that ended the reading (a text where a number belongs, a
    // file cut short, a file that cannot be opened); null when the file was read to its
    // end. Everything before the error is in the table and the layout.
    std::exception_ptr Error;
};

// Empties `table`, then reads the index file `fileName` into it. The file is a first line with the
// number of columns, the column width and the gap in characters; then per column a heading line, a
// line with its number of entries, and per entry an entry line ("text" or "text|image name")
// followed by its states counted from 1: "first last", or "-n" and n pairs. Numbers may stand after
// blanks and line ends; the rest of a line after a group of numbers is ignored.
// Out-of-bounds numbers are reduced to the limits (see Notice); reading errors end the
// reading (see Error). Never throws IoError.
IndexLayout ReadIndexFile(const std::string& fileName, IndexTableType& table);

}  // namespace vorn
