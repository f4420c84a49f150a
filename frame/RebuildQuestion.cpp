#include "frame/RebuildQuestion.h"

#include <cstdint>

#include "core/session/Session.h"
#include "frame/WindowRegistry.h"

namespace vorn {
bool AskBeforeRebuild(WindowKind kind, MessageKind messageKind, const std::string& text) {
    // Remembered by the windows' registry, for its session's keys; without one, always asked.
    WindowRegistry* windows = InstalledWindows();
    int64_t forgotten = -1;
    int64_t& remembered = windows ? windows->NotAskedDuring(kind) : forgotten;
    const Session& session = CurrentSession();
    if (session.Key.KeyOpen && remembered == session.KeysOpened) return true;
    QuestionCheckBox dontAsk{kDontAskAgain};
    bool yes = UI().AskYesNo(messageKind, text, &dontAsk);
    remembered = yes && dontAsk.Checked ? session.KeysOpened : -1;
    return yes;
}

}  // namespace vorn
