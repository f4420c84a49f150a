// The history list reader on any bytes, against a small key: loading never leaves counts
// that differ from a recount, and a list saved from what was loaded loads back as the
// same scores and the same list, byte for byte.
#include <functional>
#include <string>
#include <vector>

#include "core/key/KeyFiles.h"
#include "core/platform/IoError.h"
#include "core/session/Events.h"
#include "core/session/HistoryList.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

constexpr int kStates = 12;

// The fuzzer's own session; the test key stays open in it from one input to the next.
Session& TheSession() {
    static Session session;
    return session;
}

void OpenTestKey() {
    if (TheSession().Key.KeyOpen) return;
    fuzz::KeepDirectory keep;
    testing::KeySpec keySpec;
    keySpec.Name = "HIS";
    keySpec.TitleLines = {"History"};
    keySpec.Taxa = {"A", "B", "C", "D", "E"};
    for (int s = 0; s < kStates; ++s) {
        keySpec.States.push_back("State " + std::to_string(s));
        std::string codes;
        for (int t = 0; t < 5; ++t)
            codes += "+-*?"[(s * 7 + t * 3) % 4];
        keySpec.Codes.push_back(codes);
    }
    OpenKey(TheSession(), testing::WriteKey(fuzz::WorkFolder(), keySpec));
    FUZZ_CHECK(TheSession().Key.KeyOpen, "the test key opens");
}

std::string ScoreText() {
    std::string text;
    for (int32_t s = 0; s < kStates; ++s)
        text += static_cast<char>(TheSession().StateScore(s));
    return text;
}

// Loads `path` from no scores, collecting the list a History window would hold.
std::vector<int32_t> Load(const std::string& path, bool& failed) {
    TheSession().OpenEngine()->ClearAllScores();
    std::vector<int32_t> list;
    auto add = [&list](int32_t state) {
        FUZZ_CHECK(state >= 0 && state < kStates, "listed states lie within the key");
        for (int32_t s : list)
            if (s == state) return;
        list.push_back(state);
    };
    // What scoring tells a History window reaches the same list.
    struct Listener : SessionEvents {
        std::function<void(int32_t)> add;
        void StateScored(int32_t state) override { add(state); }
    } listener;
    listener.add = add;
    SessionEvents* previous = SetSessionEvents(&listener);
    failed = false;
    try {
        LoadHistoryList(TheSession(), path, add);
    } catch (const IoError&) {
        failed = true;  // a line without a number: what came before stays
    }
    SetSessionEvents(previous);
    std::vector<int32_t> recount = TheSession().OpenEngine()->RecountMismatches();
    for (int32_t t = 0; t < TheSession().Key.TaxonCount; ++t)
        FUZZ_CHECK(TheSession().TaxonMismatchCount(t) == recount[t],
                   "the counts kept equal a recount");
    return list;
}

}  // namespace
}  // namespace vorn

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    OpenTestKey();
    bool failed = false;
    std::vector<int32_t> list =
        Load(fuzz::WriteWorkFile("IN.HIS", {reinterpret_cast<const char*>(data), size}), failed);
    std::string scores = ScoreText();
    std::string saved = HistoryListText(TheSession(), list);
    FUZZ_CHECK(saved.size() <= list.size() * 7, "one short line per listed state");

    std::string path = fuzz::WorkFolder() + "OUT.HIS";
    SaveHistoryList(TheSession(), path, list);
    std::vector<int32_t> again = Load(path, failed);
    FUZZ_CHECK(!failed, "a saved list reads back without error");
    FUZZ_CHECK(ScoreText() == scores, "a saved list loads back as the same scores");
    FUZZ_CHECK(again == list, "a saved list loads back as the same list");
    FUZZ_CHECK(HistoryListText(TheSession(), again) == saved, "saving again gives the same bytes");
    return 0;
}
