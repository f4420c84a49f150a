#include "core/engine/Queries.h"

namespace vorn {

uint8_t StateScore(int32_t state) {
    const Engine* engine = OpenEngine();
    return engine ? engine->Score(state) : uint8_t{ScoreNone};
}

int32_t MatchingTaxaCount() {
    const Engine* engine = OpenEngine();
    return engine ? engine->MatchingCount() : 0;
}

bool TaxonMatches(int32_t taxon) {
    const Engine* engine = OpenEngine();
    return engine && engine->Matches(taxon);
}

bool OrMode() {
    const Engine* engine = OpenEngine();
    return engine && engine->OrMode();
}

int Tolerance() {
    const Engine* engine = OpenEngine();
    return engine ? engine->Tolerance() : 0;
}

int32_t TaxonMismatchCount(int32_t taxon) {
    const Engine* engine = OpenEngine();
    return engine ? engine->Mismatches(taxon) : 0;
}

int32_t StateMatchCount(int32_t state) {
    Engine* engine = OpenEngine();
    return engine ? engine->StateMatchCount(state) : 0;
}

int32_t CountedTaxaCount() {
    const Engine* engine = OpenEngine();
    return engine ? engine->CountedCount() : 0;
}

bool StateSplitsCountedTaxa(int32_t state) {
    int32_t n = StateMatchCount(state);
    return n != 0 && n != CountedTaxaCount();
}

bool StateContradicts(int32_t taxon, int32_t state) {
    const Engine* engine = OpenEngine();
    return engine && engine->Contradicts(taxon, state);
}

std::vector<int32_t> DifferentiatingStates() {
    Engine* engine = OpenEngine();
    return engine ? engine->DifferentiatingStates() : std::vector<int32_t>();
}

std::vector<int32_t> TaxaByMismatches() {
    const Engine* engine = OpenEngine();
    return engine ? engine->TaxaByMismatches() : std::vector<int32_t>();
}

std::vector<int32_t> MatchingTaxaByMismatches() {
    const Engine* engine = OpenEngine();
    return engine ? engine->MatchingTaxaByMismatches() : std::vector<int32_t>();
}

std::vector<StateSeparation> BestStates() {
    Engine* engine = OpenEngine();
    return engine ? engine->BestStates() : std::vector<StateSeparation>();
}

TaxonDifferences Differences(int32_t a, int32_t b) {
    const Engine* engine = OpenEngine();
    return engine ? engine->Differences(a, b) : TaxonDifferences();
}

}  // namespace vorn
