// The whole state texts reader on any bytes as a key's NAME.CHL: the first byte gives the
// key's number of states (0 to 255), the rest is the file. The texts serve exactly when the
// file has one line per state, and then they are its lines, cut at the limit; reading the
// file gives what its bytes give.
#include <string>
#include <vector>

#include "core/key/WholeStateTexts.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/LineSplit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    if (size == 0) return 0;
    const int32_t states = data[0];
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    WholeStateTexts texts = WholeStateTextsOf(bytes, false, "FUZZ.CHL", states);

    std::vector<std::string> lines = fuzz::SplitLines(bytes);
    bool serves = lines.size() == static_cast<size_t>(states);
    FUZZ_CHECK(texts.Problem.empty() == serves, "the texts serve exactly at one line per state");
    FUZZ_CHECK(serves || texts.Texts.empty(), "texts that do not serve are not kept");
    if (serves) {
        for (size_t i = 0; i < lines.size(); ++i) {
            FUZZ_CHECK(texts.Texts[i] == lines[i].substr(0, kMaxWholeStateText),
                       "each text is its line, cut at the limit");
        }
    }

    WholeStateTexts read = ReadWholeStateTexts(fuzz::WriteWorkFile("FUZZ.CHL", bytes), states);
    FUZZ_CHECK(read.Texts == texts.Texts, "reading the file gives what its bytes give");
    return 0;
}
