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

#include "engine/Manage.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"
#include "key/Manage.h"
#include "platform/IoError.h"
#include "platform/RecordFile.h"

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

// Everything an action may change.
std::string EngineState() {
    std::string text(StateScore.begin(), StateScore.begin() + Key.StateCount);
    text += std::string(TaxonMatches.begin(), TaxonMatches.begin() + Key.TaxonCount);
    text +=
        std::to_string(MatchingTaxaCount) + (OrMode ? "o" : "-") + (OrGroupHasState ? "s" : "-");
    for (int32_t t = 0; t < Key.TaxonCount; ++t)
        text += " " + std::to_string(MismatchCount[t]);
    auto group = [&](const OrGroup& g) {
        text += "|" + std::string(g.StateMark.begin(), g.StateMark.begin() + Key.StateCount);
        text += std::string(g.TaxonSatisfies.begin(), g.TaxonSatisfies.begin() + Key.TaxonCount);
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
    int Byte(int32_t s, int32_t t) const {
        size_t record = static_cast<size_t>(s) * Key.RecordsPerState + t / TaxaPerRecord;
        if ((record + 1) * TaxaPerRecord > dat_.size()) return -1;
        return static_cast<unsigned char>(dat_[record * TaxaPerRecord + t % TaxaPerRecord]);
    }
    // Whether the score (plain or "Or") contradicts taxon t's code for s.
    bool Fails(int32_t s, int32_t t, uint8_t score) const {
        int b = Byte(s, t);
        FUZZ_CHECK(b >= 0, "a scored state's codes were all readable");
        bool present = score == ScorePresent || score == ScoreOrPresent;
        return present ? b == '-' : b == '+';
    }
    bool Satisfies(const OrGroup& g, int32_t t) const {
        for (int32_t s = 0; s < Key.StateCount; ++s)
            if (g.StateMark[s] && !Fails(s, t, g.StateMark[s])) return true;
        return false;
    }

    void Check() const {
        int32_t matching = 0;
        for (int32_t t = 0; t < Key.TaxonCount; ++t) {
            int32_t expected = 0;
            for (int32_t s = 0; s < Key.StateCount; ++s) {
                uint8_t score = StateScore[s];
                if ((score == ScorePresent || score == ScoreAbsent) && Fails(s, t, score))
                    ++expected;
            }
            for (const OrGroup* g = ClosedOrGroups.get(); g; g = g->Next.get())
                expected += !Satisfies(*g, t);
            FUZZ_CHECK(MismatchCount[t] == expected, "mismatches equal a recount");
            bool matches = expected == 0;
            if (OrMode && OrGroupHasState) matches = matches && Satisfies(*OpenOrGroup, t);
            FUZZ_CHECK((TaxonMatches[t] != 0) == matches, "matching taxa equal a recount");
            matching += matches;
        }
        FUZZ_CHECK(MatchingTaxaCount == matching, "the matching count equals a recount");

        for (int32_t s = 0; s < Key.StateCount; ++s) {
            uint8_t score = StateScore[s];
            int32_t expected = -1;
            bool readable = true;
            if (score == ScoreNone || score == ScorePresent) {
                expected = 0;
                for (int32_t t = 0; t < Key.TaxonCount; ++t) {
                    int b = Byte(s, t);
                    if (b < 0) readable = false;
                    expected += MismatchCount[t] == 0 && b >= 0 && b != '-';
                }
            }
            try {
                FUZZ_CHECK(StateMatchCount(s) == expected, "a state's count equals a recount");
            } catch (const IoError&) {
                FUZZ_CHECK(!readable, "only a count with a record missing fails");
            }
            int groups = 0;
            for (const OrGroup* g = ClosedOrGroups.get(); g; g = g->Next.get())
                groups += g->StateMark[s] != 0 && g->StateMark[s] == score;
            if (OrMode && OpenOrGroup && OpenOrGroup->StateMark[s])
                groups += OpenOrGroup->StateMark[s] == score;
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
    for (size_t i = 0; i + 1 < actions.size() && i < 400; i += 2) {
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
        recount.Check();
    }
    return 0;
}
