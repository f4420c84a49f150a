#include "core/session/Session.h"

namespace vorn {
namespace {

// No session installed: an empty one of no key.
Session emptySession;
Session* installedSession = nullptr;

}  // namespace

Session::Session() = default;

Session::~Session() = default;

SessionEvents* Session::SetEvents(SessionEvents* events) {
    SessionEvents* old = events_;
    events_ = events;
    return old;
}

void Session::StartEngine() {
    engine_ = std::make_unique<Engine>(Key.Codes);
}

void Session::StopEngine() {
    engine_.reset();
}

uint8_t Session::StateScore(int32_t state) const {
    return engine_ ? engine_->Score(state) : uint8_t{ScoreNone};
}

int32_t Session::MatchingTaxaCount() const {
    return engine_ ? engine_->MatchingCount() : 0;
}

bool Session::TaxonMatches(int32_t taxon) const {
    return engine_ && engine_->Matches(taxon);
}

bool Session::OrMode() const {
    return engine_ && engine_->OrMode();
}

int Session::Tolerance() const {
    return engine_ ? engine_->Tolerance() : 0;
}

int32_t Session::TaxonMismatchCount(int32_t taxon) const {
    return engine_ ? engine_->Mismatches(taxon) : 0;
}

int32_t Session::StateMatchCount(int32_t state) {
    return engine_ ? engine_->StateMatchCount(state) : 0;
}

int32_t Session::CountedTaxaCount() const {
    return engine_ ? engine_->CountedCount() : 0;
}

bool Session::StateSplitsCountedTaxa(int32_t state) {
    int32_t n = StateMatchCount(state);
    return n != 0 && n != CountedTaxaCount();
}

bool Session::StateContradicts(int32_t taxon, int32_t state) const {
    return engine_ && engine_->Contradicts(taxon, state);
}

std::vector<std::vector<ScoredState>> Session::GroupsFailedBy(int32_t taxon) const {
    std::vector<std::vector<ScoredState>> groups;
    if (!engine_) return groups;
    for (int32_t place : engine_->GroupsFailedBy(taxon)) {
        std::vector<ScoredState>& members = groups.emplace_back();
        for (int32_t state : engine_->ClosedGroups()[static_cast<size_t>(place)].Members)
            members.push_back({state, engine_->Score(state)});
    }
    return groups;
}

std::vector<int32_t> Session::DifferentiatingStates() {
    return engine_ ? engine_->DifferentiatingStates() : std::vector<int32_t>();
}

std::vector<int32_t> Session::TaxaByMismatches() const {
    return engine_ ? engine_->TaxaByMismatches() : std::vector<int32_t>();
}

std::vector<int32_t> Session::MatchingTaxaByMismatches() const {
    return engine_ ? engine_->MatchingTaxaByMismatches() : std::vector<int32_t>();
}

std::vector<StateSeparation> Session::BestStates() {
    return engine_ ? engine_->BestStates() : std::vector<StateSeparation>();
}

TaxonDifferences Session::Differences(int32_t a, int32_t b) const {
    return engine_ ? engine_->Differences(a, b) : TaxonDifferences();
}

std::vector<int32_t> Session::CertainDifferencesAmong(const std::vector<int32_t>& taxa) const {
    return engine_ ? engine_->CertainDifferencesAmong(taxa) : std::vector<int32_t>();
}

Session* SetSession(Session* session) {
    Session* old = installedSession;
    installedSession = session;
    return old;
}

Session& CurrentSession() {
    return installedSession ? *installedSession : emptySession;
}

}  // namespace vorn
