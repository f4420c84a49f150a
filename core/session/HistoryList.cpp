#include "core/session/HistoryList.h"

#include "core/platform/AtomicFile.h"
#include "core/platform/Text.h"
#include "core/platform/TextFile.h"
#include "core/session/Session.h"

namespace vorn {
namespace {

int ReadLines(Session& session, TextFile& file, const std::function<void(int32_t)>& listState) {
    int skipped = 0;
    while (!file.AtEnd()) {
        int action = file.ReadChar();
        if (action != ' ' && action != '+' && action != '-') {
            file.SkipLine();
            continue;
        }
        int32_t number = file.ReadNumber(false);
        file.SkipLine();
        if (number < 1 || number > session.Key.StateCount) {
            ++skipped;
            continue;
        }
        int32_t state = number - 1;
        if (action == ' ') {
            if (listState) listState(state);
        } else {
            session.ScoreState(state, action == '+' ? RequestPresent : RequestAbsent);
        }
    }
    return skipped;
}

}  // namespace

int LoadHistoryList(Session& session, const std::string& fileName,
                    const std::function<void(int32_t)>& listState) {
    TextFile file;
    file.Open(fileName);
    int skipped = 0;
    // The windows are rebuilt once, after the last line, even when a bad line ends it; and
    // what the file scored is one step for Undo.
    session.ScoreTogether(StepKind::LoadHistory,
                          [&] { skipped = ReadLines(session, file, listState); });
    file.Close();
    return skipped;
}

std::string SkippedLinesText(const Session& session, const std::string& fileName, int skipped) {
    bool one = skipped == 1;
    return std::to_string(skipped) + (one ? " line" : " lines") + " of the history list \"" +
           FileNameToUtf8(fileName) + (one ? "\" was" : "\" were") +
           " skipped: " + (one ? "its state number is" : "their state numbers are") +
           " outside the " + std::to_string(session.Key.StateCount) + " states of the key " +
           FileNameToUtf8(session.Key.KeyName) +
           ".  The list may have been written for another key.";
}

std::string HistoryListText(const Session& session, const std::vector<int32_t>& states) {
    std::string text;
    for (int32_t state : states) {
        if (state < 0 || state >= session.Key.StateCount) continue;
        uint8_t score = session.StateScore(state);
        text += score == ScorePresent ? '+' : score == ScoreAbsent ? '-' : ' ';
        text += std::to_string(state + 1) + "\r\n";
    }
    return text;
}

void SaveHistoryList(const Session& session, const std::string& fileName,
                     const std::vector<int32_t>& states) {
    WriteFileAtomically(fileName, HistoryListText(session, states));
}

}  // namespace vorn
