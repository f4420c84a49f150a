// The history list reader on any bytes, "Or" groups and lines out of place among them,
// against a small key: loading never leaves counts that differ from a recount, and a list
// saved from what was loaded loads back as the same scores, groups and states listed,
// and saves again as the same bytes. Undoing the load gives back no scores at all.
#include <algorithm>
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

// The groups, closed then open, by their members. A list writes each closed group at its
// first listed member's place, so a list read back closes them in list order: the closed
// groups compare as a set, not in the order they were closed.
std::string GroupText() {
    const Engine& engine = *TheSession().OpenEngine();
    std::vector<std::string> closed;
    for (const OrGroup& group : engine.ClosedGroups()) {
        std::string members;
        for (int32_t member : group.Members)
            members += std::to_string(member) + ",";
        closed.push_back(members + ")");
    }
    std::sort(closed.begin(), closed.end());
    std::string text;
    for (const std::string& group : closed)
        text += group;
    if (engine.OpenGroup()) {
        text += "open";
        for (int32_t member : engine.OpenGroup()->Members)
            text += "," + std::to_string(member);
    }
    return text;
}

// Loads `path` from no scores, collecting the list a History window would hold.
std::vector<int32_t> Load(const std::string& path, bool& failed) {
    TheSession().OpenEngine()->ClearAllScores();
    TheSession().ClearSteps();
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
    SessionEvents* previous = TheSession().SetEvents(&listener);
    failed = false;
    try {
        LoadHistoryList(TheSession(), path, add);
    } catch (const IoError&) {
        failed = true;  // a line without a number: what came before stays
    }
    TheSession().SetEvents(previous);
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
    Session& session = TheSession();
    std::string scores = ScoreText();
    std::string groups = GroupText();
    std::string saved = HistoryListText(session, list);
    // A line per state, and a group's two lines per member at most.
    FUZZ_CHECK(saved.size() <= list.size() * 15, "short lines, a few per listed state");

    std::string path = fuzz::WorkFolder() + "OUT.HIS";
    SaveHistoryList(session, path, list);
    std::vector<int32_t> again = Load(path, failed);
    FUZZ_CHECK(!failed, "a saved list reads back without error");
    FUZZ_CHECK(ScoreText() == scores, "a saved list loads back as the same scores");
    FUZZ_CHECK(GroupText() == groups, "a saved list loads back as the same groups");
    std::vector<int32_t> sortedList = list, sortedAgain = again;
    std::sort(sortedList.begin(), sortedList.end());
    std::sort(sortedAgain.begin(), sortedAgain.end());
    FUZZ_CHECK(sortedAgain == sortedList, "a saved list loads back as the same states listed");
    FUZZ_CHECK(HistoryListText(session, again) == saved, "saving again gives the same bytes");

    // The load was one step: undone, nothing is scored and no group is left.
    if (session.Steps().CanUndo()) {
        session.Undo();
        FUZZ_CHECK(ScoreText() == std::string(kStates, '\0'), "an undone load leaves no score");
        FUZZ_CHECK(session.OpenEngine()->ClosedGroups().empty(), "an undone load leaves no group");
    }
    return 0;
}
