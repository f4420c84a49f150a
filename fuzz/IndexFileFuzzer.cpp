// The index file reader on any bytes: it never throws, keeps the table and the layout
// within their limits, places every button inside the window it sizes, and reads the
// same file the same way twice.
#include <set>
#include <string>

#include "core/key/IndexFile.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"

namespace vorn {
namespace {

void CheckLayout(const IndexLayout& layout, const IndexTableType& table) {
    FUZZ_CHECK(layout.Headings.size() <= static_cast<size_t>(MaxIndexColumns),
               "no more columns than the limit");
    FUZZ_CHECK(layout.Buttons.size() <= static_cast<size_t>(MaxIndexEntries),
               "no more buttons than entries in the table");
    FUZZ_CHECK(layout.Notice.empty() || layout.Notice.rfind("The index file \"", 0) == 0,
               "a notice names the file");
    std::set<int32_t> entries;
    for (const IndexButtonPlace& button : layout.Buttons) {
        FUZZ_CHECK(button.Entry >= 0 && button.Entry < MaxIndexEntries, "a button's entry exists");
        FUZZ_CHECK(entries.insert(button.Entry).second, "one button per entry");
        const IndexEntry& entry = table[static_cast<size_t>(button.Entry)];
        FUZZ_CHECK(entry.Caption.has_value(), "a button's entry has its caption");
        FUZZ_CHECK(entry.RangeCount >= 0 && entry.RangeCount <= MaxEntryRanges,
                   "an entry holds at most its ranges");
        FUZZ_CHECK(!entry.ImageName || entry.ImageName->size() <= 100,
                   "an image name is cut as every file name");
        FUZZ_CHECK(button.Left >= IndexMargin && button.Width >= 0 &&
                       button.Left + button.Width <= layout.ClientWidth - IndexMargin,
                   "a button lies within the window's width");
        FUZZ_CHECK(
            button.Top >= IndexFirstButtonTop && button.Top + IndexRowHeight <= layout.ClientHeight,
            "a button lies within the window's height");
    }
    for (size_t i = 0; i < table.size(); ++i) {
        if (!entries.count(static_cast<int32_t>(i))) {
            FUZZ_CHECK(!table[i].Caption && !table[i].ImageName && table[i].RangeCount == 0,
                       "an entry without a button stays empty");
        }
    }
    FUZZ_CHECK(layout.ClientWidth >= 2 * IndexMargin &&
                   layout.ClientWidth <=
                       2 * IndexMargin + MaxIndexColumns * 2 * MaxColumnChars * IndexCharWidth,
               "the window's width is bounded");
    FUZZ_CHECK(layout.ClientHeight >= IndexFirstButtonTop &&
                   layout.ClientHeight <= IndexFirstButtonTop + MaxIndexEntries * IndexRowStep,
               "the window's height is bounded");
}

}  // namespace
}  // namespace vorn

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    std::string path =
        fuzz::WriteWorkFile("INDEX.IDX", {reinterpret_cast<const char*>(data), size});
    static IndexTableType table, again;
    IndexLayout layout = ReadIndexFile(path, table);
    CheckLayout(layout, table);

    IndexLayout second = ReadIndexFile(path, again);
    FUZZ_CHECK(second.Buttons.size() == layout.Buttons.size() &&
                   second.Headings.size() == layout.Headings.size() &&
                   second.ClientWidth == layout.ClientWidth &&
                   second.ClientHeight == layout.ClientHeight && second.Notice == layout.Notice &&
                   static_cast<bool>(second.Error) == static_cast<bool>(layout.Error),
               "a file reads the same way twice");
    for (size_t i = 0; i < table.size(); ++i) {
        FUZZ_CHECK(table[i].Caption == again[i].Caption && table[i].ImageName == again[i].ImageName,
                   "a file fills the same table twice");
    }
    return 0;
}
