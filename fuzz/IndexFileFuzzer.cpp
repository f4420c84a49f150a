// The index file reader on any bytes: it never throws, keeps the table and the layout
// within their limits, holds no more than the file's own bytes can give (no number read
// from the file sets room aside), places every button inside the window it sizes, and
// reads the same file the same way twice.
#include <set>
#include <string>

#include "core/key/IndexFile.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"

namespace vorn {
namespace {

void CheckLayout(const IndexLayout& layout, const IndexTableType& table, size_t size) {
    FUZZ_CHECK(layout.Headings.size() <= static_cast<size_t>(MaxIndexColumns),
               "no more columns than the limit");
    FUZZ_CHECK(layout.Buttons.size() == table.size() &&
                   table.size() <= static_cast<size_t>(MaxIndexEntries),
               "one button per entry of the table, within the limit");
    FUZZ_CHECK(layout.Notice.empty() || layout.Notice.rfind("The index file \"", 0) == 0,
               "a notice names the file");
    // An entry takes at least an entry line and two numbers; a range two numbers.
    FUZZ_CHECK(table.size() * 4 <= size + 1, "entries bounded by the file's size");
    size_t ranges = 0, texts = 0;
    std::set<int32_t> entries;
    for (const IndexButtonPlace& button : layout.Buttons) {
        FUZZ_CHECK(button.Entry >= 0 && static_cast<size_t>(button.Entry) < table.size(),
                   "a button's entry exists");
        FUZZ_CHECK(entries.insert(button.Entry).second, "one button per entry");
        const IndexEntry& entry = table[static_cast<size_t>(button.Entry)];
        FUZZ_CHECK(entry.Number == button.Entry, "an entry is numbered by its place");
        FUZZ_CHECK(entry.Text == button.Text && entry.Heading, "a button shows its entry");
        FUZZ_CHECK(button.Column >= 0 &&
                       static_cast<size_t>(button.Column) < layout.Headings.size() &&
                       layout.Headings[static_cast<size_t>(button.Column)].Left == button.Left &&
                       layout.Headings[static_cast<size_t>(button.Column)].Text == *entry.Heading,
                   "a button stands under its column's heading");
        FUZZ_CHECK(entry.Ranges.size() <= static_cast<size_t>(MaxEntryRanges),
                   "an entry holds at most its ranges");
        FUZZ_CHECK(!entry.ImageName || entry.ImageName->size() <= 100,
                   "an image name is cut as every file name");
        ranges += entry.Ranges.size();
        texts += entry.Text.size() + entry.ImageName.value_or("").size();
        FUZZ_CHECK(button.Left >= IndexMargin && button.Width >= 0 &&
                       button.Left + button.Width <= layout.ClientWidth - IndexMargin,
                   "a button lies within the window's width");
        FUZZ_CHECK(
            button.Top >= IndexFirstButtonTop && button.Top + IndexRowHeight <= layout.ClientHeight,
            "a button lies within the window's height");
    }
    FUZZ_CHECK(ranges * 2 <= size + 1, "ranges bounded by the file's size");
    FUZZ_CHECK(texts <= size, "entry texts bounded by the file's size");
    FUZZ_CHECK(layout.ClientWidth >= 2 * IndexMargin &&
                   layout.ClientWidth <=
                       2 * IndexMargin + MaxIndexColumns * 2 * MaxColumnChars * IndexCharWidth,
               "the window's width is bounded");
    FUZZ_CHECK(layout.ClientHeight >= IndexFirstButtonTop &&
                   layout.ClientHeight <=
                       IndexFirstButtonTop + static_cast<int32_t>(table.size()) * IndexRowStep,
               "the window's height is that of the deepest column");
}

}  // namespace
}  // namespace vorn

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    std::string path =
        fuzz::WriteWorkFile("INDEX.IDX", {reinterpret_cast<const char*>(data), size});
    IndexTableType table, again;
    IndexLayout layout = ReadIndexFile(path, table);
    CheckLayout(layout, table, size);

    IndexLayout second = ReadIndexFile(path, again);
    FUZZ_CHECK(second.Buttons.size() == layout.Buttons.size() &&
                   second.Headings.size() == layout.Headings.size() &&
                   second.ClientWidth == layout.ClientWidth &&
                   second.ClientHeight == layout.ClientHeight && second.Notice == layout.Notice &&
                   static_cast<bool>(second.Error) == static_cast<bool>(layout.Error) &&
                   again.size() == table.size(),
               "a file reads the same way twice");
    for (size_t i = 0; i < table.size(); ++i) {
        FUZZ_CHECK(table[i].Caption() == again[i].Caption() &&
                       table[i].ImageName == again[i].ImageName &&
                       table[i].Ranges.size() == again[i].Ranges.size(),
                   "a file fills the same table twice");
    }
    return 0;
}
