#include "core/session/HistoryList.h"

#include "core/engine/Queries.h"
#include "core/key/KeyFiles.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/TextFile.h"
#include "core/session/Scoring.h"

namespace vorn {
namespace {

void ReadLines(TextFile& file, const std::function<void(int32_t)>& listState) {
    while (!file.AtEnd()) {
        int action = file.ReadChar();
        if (action != ' ' && action != '+' && action != '-') {
            file.SkipLine();
            continue;
        }
        int32_t number = file.ReadNumber(false);
        file.SkipLine();
        if (number < 1 || number > Key.StateCount) continue;
        int32_t state = number - 1;
        if (action == ' ') {
            if (listState) listState(state);
        } else {
            ScoreState(state, action == '+' ? RequestPresent : RequestAbsent);
        }
    }
}

}  // namespace

void LoadHistoryList(const std::string& fileName, const std::function<void(int32_t)>& listState) {
    TextFile file;
    file.Open(fileName);
    // The windows are rebuilt once, after the last line, even when a bad line ends it.
    ScoreTogether([&] { ReadLines(file, listState); });
    file.Close();
}

std::string HistoryListText(const std::vector<int32_t>& states) {
    std::string text;
    for (int32_t state : states) {
        if (state < 0 || state >= Key.StateCount) continue;
        uint8_t score = StateScore(state);
        text += score == ScorePresent ? '+' : score == ScoreAbsent ? '-' : ' ';
        text += std::to_string(state + 1) + "\r\n";
    }
    return text;
}

void SaveHistoryList(const std::string& fileName, const std::vector<int32_t>& states) {
    WriteFileAtomically(fileName, HistoryListText(states));
}

}  // namespace vorn
