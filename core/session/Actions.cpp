#include "core/session/Actions.h"

namespace vorn {

std::optional<Action> ParseAction(const std::string& text) {
    Action action;
    action.Text = text;
    if (text == "or" || text == "undo" || text == "redo" || text == "reset") {
        action.Kind = text == "or"     ? Action::Or
                      : text == "undo" ? Action::Undo
                      : text == "redo" ? Action::Redo
                                       : Action::Reset;
        return action;
    }
    if (text.size() >= 2 && text[0] == '@') {
        action.Kind = Action::History;
        action.File = text.substr(1);
        return action;
    }
    if (text.size() < 2) return std::nullopt;
    switch (text[0]) {
        case '+':
            action.Request = RequestPresent;
            break;
        case '-':
            action.Request = RequestAbsent;
            break;
        case '~':
            action.Request = RequestToggle;
            break;
        case '=':
            action.Request = RequestClear;
            break;
        default:
            return std::nullopt;
    }
    action.Number = text.substr(1);
    return action;
}

std::optional<int32_t> ActionState(const Action& action, int32_t stateCount) {
    const std::string& n = action.Number;
    if (action.Kind != Action::Score || n.empty() || n.size() > 9 ||
        n.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    int32_t value = std::stoi(n);
    if (value < 1 || value > stateCount) return std::nullopt;
    return value - 1;
}

}  // namespace vorn
