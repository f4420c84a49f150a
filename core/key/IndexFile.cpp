#include "core/key/IndexFile.h"

#include <algorithm>
#include <utility>

#include "core/platform/IoError.h"
#include "core/platform/Text.h"
#include "core/platform/TextFile.h"

namespace vorn {
namespace {

// Names are texts of at most 100 characters.
constexpr size_t kMaxNameLength = 100;

// Numbers in the file count states from 1. The most negative number stays as it is
// rather than overflowing.
int32_t ZeroBased(int32_t number) {
    return number == INT32_MIN ? number : number - 1;
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
    size_t begin = text.find_first_not_of(" \t");
    return begin == std::string_view::npos ? std::string_view() : text.substr(begin);
}

class IndexReader {
public:
    IndexReader(const std::string& fileName, IndexTableType& table, IndexLayout& layout)
        : fileName_(fileName), table_(table), layout_(layout) {}

    int32_t Columns() const { return static_cast<int32_t>(layout_.Headings.size()); }
    int32_t ColumnWidth() const { return width_; }
    int32_t Gap() const { return gap_; }
    int32_t Deepest() const { return deepest_; }

    void Read() {
        file_.Open(fileName_);
        int32_t columns = file_.ReadNumber(true);
        int line = file_.LineNumber();
        int32_t width = file_.ReadNumber(true);
        int widthLine = file_.LineNumber();
        int32_t gap = file_.ReadNumber(true);
        int gapLine = file_.LineNumber();
        file_.SkipLine();

        if (columns < 0) {
            Note("asks for " + std::to_string(columns) + " columns at line " +
                 std::to_string(line) + "; no columns are read.");
            columns = 0;
        } else if (columns > MaxIndexColumns) {
            Note("asks for " + std::to_string(columns) + " columns at line " +
                 std::to_string(line) + "; only the first " + std::to_string(MaxIndexColumns) +
                 " are read.");
            columns = MaxIndexColumns;
        }
        width = Bounded(width, "a column width of ", widthLine);
        gap = Bounded(gap, "a gap between columns of ", gapLine);
        width_ = width * IndexCharWidth;
        gap_ = gap * IndexCharWidth;

        int32_t x = IndexMargin;
        for (int32_t column = 0; column < columns; ++column) {
            if (!ReadColumn(x)) break;
            x += width_ + gap_;
        }
        file_.Close();
    }

private:
    // Reads one column at `x`; false when the table is full and reading stops.
    bool ReadColumn(int32_t x) {
        ExpectLine();
        auto heading = std::make_shared<const std::string>(file_.ReadLine());
        layout_.Headings.push_back({x, width_, *heading});
        int32_t count = file_.ReadNumber(true);
        int line = file_.LineNumber();
        file_.SkipLine();
        if (count < 0) {
            Note("asks for " + std::to_string(count) + " entries at line " + std::to_string(line) +
                 "; the column is left empty.");
            count = 0;
        }
        bool full = count > MaxIndexEntries - entry_;
        if (full) {
            Note("asks for more than " + std::to_string(MaxIndexEntries) + " entries at line " +
                 std::to_string(line) + "; the entries after that are left out.");
            count = MaxIndexEntries - entry_;
        }
        int32_t y = IndexFirstButtonTop;
        for (int32_t row = 0; row < count; ++row) {
            ReadEntry(heading, x, y);
            y += IndexRowStep;
            deepest_ = std::max(deepest_, row + 1);
        }
        return !full;
    }

    void ReadEntry(const std::shared_ptr<const std::string>& heading, int32_t x, int32_t y) {
        ExpectLine();
        std::string line = file_.ReadLine();
        std::string_view text = WithoutLeadingBlanks(line);
        // Kept only once its ranges are read: an entry cut short by the end of the file
        // has no button, so it leaves nothing in the table either.
        IndexEntry entry;
        entry.Number = entry_;
        size_t bar = text.find('|');
        if (bar != std::string_view::npos) {
            std::string_view image = text.substr(bar + 1);  // blanks and all, as written
            entry.ImageName = std::string(image.substr(0, kMaxNameLength));
            text = text.substr(0, bar);
        }
        entry.Heading = heading;
        entry.Text = std::string(text);
        ReadRanges(entry);
        table_.push_back(std::move(entry));
        layout_.Buttons.push_back({entry_, Columns() - 1, x, y, width_, std::string(text)});
        ++entry_;
    }

    void ReadRanges(IndexEntry& entry) {
        int32_t first = file_.ReadNumber(true);
        int line = file_.LineNumber();
        if (first >= 0) {
            entry.Ranges.push_back({ZeroBased(first), ZeroBased(file_.ReadNumber(true))});
        } else {
            int64_t ranges = -static_cast<int64_t>(first);
            if (ranges > MaxEntryRanges) {
                Note("asks for " + std::to_string(ranges) + " ranges of states at line " +
                     std::to_string(line) + "; only the first " + std::to_string(MaxEntryRanges) +
                     " are used.");
            }
            // Every pair is read, so that the numbers after the kept ones are not taken
            // for the next entry; the ranges grow pair by pair, as the file gives them.
            for (int64_t range = 0; range < ranges; ++range) {
                int32_t from = file_.ReadNumber(true);
                int32_t to = file_.ReadNumber(true);
                if (range < MaxEntryRanges)
                    entry.Ranges.push_back({ZeroBased(from), ZeroBased(to)});
            }
        }
        file_.SkipLine();
    }

    int32_t Bounded(int32_t chars, const std::string& what, int line) {
        int32_t bounded = std::clamp(chars, 0, MaxColumnChars);
        if (bounded != chars) {
            Note("asks for " + what + std::to_string(chars) + " characters at line " +
                 std::to_string(line) + "; " + std::to_string(bounded) + " is used instead.");
        }
        return bounded;
    }

    // Keeps the first notice only: one message is enough to send the user to the file.
    void Note(const std::string& text) {
        if (layout_.Notice.empty()) layout_.Notice = "The index file \"" + fileName_ + "\" " + text;
    }

    // A heading or entry line where the file has ended: the numbers before promised more.
    void ExpectLine() {
        if (file_.AtEnd()) {
            throw IoError(fileName_, "read",
                          "the file ends too early, at line " + std::to_string(file_.LineNumber()));
        }
    }

    const std::string& fileName_;
    IndexTableType& table_;
    IndexLayout& layout_;
    TextFile file_;
    int32_t width_ = 0;
    int32_t gap_ = 0;
    int32_t entry_ = 0;
    int32_t deepest_ = 0;
};

}  // namespace

IndexLayout ReadIndexFile(const std::string& fileName, IndexTableType& table) {
    table.clear();
    IndexLayout layout;
    IndexReader reader(fileName, table, layout);
    try {
        reader.Read();
    } catch (const IoError&) {
        layout.Error = std::current_exception();
    }
    // Sized to what was read: a file that ends early leaves no empty columns behind.
    int32_t columns = reader.Columns();
    layout.ClientWidth = 2 * IndexMargin;
    if (columns > 0) {
        layout.ClientWidth += columns * (reader.ColumnWidth() + reader.Gap()) - reader.Gap();
    }
    layout.ClientHeight = IndexFirstButtonTop + reader.Deepest() * IndexRowStep;
    layout.ColumnStep = reader.ColumnWidth() + reader.Gap();
    return layout;
}

}  // namespace vorn
