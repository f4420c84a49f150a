#include "web/Address.h"

#include "core/session/Modes.h"

namespace vorn::web {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// `text` with each "%XX" made the byte it stands for; nothing when a "%" stands before
// anything else.
std::optional<std::string> Decoded(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

// A part of an address as the user may read it back: cut when long, controls shown as "?".
std::string Quoted(std::string_view part) {
    std::string shown;
    for (char c : part.substr(0, 40)) {
        auto byte = static_cast<unsigned char>(c);
        shown += byte < 0x20 || byte == 0x7f ? '?' : c;
    }
    if (part.size() > 40) shown += "...";
    return "\"" + shown + "\"";
}

}  // namespace

std::optional<Address> ParseAddress(std::string_view text, int32_t stateCount, std::string* why) {
    auto refuse = [why](const std::string& reason) -> std::optional<Address> {
        if (why) *why = reason;
        return std::nullopt;
    };
    Address address;
    if (text.size() > kMaxAddressBytes) {
        return refuse("it is longer than the " + std::to_string(kMaxAddressBytes) +
                      " characters an address may have");
    }
    bool actionsSeen = false, toleranceSeen = false;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('&', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view part = text.substr(at, end - at);
        at = end + 1;
        if (part.empty()) continue;
        std::string_view name = part.substr(0, part.find('='));
        if (part.size() < 2 || part[1] != '=' || (name != "a" && name != "t")) {
            return refuse("it holds " + Quoted(part) +
                          ", which is neither \"a=\" (the actions) nor \"t=\" (the tolerance)");
        }
        bool& seen = name == "a" ? actionsSeen : toleranceSeen;
        if (seen) return refuse("it gives \"" + std::string(name) + "=\" twice");
        seen = true;
        std::optional<std::string> value = Decoded(part.substr(2));
        if (!value)
            return refuse("it holds " + Quoted(part) +
                          ", where a \"%\" is not followed by two hexadecimal digits");
        if (name == "t") {
            const std::string& k = *value;
            if (k.size() != 1 || k[0] < '0' || k[0] > '0' + kMenuTolerance) {
                return refuse("it asks for a tolerance of " + Quoted(k) + "; a tolerance is 0 to " +
                              std::to_string(kMenuTolerance));
            }
            address.Tolerance = k[0] - '0';
            continue;
        }
        if (value->empty()) continue;
        for (size_t from = 0; from <= value->size();) {
            size_t comma = value->find(',', from);
            if (comma == std::string::npos) comma = value->size();
            std::string item = value->substr(from, comma - from);
            from = comma + 1;
            std::optional<Action> action = ParseAction(item);
            if (!action) return refuse("it holds " + Quoted(item) + ", which is no action");
            if (action->Kind == Action::History) {
                return refuse("it holds " + Quoted(item) +
                              ", which would load a file: an address cannot, use Load instead");
            }
            if (action->Kind == Action::Score && !ActionState(*action, stateCount)) {
                return refuse("it holds " + Quoted(item) +
                              ", and the states of this key are 1 to " +
                              std::to_string(stateCount));
            }
            address.Actions.push_back(std::move(*action));
        }
    }
    return address;
}

std::string ActionText(const Action& action) {
    if (action.Kind != Action::Score) return action.Text;
    size_t digits = action.Number.find_first_not_of('0');
    std::string number = digits == std::string::npos ? "0" : action.Number.substr(digits);
    return action.Text.substr(0, 1) + number;
}

std::string AddressText(const std::vector<std::string>& actions, int tolerance) {
    if (actions.empty() && tolerance == 0) return {};
    std::string text = "a=";
    for (size_t i = 0; i < actions.size(); ++i) {
        if (i) text += ',';
        text += actions[i];
    }
    if (tolerance != 0) text += "&t=" + std::to_string(tolerance);
    return text;
}

}  // namespace vorn::web
