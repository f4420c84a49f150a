// A whole key from any bytes, then scoring on it. The input holds the key's four files
// and a list of actions, separated by "\n@@\n". Opening never yields a negative or
// oversized count; every name and text reads within its record; after every action the
// counts equal a brute-force recount from the file's bytes, and an action that fails
// (a short matrix file, or a read fault injected at a position the input picks) changes
// nothing at all.
#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/IoError.h"
#include "core/platform/RecordFile.h"
#include "core/session/OpenKey.h"
#include "core/session/Scoring.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"

namespace vorn {
namespace {

std::vector<std::string_view> SplitParts(std::string_view input) {
    std::vector<std::string_view> parts;
    constexpr std::string_view kSeparator = "\n@@\n";
    while (parts.size() < 4) {
        size_t at = input.find(kSeparator);
        if (at == std::string_view::npos) break;
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + kSeparator.size());
    }
    parts.push_back(input);
    parts.resize(5);
    return parts;
}

// The checks themselves need no coverage feedback: without it libFuzzer runs several
// times faster and steers by the program's code alone.
#if defined(__clang__)
#define VORN_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define VORN_NO_COVERAGE
#endif

// Everything an action may change, as raw bytes.
VORN_NO_COVERAGE std::string EngineState() {
    auto bytes = [](const auto& array, int32_t count) {
        return std::string(reinterpret_cast<const char*>(array.data()),
                           sizeof(array[0]) * static_cast<size_t>(count));
    };
    std::string text = bytes(StateScore, Key.StateCount) + bytes(TaxonMatches, Key.TaxonCount) +
                       bytes(MismatchCount, Key.TaxonCount);
    text +=
        std::to_string(MatchingTaxaCount) + (OrMode ? "o" : "-") + (OrGroupHasState ? "s" : "-");
    auto group = [&](const OrGroup& g) {
        text += "|" + bytes(g.StateMark, Key.StateCount) + bytes(g.TaxonSatisfies, Key.TaxonCount);
    };
    if (OpenOrGroup) group(*OpenOrGroup);
    for (const OrGroup* g = ClosedOrGroups.get(); g; g = g->Next.get())
        group(*g);
    return text;
}

class Recount {
public:
    explicit Recount(std::string_view dat) : dat_(dat) {}

    // The byte of taxon t for state s, or -1 when its record is not whole in the file.
    VORN_NO_COVERAGE int Byte(int32_t s, int32_t t) const {
        size_t record = static_cast<size_t>(s) * Key.RecordsPerState + t / TaxaPerRecord;
        if ((record + 1) * TaxaPerRecord > dat_.size()) return -1;
        return static_cast<unsigned char>(dat_[record * TaxaPerRecord + t % TaxaPerRecord]);
    }
    // Whether the score (plain or "Or") contradicts taxon t's code for s.
    VORN_NO_COVERAGE bool Fails(int32_t s, int32_t t, uint8_t score) const {
        int b = Byte(s, t);
        FUZZ_CHECK(b >= 0, "a scored state's codes were all readable");
        bool present = score == ScorePresent || score == ScoreOrPresent;
        return present ? b == '-' : b == '+';
    }
    // Per taxon, whether it satisfies at least one member of the group.
    VORN_NO_COVERAGE std::vector<bool> Satisfied(const OrGroup& g) const {
        std::vector<bool> satisfied(static_cast<size_t>(Key.TaxonCount), false);
        for (int32_t s = 0; s < Key.StateCount; ++s) {
            if (!g.StateMark[s]) continue;
            for (int32_t t = 0; t < Key.TaxonCount; ++t)
                if (!Fails(s, t, g.StateMark[s])) satisfied[t] = true;
        }
        return satisfied;
    }

    VORN_NO_COVERAGE void Check() const {
        std::vector<int32_t> expected(static_cast<size_t>(Key.TaxonCount), 0);
        for (int32_t s = 0; s < Key.StateCount; ++s) {
            uint8_t score = StateScore[s];
            if (score != ScorePresent && score != ScoreAbsent) continue;
            for (int32_t t = 0; t < Key.TaxonCount; ++t)
                expected[t] += Fails(s, t, score);
        }
        for (const OrGroup* g = ClosedOrGroups.get(); g; g = g->Next.get()) {
            std::vector<bool> satisfied = Satisfied(*g);
            for (int32_t t = 0; t < Key.TaxonCount; ++t)
                expected[t] += !satisfied[t];
        }
        std::vector<bool> open;
        if (OrMode && OrGroupHasState) open = Satisfied(*OpenOrGroup);
        int32_t matching = 0;
        for (int32_t t = 0; t < Key.TaxonCount; ++t) {
            FUZZ_CHECK(MismatchCount[t] == expected[t], "mismatches equal a recount");
            bool matches = expected[t] == 0 && (open.empty() || open[t]);
            FUZZ_CHECK((TaxonMatches[t] != 0) == matches, "matching taxa equal a recount");
            matching += matches;
        }
        FUZZ_CHECK(MatchingTaxaCount == matching, "the matching count equals a recount");
        bool triedMissing = false;

        for (int32_t s = 0; s < Key.StateCount; ++s) {
            uint8_t score = StateScore[s];
            // Only the records of taxa without mismatch are read for a count.
            int32_t count = -1;
            bool missing = false;
            if (score == ScoreNone || score == ScorePresent) {
                count = 0;
                for (int32_t t = 0; t < Key.TaxonCount; ++t) {
                    if (MismatchCount[t] != 0) continue;
                    int b = Byte(s, t);
                    missing = missing || b < 0;
                    count += b != '-';
                }
            }
            if (!missing) {
                FUZZ_CHECK(StateMatchCount(s) == count, "a state's count equals a recount");
            } else if (!triedMissing) {
                // One count with a record missing per check: throwing is slow.
                triedMissing = true;
                bool threw = false;
                try {
                    StateMatchCount(s);
                } catch (const IoError&) {
                    threw = true;
                }
                FUZZ_CHECK(threw, "a count with a record missing fails");
            }
            int groups = 0;
            auto member = [&](const OrGroup& g) {
                if (!g.StateMark[s]) return;
                ++groups;
                FUZZ_CHECK(g.StateMark[s] == score, "a group's mark is the state's score");
            };
            for (const OrGroup* g = ClosedOrGroups.get(); g; g = g->Next.get())
                member(*g);
            if (OrMode && OpenOrGroup) member(*OpenOrGroup);
            bool inGroup = score == ScoreOrPresent || score == ScoreOrAbsent;
            FUZZ_CHECK(groups == (inGroup ? 1 : 0), "an \"Or\" mark belongs to one group");
        }
    }

private:
    std::string_view dat_;
};

}  // namespace
}  // namespace vorn

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    fuzz::KeepDirectory keep;
    std::vector<std::string_view> parts = SplitParts({reinterpret_cast<const char*>(data), size});
    fuzz::WriteWorkFile("KEY.DES", parts[0]);
    fuzz::WriteWorkFile("KEY.TAX", parts[1]);
    fuzz::WriteWorkFile("KEY.CHR", parts[2]);
    fuzz::WriteWorkFile("KEY.DAT", parts[3]);
    try {
        OpenKey(fuzz::WorkFolder() + "KEY.DES");
    } catch (const IoError&) {
        FUZZ_CHECK(!Key.KeyOpen, "a key that fails to open is not open");
        return 0;
    }
    if (!Key.KeyOpen) return 0;
    FUZZ_CHECK(Key.TaxonCount >= 0 && Key.TaxonCount <= MaxKeyItems, "taxa within capacity");
    FUZZ_CHECK(Key.StateCount >= 0 && Key.StateCount <= MaxKeyItems, "states within capacity");
    size_t taxonRecords =
        parts[1].size() / (Key.LongTaxonNames ? LongTaxonRecordSize : TaxaPerRecord);
    FUZZ_CHECK(static_cast<size_t>(Key.TaxonCount) == taxonRecords - (Key.LongTaxonNames ? 1 : 0),
               "the taxa are the taxon file's whole records");
    for (int32_t t = 0; t < Key.TaxonCount; ++t) {
        std::string name = ReadTaxonName(t);
        FUZZ_CHECK(name.size() <= LongTaxonRecordSize && (name.empty() || name.back() != ' '),
                   "a name is its record without trailing blanks");
    }
    for (int32_t s = 0; s < Key.StateCount; ++s)
        FUZZ_CHECK(ReadStateText(s).size() <= StateRecordSize, "a text fits its record");

    Recount recount(parts[3]);
    std::string_view actions = parts[4];
    for (size_t i = 0; i + 1 < actions.size() && i < 200; i += 2) {
        auto a = static_cast<uint8_t>(actions[i]);
        auto b = static_cast<uint8_t>(actions[i + 1]);
        if (a % 9 == 8) {
            ToggleOrMode();
        } else if (Key.StateCount > 0) {
            std::string before = EngineState();
            int reads = 0;
            int failAt = a / 9 % 4 == 0 ? a / 36 : -1;
            if (failAt >= 0) {
                RecordFile::SetReadFault(
                    [&](const std::string&, int32_t) { return reads++ == failAt ? EIO : 0; });
            }
            EmptyMatrixRecordCache();
            bool failed = false;
            try {
                ScoreState(b % Key.StateCount, static_cast<ScoreRequest>(a % 4));
            } catch (const IoError&) {
                failed = true;
            }
            RecordFile::SetReadFault(nullptr);
            if (failed) FUZZ_CHECK(EngineState() == before, "a failed action changes nothing");
        }
        // A recount costs states x taxa: after every action on small keys, else now and
        // then and at the end.
        if (Key.StateCount * Key.TaxonCount <= 8192 || i % 16 == 0) recount.Check();
    }
    recount.Check();
    return 0;
}
