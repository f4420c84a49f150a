#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/platform/Directory.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "tests/kit/ScriptedUserInterface.h"
#include "tests/kit/TestKeys.h"

namespace vorn::testing {

// Writes keys into a temporary directory and opens them, in a session of its own, as the
// program does. Restores the current directory afterwards.
class KeyFixture : public ::testing::Test {
protected:
    KeyFixture() : start_(CurrentDirectory()) {}
    ~KeyFixture() override {
        CloseKey(session_);
        ChangeToDirectory(start_);
    }

    // Writes `keySpec` and opens it; the key must open.
    void Open(const KeySpec& keySpec) {
        OpenKey(session_, WriteKey(dir_.Path(), keySpec));
        ASSERT_TRUE(session_.Key.KeyOpen) << "key did not open";
    }

    // A key from code columns: codes[s][t] is taxon t's code for state s.
    static KeySpec MakeKey(std::vector<std::string> codes, int taxa = -1) {
        KeySpec keySpec;
        int n = taxa >= 0 ? taxa : (codes.empty() ? 0 : static_cast<int>(codes[0].size()));
        for (int t = 0; t < n; ++t)
            keySpec.Taxa.push_back("Taxon " + std::to_string(t));
        for (size_t s = 0; s < codes.size(); ++s)
            keySpec.States.push_back("State " + std::to_string(s));
        keySpec.Codes = std::move(codes);
        keySpec.TitleLines = {"Test key"};
        return keySpec;
    }

    Session session_;
    TempDir dir_;
    ScriptedUserInterface ui_;

private:
    std::string start_;
};

}  // namespace vorn::testing
