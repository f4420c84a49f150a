#include "app/Identify.h"

#include <optional>
#include <ostream>
#include <sstream>

#include "engine/HistoryList.h"
#include "engine/Manage.h"
#include "key/Manage.h"
#include "platform/Directory.h"
#include "platform/IoError.h"
#include "platform/Messages.h"
#include "platform/Text.h"

namespace vorn {
namespace {

constexpr const char* kUsage =
    "usage: vorn-identify KEY.DES [ACTION ...] [--json]\n"
    "\n"
    "Opens an identification key and scores its character states in order.\n"
    "ACTION is one of (N: a state number, counted from 1):\n"
    "  +N       score state N Present\n"
    "  -N       score state N Absent\n"
    "  ~N       toggle state N (as a double-click: none, Present, Absent, none)\n"
    "  =N       clear state N (clearing a member of an \"Or\" group clears the group)\n"
    "  or       begin an \"Or\" group, or end the one that is open\n"
    "  @FILE    load a history list file (.HIS)\n"
    "--json     print one JSON object instead of text\n";

// Messages the windows would show go to standard error, and the run goes on.
class ErrorStreamInterface : public UserInterface {
public:
    explicit ErrorStreamInterface(std::ostream& err) : err_(err) {}
    void ShowMessage(MessageKind, const std::string& text) override {
        err_ << "vorn-identify: " << text << '\n';
    }
    bool AskYesNo(MessageKind kind, const std::string& text) override {
        ShowMessage(kind, text);
        return true;
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }

private:
    std::ostream& err_;
};

struct Action {
    enum Kind { Score, Or, History } kind = Score;
    ScoreRequest request = RequestPresent;
    std::string number;  // as typed, checked once the key's state count is known
    std::string file;    // absolute, so opening the key cannot change what it names
    std::string text;    // as typed, for messages
};

struct BadInput {
    std::string message;
};

std::optional<Action> ParseAction(const std::string& arg) {
    Action action;
    action.text = arg;
    if (arg == "or") {
        action.kind = Action::Or;
        return action;
    }
    if (arg.size() >= 2 && arg[0] == '@') {
        action.kind = Action::History;
        action.file = AbsolutePath(arg.substr(1));
        return action;
    }
    if (arg.size() < 2) return std::nullopt;
    switch (arg[0]) {
        case '+':
            action.request = RequestPresent;
            break;
        case '-':
            action.request = RequestAbsent;
            break;
        case '~':
            action.request = RequestToggle;
            break;
        case '=':
            action.request = RequestClear;
            break;
        default:
            return std::nullopt;
    }
    action.number = arg.substr(1);
    return action;
}

// The state index of a number typed by the user, or BadInput.
int32_t StateOf(const Action& action) {
    const std::string& n = action.number;
    bool digits =
        !n.empty() && n.size() <= 9 && n.find_first_not_of("0123456789") == std::string::npos;
    int32_t value = digits ? std::stoi(n) : 0;
    if (value < 1 || value > Key.StateCount) {
        throw BadInput{"\"" + action.text +
                       "\": the state number must be a whole number from 1 to " +
                       std::to_string(Key.StateCount)};
    }
    return value - 1;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

template <class F>
void JsonArray(std::ostream& out, const char* name, int32_t count, F&& item, bool last = false) {
    out << "  \"" << name << "\": [";
    for (int32_t i = 0; i < count; ++i) {
        if (i) out << ", ";
        item(i);
    }
    out << "]" << (last ? "\n" : ",\n");
}

const char* ScoreText(uint8_t score) {
    switch (score) {
        case ScorePresent:
            return "+";
        case ScoreAbsent:
            return "-";
        case ScoreOrPresent:
            return "o+";
        case ScoreOrAbsent:
            return "o-";
        default:
            return "";
    }
}

void WriteJson(std::ostream& out) {
    out << "{\n";
    out << "  \"key\": " << JsonString(Key.KeyName) << ",\n";
    out << "  \"taxon_count\": " << Key.TaxonCount << ",\n";
    out << "  \"state_count\": " << Key.StateCount << ",\n";
    out << "  \"or_mode\": " << (OrMode ? "true" : "false") << ",\n";
    out << "  \"matching_taxa_count\": " << MatchingTaxaCount << ",\n";
    std::vector<int32_t> matching;
    for (int32_t t = 0; t < Key.TaxonCount; ++t) {
        if (TaxonMatches[t]) matching.push_back(t + 1);
    }
    JsonArray(out, "matching_taxa", static_cast<int32_t>(matching.size()),
              [&](int32_t i) { out << matching[i]; });
    JsonArray(out, "scores", Key.StateCount,
              [&](int32_t s) { out << '"' << ScoreText(StateScore[s]) << '"'; });
    JsonArray(out, "mismatch_counts", Key.TaxonCount,
              [&](int32_t t) { out << TaxonMismatchCount(t); });
    JsonArray(out, "state_match_counts", Key.StateCount,
              [&](int32_t s) { out << StateMatchCount(s); });
    std::vector<int32_t> differentiating = DifferentiatingStates();
    JsonArray(out, "differentiating_states", static_cast<int32_t>(differentiating.size()),
              [&](int32_t i) { out << differentiating[i] + 1; });
    std::vector<int32_t> byMismatches = TaxaByMismatches();
    JsonArray(
        out, "taxa_by_mismatches", Key.TaxonCount, [&](int32_t i) { out << byMismatches[i] + 1; },
        true);
    out << "}\n";
}

void WriteText(std::ostream& out) {
    out << "Key " << Key.KeyName << ": " << Key.TaxonCount << " taxa, " << Key.StateCount
        << " states";
    if (OrMode) out << " (an \"Or\" group is open)";
    out << "\n" << MatchingCountText(MatchingTaxaCount) << "\n";
    for (int32_t t = 0; t < Key.TaxonCount; ++t) {
        if (!TaxonMatches[t]) continue;
        out << "  " << t + 1 << ". " << KeyTextToUtf8(SplitTaxonRecord(ReadTaxonName(t)).Text)
            << "\n";
    }
}

}  // namespace

int RunIdentify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::optional<std::string> keyPath;
    std::vector<std::string> actionArgs;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return 0;
        } else if (arg == "--version") {
            out << "vorn-identify " << VORN_VERSION << "\n";
            return 0;
        } else if (!keyPath) {
            keyPath = arg;
        } else {
            actionArgs.push_back(arg);
        }
    }
    if (!keyPath) {
        err << kUsage;
        return 2;
    }
    std::vector<Action> actions;
    for (const std::string& arg : actionArgs) {
        std::optional<Action> action = ParseAction(arg);
        if (!action) {
            err << "vorn-identify: unknown action \"" << arg << "\" (try --help)\n";
            return 2;
        }
        actions.push_back(*action);
    }

    ErrorStreamInterface ui(err);
    UserInterface* previous = SetUserInterface(&ui);
    struct Restore {
        UserInterface* ui;
        ~Restore() { SetUserInterface(ui); }
    } restore{previous};

    std::string startDirectory = CurrentDirectory();
    try {
        OpenKey(AbsolutePath(*keyPath));
    } catch (const IoError& e) {
        err << "vorn-identify: " << e.what() << "\n";
        return 1;
    }
    if (!Key.KeyOpen) return 1;

    try {
        for (const Action& action : actions) {
            if (action.kind == Action::Score) StateOf(action);
        }
        for (const Action& action : actions) {
            switch (action.kind) {
                case Action::Score:
                    ScoreState(StateOf(action), action.request);
                    break;
                case Action::Or:
                    ToggleOrMode();
                    break;
                case Action::History:
                    try {
                        LoadHistoryList(action.file, nullptr);
                    } catch (const IoError& e) {
                        throw BadInput{e.what()};
                    }
                    break;
            }
        }
        std::ostringstream report;
        if (json) {
            WriteJson(report);
        } else {
            WriteText(report);
        }
        out << report.str();
    } catch (const BadInput& bad) {
        err << "vorn-identify: " << bad.message << "\n";
        return 2;
    } catch (const IoError& e) {
        err << "vorn-identify: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace vorn
