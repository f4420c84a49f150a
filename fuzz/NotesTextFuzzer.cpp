// The notes text reader on any bytes as a notes file: the text shown is the file's lines
// joined with LF, decoded to UTF-8, up to the line limit, and it tells exactly when it
// left lines out. Reading the file gives what the bytes give.
#include <string>
#include <vector>

#include "core/key/NotesText.h"
#include "core/platform/IoError.h"
#include "core/platform/Text.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/LineSplit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    NotesText notes = NotesTextOf(bytes, false);
    FUZZ_CHECK(IsUtf8(notes.Text), "the text is UTF-8");
    FUZZ_CHECK(notes.Text.find('\r') == std::string::npos, "no CR is left in the text");

    std::vector<std::string> lines = fuzz::SplitLines(bytes);
    bool cut = lines.size() > static_cast<size_t>(kMaxNotesLines);
    FUZZ_CHECK(notes.Cut == cut, "the text is said to be cut exactly when lines were left out");
    if (cut) lines.resize(kMaxNotesLines);
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i)
        joined += (i > 0 ? "\n" : "") + lines[i];
    FUZZ_CHECK(notes.Text == KeyTextToUtf8(joined), "the text is the file's lines");

    if (size <= kMaxNotesBytes) {
        NotesText read;
        try {
            read = ReadNotesText(fuzz::WriteWorkFile("NOTES.TXT", bytes));
        } catch (const IoError&) {
            FUZZ_CHECK(false, "a readable notes file is read without error");
        }
        FUZZ_CHECK(read.Text == notes.Text && read.Cut == notes.Cut,
                   "reading the file gives what its bytes give");
    }
    return 0;
}
