#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "core/key/KeyWriter.h"
#include "fuzz/Check.h"

namespace vorn::fuzz {

// What an importer's state texts must be: a record of at most 80 bytes per state, which
// is the whole text when that fits; the whole texts, one line each, exactly when some text
// does not fit; and texts that repeat only where the report (`same`) says so.
inline void CheckStateTexts(const KeyContents& key, const std::vector<std::string>& same) {
    FUZZ_CHECK(key.WholeStates.empty() || key.WholeStates.size() == key.States.size(),
               "whole texts, when written, one per state");
    bool longer = false;
    size_t repeats = 0;
    std::unordered_set<std::string> seen;
    for (size_t i = 0; i < key.States.size(); ++i) {
        const std::string& whole = key.WholeStates.empty() ? key.States[i] : key.WholeStates[i];
        FUZZ_CHECK(key.States[i].size() <= 80, "a state fits its record");
        FUZZ_CHECK(whole.find_first_of("\r\n") == std::string::npos, "a whole text is one line");
        if (whole.size() <= 80)
            FUZZ_CHECK(key.States[i] == whole, "a text that fits is its record");
        longer = longer || whole.size() > 80;
        repeats += !seen.insert(whole).second;
    }
    FUZZ_CHECK(longer == !key.WholeStates.empty(),
               "whole texts written exactly when some text is longer than a record");
    FUZZ_CHECK(repeats == 0 || !same.empty(), "texts that repeat are reported");
}

}  // namespace vorn::fuzz
