// The title page reader on any bytes as a .DES file: it reads every line up to its limit,
// each shown line is its file line without blanks at the ends, at most kMaxTitleLineBytes
// long, and a plain line is shown exactly as written.
#include <string>
#include <vector>

#include "core/key/TitlePage.h"
#include "core/platform/IoError.h"
#include "core/platform/Text.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/LineSplit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string path = fuzz::WriteWorkFile("TITLE.DES", bytes);
    std::vector<std::string> shown;
    try {
        shown = ReadTitlePage(path);
    } catch (const IoError&) {
        FUZZ_CHECK(false, "a readable title page is read without error");
    }
    std::vector<std::string> lines = fuzz::SplitLines(bytes);
    FUZZ_CHECK(shown.size() == std::min<size_t>(lines.size(), kMaxTitleLines),
               "every line up to the limit is read");
    for (size_t i = 0; i < shown.size(); ++i) {
        const std::string& line = shown[i];
        FUZZ_CHECK(line.size() <= kMaxTitleLineBytes, "a shown line is cut to its limit");
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos, "a line holds no line end");
        FUZZ_CHECK(line.empty() || line.back() != ' ', "no blank ends a line");
        FUZZ_CHECK(IsUtf8(KeyTextToUtf8(line)), "a line decodes to UTF-8");
        const std::string& raw = lines[i];
        bool plain = raw.size() <= kMaxTitleLineBytes && raw.find("(c)") == std::string::npos &&
                     TrimBlanks(raw).size() == raw.size() && (raw.empty() || raw[0] != '\x03');
        if (plain) FUZZ_CHECK(line == raw, "a plain line is shown as written");
    }
    return 0;
}
