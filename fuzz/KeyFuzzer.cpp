// A whole key from any bytes, then scoring on it. The input holds the key's four files
// and a list of actions (scores, "Or" groups, undo and redo), separated by "\n@@\n".
// Opening never yields a negative or oversized count and refuses a matrix too short for
// its taxa and states, or one whose reading fails (a fault injected at a record the input
// picks); every name and text reads within its record; after every action the counts
// equal a brute-force recount from the matrix file's bytes.
#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "core/key/KeyFiles.h"
#include "core/platform/IoError.h"
#include "core/platform/RecordFile.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"

namespace vorn {
namespace {

// The checks themselves need no coverage feedback: without it libFuzzer runs several
// times faster and steers by the program's code alone.
#if defined(__clang__)
#define VORN_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define VORN_NO_COVERAGE
#endif

class Recount {
public:
    Recount(Session& session, std::string_view dat) : session_(session), dat_(dat) {}

    // The byte of taxon t for state s; the key opened, so every record is whole.
    VORN_NO_COVERAGE int Byte(int32_t s, int32_t t) const {
        size_t record = static_cast<size_t>(s) * session_.Key.RecordsPerState + t / TaxaPerRecord;
        FUZZ_CHECK((record + 1) * TaxaPerRecord <= dat_.size(), "an open key's codes are whole");
        return static_cast<unsigned char>(dat_[record * TaxaPerRecord + t % TaxaPerRecord]);
    }
    // Whether the score (plain or "Or") contradicts taxon t's code for s.
    VORN_NO_COVERAGE bool Fails(int32_t s, int32_t t, uint8_t score) const {
        bool present = score == ScorePresent || score == ScoreOrPresent;
        return present ? Byte(s, t) == '-' : Byte(s, t) == '+';
    }
    // Per taxon, whether it satisfies at least one member of the group.
    VORN_NO_COVERAGE std::vector<bool> Satisfied(const OrGroup& g) const {
        std::vector<bool> satisfied(static_cast<size_t>(session_.Key.TaxonCount), false);
        for (int32_t s : g.Members) {
            for (int32_t t = 0; t < session_.Key.TaxonCount; ++t)
                if (!Fails(s, t, session_.StateScore(s))) satisfied[t] = true;
        }
        return satisfied;
    }

    VORN_NO_COVERAGE void Check() const {
        const Engine& engine = *session_.OpenEngine();
        std::vector<int32_t> expected(static_cast<size_t>(session_.Key.TaxonCount), 0);
        for (int32_t s = 0; s < session_.Key.StateCount; ++s) {
            uint8_t score = session_.StateScore(s);
            if (score != ScorePresent && score != ScoreAbsent) continue;
            for (int32_t t = 0; t < session_.Key.TaxonCount; ++t)
                expected[t] += Fails(s, t, score);
        }
        std::vector<int> groupOf(static_cast<size_t>(session_.Key.StateCount), 0);
        for (const OrGroup& g : engine.ClosedGroups()) {
            std::vector<bool> satisfied = Satisfied(g);
            for (int32_t t = 0; t < session_.Key.TaxonCount; ++t)
                expected[t] += !satisfied[t];
            for (int32_t s : g.Members)
                ++groupOf[s];
        }
        std::vector<bool> open;
        if (const auto& g = engine.OpenGroup()) {
            if (!g->Members.empty()) open = Satisfied(*g);
            for (int32_t s : g->Members)
                ++groupOf[s];
        }
        int32_t matching = 0;
        for (int32_t t = 0; t < session_.Key.TaxonCount; ++t) {
            FUZZ_CHECK(session_.TaxonMismatchCount(t) == expected[t], "mismatches equal a recount");
            bool matches = expected[t] == 0 && (open.empty() || open[t]);
            FUZZ_CHECK(session_.TaxonMatches(t) == matches, "matching taxa equal a recount");
            matching += matches;
        }
        FUZZ_CHECK(session_.MatchingTaxaCount() == matching, "the matching count equals a recount");

        for (int32_t s = 0; s < session_.Key.StateCount; ++s) {
            uint8_t score = session_.StateScore(s);
            int32_t count = -1;
            if (score == ScoreNone || score == ScorePresent) {
                count = 0;
                for (int32_t t = 0; t < session_.Key.TaxonCount; ++t)
                    count += expected[t] == 0 && Byte(s, t) != '-';
            }
            FUZZ_CHECK(session_.StateMatchCount(s) == count, "a state's count equals a recount");
            bool inGroup = score == ScoreOrPresent || score == ScoreOrAbsent;
            FUZZ_CHECK(groupOf[s] == (inGroup ? 1 : 0), "an \"Or\" mark belongs to one group");
        }
    }

private:
    Session& session_;
    std::string_view dat_;
};

}  // namespace
}  // namespace vorn

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    fuzz::KeepDirectory keep;
    Session session;
    std::vector<std::string_view> parts =
        fuzz::SplitParts({reinterpret_cast<const char*>(data), size}, 5);
    fuzz::WriteWorkFile("KEY.DES", parts[0]);
    fuzz::WriteWorkFile("KEY.TAX", parts[1]);
    fuzz::WriteWorkFile("KEY.CHR", parts[2]);
    fuzz::WriteWorkFile("KEY.DAT", parts[3]);
    // The first action byte may ask for a read to fail while the codes are read.
    std::string_view actions = parts[4];
    int failAt =
        !actions.empty() && actions[0] % 3 == 0 ? static_cast<uint8_t>(actions[0]) / 3 : -1;
    int reads = 0;
    bool faulted = false;
    if (failAt >= 0) {
        RecordFile::SetReadFault([&](const std::string& name, int32_t) {
            if (name != "KEY.DAT" || reads++ != failAt) return 0;
            faulted = true;
            return EIO;
        });
    }
    bool threw = false;
    try {
        OpenKey(session, fuzz::WorkFolder() + "KEY.DES");
    } catch (const IoError&) {
        threw = true;
    }
    RecordFile::SetReadFault(nullptr);
    if (threw || faulted) {
        FUZZ_CHECK(!session.Key.KeyOpen && !session.OpenEngine(),
                   "a key whose reading failed is not open");
        return 0;
    }
    if (!session.Key.KeyOpen) return 0;
    FUZZ_CHECK(session.Key.TaxonCount >= 0 && session.Key.TaxonCount <= MaxKeyItems,
               "taxa within capacity");
    FUZZ_CHECK(session.Key.StateCount >= 0 && session.Key.StateCount <= MaxKeyItems,
               "states within capacity");
    FUZZ_CHECK(parts[3].size() / TaxaPerRecord >=
                   static_cast<size_t>(session.Key.StateCount) * session.Key.RecordsPerState,
               "an open key's matrix holds every code");
    FUZZ_CHECK(session.Key.Codes.Bytes() <=
                   parts[3].size() / 2 + 16 * static_cast<size_t>(session.Key.StateCount),
               "the codes take memory in proportion to the matrix file");
    size_t taxonRecords =
        parts[1].size() / (session.Key.LongTaxonNames ? LongTaxonRecordSize : TaxaPerRecord);
    FUZZ_CHECK(static_cast<size_t>(session.Key.TaxonCount) ==
                   taxonRecords - (session.Key.LongTaxonNames ? 1 : 0),
               "the taxa are the taxon file's whole records");
    for (int32_t t = 0; t < session.Key.TaxonCount; ++t) {
        std::string name = session.Key.ReadTaxonName(t);
        FUZZ_CHECK(name.size() <= LongTaxonRecordSize && (name.empty() || name.back() != ' '),
                   "a name is its record without trailing blanks");
    }
    for (int32_t s = 0; s < session.Key.StateCount; ++s)
        FUZZ_CHECK(session.Key.ReadStateText(s).size() <= StateRecordSize,
                   "a text fits its record");

    Recount recount(session, parts[3]);
    for (size_t i = 1; i + 1 < actions.size() && i < 200; i += 2) {
        auto a = static_cast<uint8_t>(actions[i]);
        auto b = static_cast<uint8_t>(actions[i + 1]);
        if (a % 9 == 8) {
            session.ToggleOrMode();
        } else if (a % 9 == 7) {
            session.Undo();
        } else if (a % 9 == 6) {
            session.Redo();
        } else if (session.Key.StateCount > 0) {
            session.ScoreState(b % session.Key.StateCount, static_cast<ScoreRequest>(a % 4));
        }
        // A recount costs states x taxa: after every action on small keys, else now and
        // then and at the end.
        if (session.Key.StateCount * session.Key.TaxonCount <= 8192 || i % 16 == 1) recount.Check();
    }
    recount.Check();
    return 0;
}
