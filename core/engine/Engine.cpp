#include "core/engine/Engine.h"

#include <algorithm>
#include <cstring>

#include "core/platform/Messages.h"

namespace vorn {
namespace {

// Every taxon's code byte for one state, as the matrix holds it. An action reads all the
// codes it needs into these before it changes anything, so a read error leaves every
// score, count, mark and group as it was.
using StateCodes = std::array<uint8_t, MaxKeyItems + TaxaPerRecord>;

// Reads the state's records one matrix record of 40 taxa at a time, exactly as TaxonCode
// would.
void ReadStateCodes(int32_t state, StateCodes& codes) {
    for (int32_t first = 0; first < Key.TaxonCount; first += TaxaPerRecord)
        std::memcpy(&codes[first], MatrixRecordFor(state, first), TaxaPerRecord);
}

// Only "+" reads as present and only "-" as absent (see the table of codes), so the
// bytes are compared directly.
constexpr bool OnlyOneByteReads(uint8_t code, uint8_t byte) {
    for (int b = 0; b < 256; ++b) {
        if ((CodeOfByte[b] == code) != (b == byte)) return false;
    }
    return true;
}
static_assert(OnlyOneByteReads(CodePresent, '+') && OnlyOneByteReads(CodeAbsent, '-'));

// The code byte that contradicts a score: "-" for present, "+" for absent.
uint8_t ContradictingCode(uint8_t score) {
    return (score == ScorePresent || score == ScoreOrPresent) ? '-' : '+';
}

bool IsOrScore(uint8_t score) {
    return score == ScoreOrPresent || score == ScoreOrAbsent;
}

// Scores an unscored state, given its codes.
void AddScore(int32_t state, uint8_t score, const StateCodes& codes) {
    MarkStateMatchCountStale();
    StateScore[state] = score;
    uint8_t contradicting = ContradictingCode(score);
    for (int32_t t = 0; t < Key.TaxonCount; ++t) {
        if (codes[t] == contradicting && ++MismatchCount[t] == 1) {
            --MatchingTaxaCount;
            TaxonMatches[t] = 0;
        }
    }
}

// Unscores a plainly scored state, given its codes.
void RemoveScore(int32_t state, const StateCodes& codes) {
    uint8_t contradicting = ContradictingCode(StateScore[state]);
    StateScore[state] = ScoreNone;
    MarkStateMatchCountStale();
    for (int32_t t = 0; t < Key.TaxonCount; ++t) {
        if (codes[t] == contradicting && --MismatchCount[t] == 0) {
            ++MatchingTaxaCount;
            TaxonMatches[t] = 1;
        }
    }
}

// Mismatch counts made from scratch from every plain score and every closed group but
// `skip`. Only reads; nothing changes.
using TaxonCounts = std::array<int32_t, MaxKeyItems>;
void Recount(const OrGroup* skip, TaxonCounts& counts) {
    counts.fill(0);
    StateCodes codes;
    for (int32_t s = 0; s < Key.StateCount; ++s) {
        uint8_t score = StateScore[s];
        if (score != ScorePresent && score != ScoreAbsent) continue;
        ReadStateCodes(s, codes);
        uint8_t contradicting = ContradictingCode(score);
        for (int32_t t = 0; t < Key.TaxonCount; ++t)
            counts[t] += codes[t] == contradicting;
    }
    for (const OrGroup* g = ClosedOrGroups.get(); g; g = g->Next.get()) {
        if (g == skip) continue;
        for (int32_t t = 0; t < Key.TaxonCount; ++t)
            counts[t] += !g->TaxonSatisfies[t];
    }
}

void SetMismatchCounts(const TaxonCounts& counts) {
    MarkStateMatchCountStale();
    MatchingTaxaCount = 0;
    for (int32_t t = 0; t < Key.TaxonCount; ++t) {
        MismatchCount[t] = counts[t];
        TaxonMatches[t] = counts[t] == 0;
        MatchingTaxaCount += counts[t] == 0;
    }
}

void ApplySingleScore(int32_t state, ScoreRequest request) {
    MarkStateMatchCountStale();
    uint8_t score = StateScore[state];
    if (request == RequestToggle) {
        if (IsOrScore(score)) {
            CountMatchingTaxa();
            return;
        }
        request = score == ScoreNone      ? RequestPresent
                  : score == ScorePresent ? RequestAbsent
                                          : RequestClear;
    }
    StateCodes codes;
    switch (request) {
        case RequestPresent:
        case RequestAbsent: {
            uint8_t wanted = request == RequestPresent ? ScorePresent : ScoreAbsent;
            if (score == wanted || IsOrScore(score)) break;
            ReadStateCodes(state, codes);
            if (score != ScoreNone) RemoveScore(state, codes);
            AddScore(state, wanted, codes);
            break;
        }
        case RequestClear:
            if (IsOrScore(score)) {
                RemoveOrGroupOfState(state);
            } else if (score != ScoreNone) {
                ReadStateCodes(state, codes);
                RemoveScore(state, codes);
            }
            break;
        case RequestToggle:
            break;
    }
    CountMatchingTaxa();
}

}  // namespace

void ApplyScoreRequest(int32_t state, ScoreRequest request) {
    if (OrMode) {
        if (StateScore[state] != ScoreNone) {
            ShowError("You can only select unscored states while performing an \"Or.\"");
            return;
        }
        AddOrState(state, request);
        return;
    }
    ApplySingleScore(state, request);
}

void AddStateScore(int32_t state, uint8_t score) {
    if (StateScore[state] != ScoreNone) return;
    StateCodes codes;
    ReadStateCodes(state, codes);
    AddScore(state, score, codes);
}

void RemoveStateScore(int32_t state) {
    if (StateScore[state] == ScoreNone) return;
    StateCodes codes;
    ReadStateCodes(state, codes);
    RemoveScore(state, codes);
}

void RecomputeMatches() {
    TaxonCounts counts;
    Recount(nullptr, counts);
    SetMismatchCounts(counts);
}

void CountMatchingTaxa() {
    int32_t count = 0;
    for (int32_t t = 0; t < Key.TaxonCount; ++t)
        count += TaxonMatches[t] != 0;
    MatchingTaxaCount = count;
}

void ClearAllScores() {
    StateScore.fill(ScoreNone);
    MismatchCount.fill(0);
    TaxonMatches.fill(0);
    std::fill_n(TaxonMatches.begin(), std::clamp(Key.TaxonCount, 0, MaxKeyItems), 1);
    MatchingTaxaCount = std::max(Key.TaxonCount, 0);
    MarkStateMatchCountStale();
    OpenOrGroup.reset();
    OrMode = false;
    OrGroupHasState = false;
    // Released one by one: a long chain would otherwise recurse once per group.
    while (ClosedOrGroups)
        ClosedOrGroups = std::move(ClosedOrGroups->Next);
}

// ---- "Or" groups ----------------------------------------------------------------------

void BeginOrGroup() {
    if (OrMode) return;
    OrMode = true;
    OpenOrGroup = std::make_unique<OrGroup>();
    SavedMatches = TaxonMatches;
}

void EndOrGroup() {
    if (!OrMode) return;
    OrMode = false;
    if (OrGroupHasState && OpenOrGroup) {
        ApplyOrGroup(*OpenOrGroup);
        OpenOrGroup->Next = std::move(ClosedOrGroups);
        ClosedOrGroups = std::move(OpenOrGroup);
        OrGroupHasState = false;
    }
    OpenOrGroup.reset();
    CountMatchingTaxa();
    MarkStateMatchCountStale();
}

void AddOrState(int32_t state, ScoreRequest request) {
    MarkStateMatchCountStale();
    if (request == RequestToggle) request = RequestPresent;
    if (request == RequestClear || !OpenOrGroup) return;
    uint8_t mark = request == RequestPresent ? ScoreOrPresent : ScoreOrAbsent;
    StateCodes codes;
    ReadStateCodes(state, codes);
    StateScore[state] = mark;
    uint8_t contradicting = ContradictingCode(mark);
    OrGroup& group = *OpenOrGroup;
    for (int32_t t = 0; t < Key.TaxonCount; ++t) {
        if (codes[t] != contradicting) group.TaxonSatisfies[t] = 1;
    }
    group.StateMark[state] = mark;
    OrGroupHasState = true;
    CountOrMatchingTaxa();
}

void CountOrMatchingTaxa() {
    int32_t count = 0;
    const OrGroup* group = OpenOrGroup.get();
    for (int32_t t = 0; t < Key.TaxonCount; ++t) {
        TaxonMatches[t] = SavedMatches[t] && group && group->TaxonSatisfies[t];
        count += TaxonMatches[t];
    }
    MatchingTaxaCount = count;
}

void ApplyOrGroup(const OrGroup& group) {
    MarkStateMatchCountStale();
    for (int32_t t = 0; t < Key.TaxonCount; ++t) {
        if (!group.TaxonSatisfies[t]) {
            TaxonMatches[t] = 0;
            ++MismatchCount[t];
        }
    }
}

void RemoveOrGroupOfState(int32_t state) {
    std::unique_ptr<OrGroup>* link = &ClosedOrGroups;
    while (*link && (*link)->StateMark[state] == 0)
        link = &(*link)->Next;
    if (!*link) return;
    OrGroup& group = **link;
    // The recount reads every plain score's codes; only once all are read does the
    // group go.
    TaxonCounts counts;
    Recount(&group, counts);
    for (int32_t s = 0; s < MaxKeyItems; ++s) {
        if (group.StateMark[s] != 0) StateScore[s] = ScoreNone;
    }
    *link = std::move(group.Next);  // unlinks and releases the group
    SetMismatchCounts(counts);
}

// ---- Queries --------------------------------------------------------------------------

namespace {

// Taxa without mismatch as a byte mask (1 or 0), padded with 0 to whole matrix records,
// and per record whether it covers any such taxon. Remade with the cache of counts, that
// is after every change of the scores.
std::array<uint8_t, MaxKeyItems + TaxaPerRecord> noMismatch{};
std::array<uint8_t, MaxKeyItems / TaxaPerRecord + 1> recordHasMatch{};

void MakeNoMismatchMask() {
    noMismatch.fill(0);
    recordHasMatch.fill(0);
    for (int32_t t = 0; t < Key.TaxonCount; ++t) {
        if (MismatchCount[t] == 0) {
            noMismatch[t] = 1;
            recordHasMatch[t / TaxaPerRecord] = 1;
        }
    }
}

}  // namespace

int32_t StateMatchCount(int32_t state) {
    if (StateMatchCountStale) {
        StateMatchCountCache.fill(-2);
        MakeNoMismatchMask();
        StateMatchCountStale = false;
    }
    int32_t& cached = StateMatchCountCache[state];
    if (cached != -2) return cached;
    uint8_t score = StateScore[state];
    if (score == ScoreAbsent || IsOrScore(score)) return cached = -1;
    // Only the codes of taxa without mismatch matter; a record none of whose taxa is
    // without mismatch is not read at all. Within a record the whole 40 bytes are
    // counted against the mask, which is 0 beyond the last taxon; only "-" (absent)
    // rules a taxon out, as in the table of codes.
    int32_t count = 0;
    for (int32_t first = 0; first < Key.TaxonCount; first += TaxaPerRecord) {
        if (!recordHasMatch[first / TaxaPerRecord]) continue;
        const uint8_t* record = MatrixRecordFor(state, first);
        const uint8_t* mask = &noMismatch[first];
        int32_t inRecord = 0;
        for (int32_t i = 0; i < TaxaPerRecord; ++i)
            inRecord += mask[i] & (record[i] != '-');
        count += inRecord;
    }
    return cached = count;
}

bool StateContradicts(int32_t taxon, int32_t state) {
    switch (StateScore[state]) {
        case ScorePresent:
            return TaxonCode(state, taxon) == CodeAbsent;
        case ScoreAbsent:
            return TaxonCode(state, taxon) == CodePresent;
        default:
            return false;
    }
}

bool StateSplitsMatchingTaxa(int32_t state) {
    int32_t n = StateMatchCount(state);
    return n != 0 && n != MatchingTaxaCount;
}

std::vector<int32_t> DifferentiatingStates() {
    std::vector<int32_t> states;
    for (int32_t s = 0; s < Key.StateCount; ++s) {
        if (StateScore[s] == ScoreNone && StateSplitsMatchingTaxa(s)) states.push_back(s);
    }
    std::stable_sort(states.begin(), states.end(),
                     [](int32_t a, int32_t b) { return StateMatchCount(a) < StateMatchCount(b); });
    return states;
}

std::vector<int32_t> TaxaByMismatches() {
    std::vector<int32_t> taxa(static_cast<size_t>(Key.TaxonCount));
    for (int32_t t = 0; t < Key.TaxonCount; ++t)
        taxa[t] = t;
    std::stable_sort(taxa.begin(), taxa.end(),
                     [](int32_t a, int32_t b) { return MismatchCount[a] < MismatchCount[b]; });
    return taxa;
}

}  // namespace vorn
