// A published page's address on any bytes, against a small key: an address is applied
// whole or refused whole (one message, and the identification starts empty); one that is
// applied gives an address of its own that a fresh page restores to the same scores,
// groups and tolerance, and that names every step Undo can take back.
#include <cstdint>
#include <string>
#include <vector>

#include "core/key/CodeMatrix.h"
#include "core/key/PackedCodes.h"
#include "core/session/Modes.h"
#include "fuzz/Check.h"
#include "web/Address.h"
#include "web/WebSession.h"

namespace vorn {
namespace {

constexpr int32_t kTaxa = 70;
constexpr int32_t kStates = 12;

const std::string& PackedKey() {
    static const std::string packed = [] {
        std::vector<std::string> codes;
        for (int32_t s = 0; s < kStates; ++s) {
            std::string column;
            for (int32_t t = 0; t < kTaxa; ++t)
                column += "+-*?"[(s * 7 + t * 3 + s * t) % 4];
            codes.push_back(column);
        }
        CodeMatrix matrix;
        matrix.Assign(kTaxa, codes);
        return PackCodes(matrix);
    }();
    return packed;
}

std::string Scores(web::WebSession& page) {
    std::string text;
    for (int32_t s = 0; s < kStates; ++s)
        text += static_cast<char>('0' + page.Core().StateScore(s));
    return text;
}

}  // namespace
}  // namespace vorn

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    std::string input(reinterpret_cast<const char*>(data), size);
    // The bytes after a first newline are a second address, reached as Back or Forward.
    size_t newline = input.find('\n');
    std::string first = input.substr(0, newline);
    std::string second = newline == std::string::npos ? std::string() : input.substr(newline + 1);

    web::WebSession page;
    FUZZ_CHECK(page.Open("FUZZ", PackedKey()), "the test key opens");
    page.Act("+1");
    bool applied = page.Restore(first);
    std::vector<std::string> messages = page.TakeMessages();
    if (!applied) {
        FUZZ_CHECK(messages.size() == 1, "a refused address says so once");
        FUZZ_CHECK(Scores(page) == std::string(kStates, '0'), "a refused address leaves no score");
        FUZZ_CHECK(page.Core().Tolerance() == 0 && page.Address().empty(),
                   "a refused address starts the identification empty");
        FUZZ_CHECK(!page.Undo(), "a refused address leaves nothing to undo");
    }
    FUZZ_CHECK(page.Core().Tolerance() >= 0 && page.Core().Tolerance() <= kMenuTolerance,
               "the tolerance stays within the menu's");
    page.Navigate(second);
    page.TakeMessages();

    std::string address = page.Address();
    web::WebSession fresh;
    FUZZ_CHECK(fresh.Open("FUZZ", PackedKey()), "the test key opens again");
    FUZZ_CHECK(fresh.Restore(address), "the page's own address is always applied");
    FUZZ_CHECK(Scores(fresh) == Scores(page), "its address restores the same scores");
    FUZZ_CHECK(fresh.Groups() == page.Groups(), "its address restores the same groups");
    FUZZ_CHECK(fresh.Core().Tolerance() == page.Core().Tolerance(), "and the same tolerance");
    FUZZ_CHECK(fresh.Address() == address, "a restored address is written back unchanged");
    // Each entry of the address is one step: undoing them all leaves no score.
    while (page.Undo()) {
    }
    FUZZ_CHECK(Scores(page) == std::string(kStates, '0') && page.Groups().empty(),
               "undoing every step leaves nothing scored");
    FUZZ_CHECK(web::AddressText({}, page.Core().Tolerance()) == page.Address(),
               "with every step undone the address holds no action");
    return 0;
}
