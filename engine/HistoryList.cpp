#include "engine/HistoryList.h"

#include "engine/Manage.h"
#include "platform/TextFile.h"

namespace vorn {

void LoadHistoryList(const std::string& fileName, const std::function<void(int32_t)>& listState) {
    TextFile file;
    file.Open(fileName);
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
    file.Close();
}

}  // namespace vorn
