#include "core/session/HistoryList.h"

#include <algorithm>

#include "core/platform/AtomicFile.h"
#include "core/platform/Text.h"
#include "core/platform/TextFile.h"
#include "core/session/Session.h"

namespace vorn {
namespace {

// The number a group or member line holds after its character and any blanks, or -1 when
// none does (the line is a remark).
int32_t LeadingNumber(const std::string& rest) {
    size_t at = rest.find_first_not_of(" \t");
    if (at == std::string::npos || rest[at] < '0' || rest[at] > '9') return -1;
    int64_t value = 0;
    for (; at < rest.size() && rest[at] >= '0' && rest[at] <= '9'; ++at)
        value = std::min<int64_t>(value * 10 + (rest[at] - '0'), INT32_MAX);
    return static_cast<int32_t>(value);
}

class HistoryReader {
public:
    HistoryReader(Session& session, TextFile& file, const std::function<void(int32_t)>& listState)
        : session_(session), file_(file), listState_(listState) {}

    SkippedLines Read() {
        while (!file_.AtEnd()) {
            int action = file_.ReadChar();
            switch (action) {
                case ' ':
                case '+':
                case '-':
                    Entry(action);
                    break;
                case '(':
                case ')':
                case 'p':
                case 'a': {
                    int32_t number = LeadingNumber(file_.ReadLine());
                    if (number >= 0) GroupLine(action, number);
                    break;
                }
                default:
                    file_.SkipLine();
            }
        }
        return skipped_;
    }

private:
    enum class Group { None, Begun, Applied };

    void Entry(int action) {
        int32_t number = file_.ReadNumber(false);
        file_.SkipLine();
        if (number < 1 || number > session_.Key.StateCount) {
            ++skipped_.OutsideKey;
            return;
        }
        int32_t state = number - 1;
        if (action == ' ') {
            if (listState_) listState_(state);
        } else {
            session_.ScoreState(state, action == '+' ? RequestPresent : RequestAbsent);
        }
    }

    void GroupLine(int action, int32_t number) {
        if (action == '(') {
            // Begun with its first member: a group that gets none is not applied.
            group_ = Group::Begun;
            return;
        }
        if (action == ')') {
            if (group_ == Group::None) ++skipped_.EndWithoutGroup;
            if (group_ == Group::Applied && session_.OrMode()) session_.ToggleOrMode();
            group_ = Group::None;
            return;
        }
        if (group_ == Group::None) {
            ++skipped_.MemberOutsideGroup;
            return;
        }
        if (number < 1 || number > session_.Key.StateCount) {
            ++skipped_.OutsideKey;
            return;
        }
        if (group_ == Group::Begun) {
            // As the Or button does: a group the session has open is ended first.
            if (session_.OrMode()) session_.ToggleOrMode();
            session_.ToggleOrMode();
            group_ = Group::Applied;
        }
        session_.ScoreAsMember(number - 1, action == 'p' ? RequestPresent : RequestAbsent);
    }

    Session& session_;
    TextFile& file_;
    const std::function<void(int32_t)>& listState_;
    Group group_ = Group::None;
    SkippedLines skipped_;
};

std::string Lines(int count, const char* one, const char* many) {
    return std::to_string(count) + (count == 1 ? one : many);
}

// The group lines of `group`, closed or not.
void AppendGroup(std::string& text, const Session& session, const OrGroup& group, bool closed) {
    text += "(0\r\n";
    for (int32_t member : group.Members) {
        text += session.StateScore(member) == ScoreOrAbsent ? 'a' : 'p';
        text += std::to_string(member + 1) + "\r\n";
    }
    if (closed) text += ")0\r\n";
}

}  // namespace

SkippedLines LoadHistoryList(Session& session, const std::string& fileName,
                             const std::function<void(int32_t)>& listState) {
    TextFile file;
    file.Open(fileName);
    SkippedLines skipped;
    // The windows are rebuilt once, after the last line, even when a bad line ends it; and
    // what the file did is one step for Undo.
    session.ScoreTogether(StepKind::LoadHistory, [&] {
        HistoryReader reader(session, file, listState);
        skipped = reader.Read();
    });
    file.Close();
    return skipped;
}

std::string SkippedLinesText(const Session& session, const std::string& fileName,
                             const SkippedLines& skipped) {
    const std::string list = " of the history list \"" + FileNameToUtf8(fileName) + "\"";
    std::string text;
    auto add = [&text](const std::string& sentence) {
        text += (text.empty() ? "" : "  ") + sentence;
    };
    if (int n = skipped.OutsideKey) {
        bool one = n == 1;
        add(Lines(n, " line", " lines") + list + (one ? " was" : " were") +
            " skipped: " + (one ? "its state number is" : "their state numbers are") +
            " outside the " + std::to_string(session.Key.StateCount) + " states of the key " +
            FileNameToUtf8(session.Key.KeyName) +
            ".  The list may have been written for another key.");
    }
    if (int n = skipped.MemberOutsideGroup) {
        bool one = n == 1;
        add(Lines(n, " line", " lines") + list + (one ? " was" : " were") +
            " skipped: " + (one ? "it scores a member" : "they score members") +
            " of an \"Or\" group where no group was begun.");
    }
    if (int n = skipped.EndWithoutGroup) {
        bool one = n == 1;
        add(Lines(n, " line", " lines") + list + (one ? " was" : " were") + " skipped: " +
            (one ? "it ends" : "they end") + " an \"Or\" group where none was begun.");
    }
    return text;
}

std::string HistoryListText(const Session& session, const std::vector<int32_t>& states) {
    const Engine* engine = session.OpenEngine();
    std::vector<const OrGroup*> written;
    bool openListed = false;
    std::string text;
    for (int32_t state : states) {
        if (state < 0 || state >= session.Key.StateCount) continue;
        uint8_t score = session.StateScore(state);
        if (engine && (score == ScoreOrPresent || score == ScoreOrAbsent)) {
            auto holds = [state](const OrGroup& group) {
                return std::find(group.Members.begin(), group.Members.end(), state) !=
                       group.Members.end();
            };
            if (engine->OpenGroup() && holds(*engine->OpenGroup())) {
                openListed = true;
                continue;
            }
            // A closed group, at the place of its first listed member.
            auto group =
                std::find_if(engine->ClosedGroups().begin(), engine->ClosedGroups().end(), holds);
            if (group != engine->ClosedGroups().end()) {
                if (std::find(written.begin(), written.end(), &*group) == written.end()) {
                    written.push_back(&*group);
                    AppendGroup(text, session, *group, true);
                }
                continue;
            }
        }
        text += score == ScorePresent ? '+' : score == ScoreAbsent ? '-' : ' ';
        text += std::to_string(state + 1) + "\r\n";
    }
    // The open group last: without an end, every line after it would join it.
    if (openListed) AppendGroup(text, session, *engine->OpenGroup(), false);
    return text;
}

std::string ScoresListText(const Session& session) {
    std::string text;
    const Engine* engine = session.OpenEngine();
    if (!engine) return text;
    for (int32_t s = 0; s < session.Key.StateCount; ++s) {
        uint8_t score = session.StateScore(s);
        if (score == ScorePresent || score == ScoreAbsent)
            text += (score == ScorePresent ? "+" : "-") + std::to_string(s + 1) + "\r\n";
    }
    for (const OrGroup& group : engine->ClosedGroups())
        AppendGroup(text, session, group, true);
    if (engine->OpenGroup()) AppendGroup(text, session, *engine->OpenGroup(), false);
    return text;
}

void SaveHistoryList(const Session& session, const std::string& fileName,
                     const std::vector<int32_t>& states) {
    WriteFileAtomically(fileName, HistoryListText(session, states));
}

}  // namespace vorn
