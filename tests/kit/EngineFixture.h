#pragma once

#include <string>
#include <vector>

#include "core/key/KeyFiles.h"
#include "core/session/Events.h"
#include "core/session/Session.h"
#include "tests/kit/KeyFixture.h"

namespace vorn::testing {

// A key fixture that also records what scoring tells the windows.
class EngineFixture : public KeyFixture, private SessionEvents {
protected:
    EngineFixture() { session_.SetEvents(this); }
    ~EngineFixture() override { session_.SetEvents(nullptr); }

    void StateScored(int32_t state) override { history_.push_back(state); }
    void ScoresChanged() override { ++refreshes_; }
    void OrModeChanged() override { ++orRedraws_; }

    // Opens the key and forgets the refresh that opening made.
    void Open(const KeySpec& keySpec) {
        KeyFixture::Open(keySpec);
        history_.clear();
        refreshes_ = 0;
        orRedraws_ = 0;
    }

    // "1" for each matching taxon, "0" for the others.
    std::string Matches() {
        std::string flags;
        for (int32_t t = 0; t < session_.Key.TaxonCount; ++t)
            flags += session_.TaxonMatches(t) ? '1' : '0';
        return flags;
    }
    std::vector<int32_t> Mismatches() {
        std::vector<int32_t> counts;
        for (int32_t t = 0; t < session_.Key.TaxonCount; ++t)
            counts.push_back(session_.TaxonMismatchCount(t));
        return counts;
    }
    std::string Scores() {
        static const char* marks = ".+-PA";  // None, Present, Absent, OrPresent, OrAbsent
        std::string text;
        for (int32_t s = 0; s < session_.Key.StateCount; ++s)
            text += marks[session_.StateScore(s)];
        return text;
    }

    std::vector<int32_t> history_;
    int refreshes_ = 0;
    int orRedraws_ = 0;
};

}  // namespace vorn::testing
