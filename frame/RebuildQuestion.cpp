#include "frame/RebuildQuestion.h"

#include <array>
#include <cstdint>

#include "core/key/KeyFiles.h"
#include "core/session/OpenKey.h"

namespace vorn {
namespace {

// Per kind, the value of KeysOpened for the key during which the user chose not to be
// asked again; -1 for none.
std::array<int64_t, WindowKindCount> notAskedDuring = [] {
    std::array<int64_t, WindowKindCount> keys{};
    keys.fill(-1);
    return keys;
}();

}  // namespace

bool AskBeforeRebuild(WindowKind kind, MessageKind messageKind, const std::string& text) {
    int64_t& remembered = notAskedDuring[static_cast<size_t>(kind)];
    if (Key.KeyOpen && remembered == KeysOpened) return true;
    QuestionCheckBox dontAsk{kDontAskAgain};
    bool yes = UI().AskYesNo(messageKind, text, &dontAsk);
    remembered = yes && dontAsk.Checked ? KeysOpened : -1;
    return yes;
}

}  // namespace vorn
