#include "core/session/Identify.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <ostream>
#include <sstream>

#include "core/engine/Efficiency.h"
#include "core/engine/KeyCheck.h"
#include "core/key/KeyFiles.h"
#include "core/platform/Directory.h"
#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"
#include "core/platform/Messages.h"
#include "core/platform/Text.h"
#include "core/session/Actions.h"
#include "core/session/EfficiencyReport.h"
#include "core/session/Events.h"
#include "core/session/HistoryList.h"
#include "core/session/KeyCheckReport.h"
#include "core/session/OpenKey.h"
#include "core/session/Report.h"
#include "core/session/Session.h"

namespace vorn {
namespace {

constexpr char kUsage[] =
    "usage: vorn-identify KEY.DES [ACTION ...] [--json] [--keep-going] [--save-history FILE]\n"
    "                     [--report FILE.html] [--tolerance K] [--differences A,B]\n"
    "                     [--check-key]\n"
    "       vorn-identify KEY.DES --efficiency [--tolerance K] [--sample N] [--json]\n"
    "\n"
    "Opens an identification key and scores its character states in order; or, with\n"
    "--efficiency, measures how many answers a user needs to reach one taxon.\n"
    "ACTION is one of (N: a state number, counted from 1):\n"
    "  +N       score state N Present\n"
    "  -N       score state N Absent\n"
    "  ~N       toggle state N (as a double-click: none, Present, Absent, none)\n"
    "  =N       clear state N (clearing a member of an \"Or\" group clears the group)\n"
    "  or       begin an \"Or\" group, or end the one that is open\n"
    "  @FILE    load a history list file (.HIS)\n"
    "  undo     take the last step back (a score, Begin Or, End Or, a reset, a history\n"
    "           list loaded); nothing when there is none\n"
    "  redo     do the last step taken back again; nothing when there is none\n"
    "  reset    end an open \"Or\" group and unscore every state\n"
    "Options:\n"
    "  --json                print one JSON object instead of text\n"
    "  --keep-going          report an action that fails (a read error, a history list\n"
    "                        that cannot be read) and go on with the next one\n"
    "  --save-history FILE   after the actions, write the history list the History\n"
    "                        window would hold (the states scored, in first-appearance\n"
    "                        order, and those listed by loaded history lists)\n"
    "  --report FILE.html    after the actions, write the report of the identification\n"
    "                        (the scored states, the matching taxa with their pictures,\n"
    "                        how they differ, the best states next, the history list) as\n"
    "                        one HTML file, and its history list beside it as FILE.HIS\n"
    "  --tolerance K         a taxon matches while it has at most K mismatches (0 to 99;\n"
    "                        0 by default)\n"
    "  --differences A,B     also report the states on which taxa A and B (from 1) differ\n"
    "  --check-key           also report what no state separates: pairs of taxa, states\n"
    "                        no taxon or every taxon has, taxa without a \"+\" state\n"
    "  --efficiency          report no identification: play every taxon as the specimen\n"
    "                        (2,000 drawn with a fixed seed from a larger key), answering\n"
    "                        truthfully the first state the Best window, then the\n"
    "                        Differentiating window, lists; give the mean, median and\n"
    "                        largest number of answers and the taxa not reached. Takes\n"
    "                        no actions, --save-history, --report, --differences or\n"
    "                        --check-key\n"
    "  --sample N            with --efficiency: play N taxa (1 to 65535) drawn with the\n"
    "                        fixed seed, or every taxon of a key of at most N\n"
    "File names are relative to the directory the command is started in.\n"
    "Exit status: 0 done; 1 the key could not be opened or read, an action failed\n"
    "(--keep-going) or the history list or the report could not be written; 2 bad input\n"
    "(an unknown action or option, a state number outside the key, a history list that\n"
    "cannot be read or has a bad line), with nothing on standard output; 3 standard\n"
    "output could not be written.\n";

// The exit statuses.
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kBadInput = 2;
constexpr int kOutputLost = 3;

// Messages the windows would show go to standard error, and the run goes on.
class ErrorStreamInterface : public UserInterface {
public:
    explicit ErrorStreamInterface(std::ostream& err) : err_(err) {}
    void ShowMessage(MessageKind, const std::string& text) override {
        err_ << "vorn-identify: " << text << '\n';
        ++shown_;
    }
    bool AskYesNo(MessageKind kind, const std::string& text, QuestionCheckBox*) override {
        ShowMessage(kind, text);
        return true;
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    bool PrintDocument(const PrintRequest&) override { return false; }

    // The number of messages shown so far.
    int Shown() const { return shown_; }

private:
    std::ostream& err_;
    int shown_ = 0;
};

struct BadInput {
    std::string message;
};

// The state index of a number typed by the user, or BadInput.
int32_t StateOf(const Action& action, int32_t stateCount) {
    std::optional<int32_t> state = ActionState(action, stateCount);
    if (!state) {
        throw BadInput{"\"" + action.Text +
                       "\": the state number must be a whole number from 1 to " +
                       std::to_string(stateCount)};
    }
    return *state;
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

// What the report holds besides the identification.
struct ReportOptions {
    std::optional<std::pair<int32_t, int32_t>> differences;  // taxa from 0
    std::optional<KeyCheck> keyCheck;
};

std::string Rounded(double value, int decimals) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

template <class T, class F>
void JsonList(std::ostream& out, const std::vector<T>& items, F&& item) {
    out << "[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out << ", ";
        item(items[i]);
    }
    out << "]";
}

void WriteJson(std::ostream& out, Session& session, const ReportOptions& options) {
    KeyRecord& key = session.Key;
    out << "{\n";
    out << "  \"key\": " << JsonString(FileNameToUtf8(key.KeyName)) << ",\n";
    out << "  \"taxon_count\": " << key.TaxonCount << ",\n";
    out << "  \"state_count\": " << key.StateCount << ",\n";
    out << "  \"or_mode\": " << (session.OrMode() ? "true" : "false") << ",\n";
    out << "  \"tolerance\": " << session.Tolerance() << ",\n";
    out << "  \"matching_taxa_count\": " << session.MatchingTaxaCount() << ",\n";
    std::vector<int32_t> matching;
    for (int32_t t = 0; t < key.TaxonCount; ++t) {
        if (session.TaxonMatches(t)) matching.push_back(t + 1);
    }
    JsonArray(out, "matching_taxa", static_cast<int32_t>(matching.size()),
              [&](int32_t i) { out << matching[i]; });
    JsonArray(out, "scores", key.StateCount,
              [&](int32_t s) { out << '"' << ScoreText(session.StateScore(s)) << '"'; });
    JsonArray(out, "mismatch_counts", key.TaxonCount,
              [&](int32_t t) { out << session.TaxonMismatchCount(t); });
    JsonArray(out, "state_match_counts", key.StateCount,
              [&](int32_t s) { out << session.StateMatchCount(s); });
    std::vector<int32_t> differentiating = session.DifferentiatingStates();
    JsonArray(out, "differentiating_states", static_cast<int32_t>(differentiating.size()),
              [&](int32_t i) { out << differentiating[i] + 1; });
    std::vector<int32_t> differing = DifferencesAmongMatching(session);
    JsonArray(out, "differences_among_matching", static_cast<int32_t>(differing.size()),
              [&](int32_t i) { out << differing[i] + 1; });
    std::vector<StateSeparation> best = session.BestStates();
    JsonArray(out, "best_states", static_cast<int32_t>(best.size()), [&](int32_t i) {
        out << "[" << best[i].State + 1 << ", " << Rounded(best[i].Separation, 4) << "]";
    });
    std::vector<int32_t> byMismatches = session.TaxaByMismatches();
    bool more = options.differences || options.keyCheck;
    JsonArray(
        out, "taxa_by_mismatches", key.TaxonCount, [&](int32_t i) { out << byMismatches[i] + 1; },
        !more);
    auto plusOne = [&out](int32_t i) { out << i + 1; };
    if (options.differences) {
        auto [a, b] = *options.differences;
        TaxonDifferences d = session.Differences(a, b);
        out << "  \"differences\": {\"taxa\": [" << a + 1 << ", " << b + 1 << "], \"certain\": ";
        JsonList(out, d.Certain, plusOne);
        out << ", \"possible\": ";
        JsonList(out, d.Possible, plusOne);
        out << "}" << (options.keyCheck ? ",\n" : "\n");
    }
    if (options.keyCheck) {
        const KeyCheck& check = *options.keyCheck;
        out << "  \"key_check\": {\"inseparable_pairs\": ";
        JsonList(out, check.InseparablePairs, [&out](const std::pair<int32_t, int32_t>& p) {
            out << "[" << p.first + 1 << ", " << p.second + 1 << "]";
        });
        out << ", \"states_no_taxon_has\": ";
        JsonList(out, check.StatesNoTaxonHas, plusOne);
        out << ", \"states_every_taxon_has\": ";
        JsonList(out, check.StatesEveryTaxonHas, plusOne);
        out << ", \"taxa_without_present\": ";
        JsonList(out, check.TaxaWithoutPresent, plusOne);
        out << "}\n";
    }
    out << "}\n";
}

std::string Shown(const std::string& keyText) {
    return ReplaceControls(KeyTextToUtf8(keyText));
}

const char* CodeText(int code) {
    return code == CodePresent ? "+" : code == CodeAbsent ? "-" : code == CodeVariable ? "*" : "?";
}

void WriteText(std::ostream& out, Session& session, const ReportOptions& options) {
    KeyRecord& key = session.Key;
    out << "Key " << ReplaceControls(FileNameToUtf8(key.KeyName)) << ": " << key.TaxonCount
        << " taxa, " << key.StateCount << " states";
    if (session.OrMode()) out << " (an \"Or\" group is open)";
    out << "\n" << MatchingCountText(session.MatchingTaxaCount()) << "\n";
    for (int32_t t = 0; t < key.TaxonCount; ++t) {
        if (!session.TaxonMatches(t)) continue;
        out << "  " << t + 1 << ". "
            << ReplaceControls(KeyTextToUtf8(SplitTaxonRecord(key.ReadTaxonName(t)).Text)) << "\n";
    }
    std::vector<StateSeparation> best = session.BestStates();
    if (!best.empty()) {
        out << "Best next:\n";
        for (size_t i = 0; i < best.size() && i < 10; ++i) {
            out << "  " << Rounded(best[i].Separation, 2) << "  " << best[i].State + 1 << ". "
                << Shown(key.ReadStateText(best[i].State)) << "\n";
        }
    }
    if (options.differences) {
        auto [a, b] = *options.differences;
        TaxonDifferences d = session.Differences(a, b);
        out << "Differences between " << a + 1 << ". "
            << Shown(SplitTaxonRecord(key.ReadTaxonName(a)).Text) << " and " << b + 1 << ". "
            << Shown(SplitTaxonRecord(key.ReadTaxonName(b)).Text) << ":\n";
        for (const auto* list : {&d.Certain, &d.Possible}) {
            out << (list == &d.Certain ? "  certain:" : "  possible:")
                << (list->empty() ? " none\n" : "\n");
            for (int32_t s : *list) {
                out << "    " << CodeText(key.TaxonCode(s, a)) << " "
                    << CodeText(key.TaxonCode(s, b)) << "  " << s + 1 << ". "
                    << Shown(key.ReadStateText(s)) << "\n";
            }
        }
    }
    if (options.keyCheck) {
        out << "Key check:\n";
        std::string text = KeyCheckText(key, *options.keyCheck);
        for (size_t at = 0; at < text.size();) {
            size_t end = text.find('\n', at);
            out << Shown(text.substr(at, end - at)) << "\n";
            at = end + 1;
        }
    }
}

// The measure of the key's efficiency, alone: the key, then the figures.
void WriteEfficiencyJson(std::ostream& out, KeyRecord& key, const Efficiency& efficiency) {
    out << "{\n";
    out << "  \"key\": " << JsonString(FileNameToUtf8(key.KeyName)) << ",\n";
    out << "  \"taxon_count\": " << key.TaxonCount << ",\n";
    out << "  \"state_count\": " << key.StateCount << ",\n";
    out << "  \"efficiency\": {\"taxa\": " << efficiency.Taxa
        << ", \"log2_taxa\": " << AnswerFigure(efficiency.Log2Taxa, 4)
        << ", \"sampled\": " << efficiency.Played.size() << ", \"seed\": "
        << (efficiency.Sampled ? std::to_string(efficiency.Seed) : std::string("null"))
        << ", \"tolerance\": " << efficiency.Tolerance;
    auto plusOne = [&out](int32_t i) { out << i + 1; };
    for (const auto* order : {&efficiency.Best, &efficiency.Differentiating}) {
        out << ",\n    \"" << (order == &efficiency.Best ? "best" : "differentiating")
            << "\": {\"mean\": " << AnswerFigure(order->Mean, 4)
            << ", \"median\": " << AnswerFigure(order->Median, 1) << ", \"max\": " << order->Max
            << ", \"reached\": " << order->Reached << ", \"not_reached\": [";
        for (size_t i = 0; i < order->NotReached.size(); ++i) {
            out << (i ? ", [" : "[") << order->NotReached[i].Taxon + 1 << ", ";
            JsonList(out, order->LeftWith(i), plusOne);
            out << "]";
        }
        out << "]}";
    }
    out << "}\n}\n";
}

void WriteEfficiencyText(std::ostream& out, KeyRecord& key, const Efficiency& efficiency) {
    out << "Key " << ReplaceControls(FileNameToUtf8(key.KeyName)) << ": " << key.TaxonCount
        << " taxa, " << key.StateCount << " states\n";
    std::string text = EfficiencyText(key, efficiency);
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        out << Shown(text.substr(at, end - at)) << "\n";
        at = end + 1;
    }
}

// Writes `text` to standard output and flushes it; a failure is told on standard error.
int Emit(std::ostream& out, std::ostream& err, const std::string& text) {
    errno = 0;
    out << text;
    out.flush();
    if (out) return kDone;
    int error = errno;
    err << "vorn-identify: cannot write to standard output"
        << (error ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return kOutputLost;
}

// Why a key path cannot name a key, before any attempt to open it; empty when it may.
std::string WhyNoKey(const std::string& typed, const std::string& path) {
    if (typed.empty()) return "the name of the key is empty";
    if (DirectoryExists(path)) {
        return "\"" + typed + "\" is a folder, not the .DES file of a key";
    }
    if (SplitKeyFileName(path).Name.empty()) {
        return "\"" + typed + "\" names no file: it ends in \"/\"";
    }
    return {};
}

// The history list the History window would hold if it were open from the start: every
// state scored or listed, once, in the order it first appeared.
class ListedStates : public SessionEvents {
public:
    explicit ListedStates(const KeyRecord& key) : key_(key) {}
    void StateScored(int32_t state) override { Add(state); }
    void Add(int32_t state) {
        if (state < 0 || state >= key_.StateCount) return;
        if (listed_.size() < static_cast<size_t>(key_.StateCount)) listed_.resize(key_.StateCount);
        if (listed_[state]) return;
        listed_[state] = true;
        states_.push_back(state);
    }
    const std::vector<int32_t>& States() const { return states_; }

private:
    const KeyRecord& key_;
    std::vector<bool> listed_;
    std::vector<int32_t> states_;
};

// A number typed by the user, within [low, high]; nothing when it is not one.
std::optional<int32_t> NumberIn(const std::string& text, int32_t low, int32_t high) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    int32_t value = std::stoi(text);
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

int RunIdentify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    bool keepGoing = false;
    bool checkKey = false;
    bool efficiency = false;
    std::optional<int32_t> sample;
    int32_t tolerance = 0;
    std::optional<std::string> differencesArg;
    std::optional<std::string> historyOut;
    std::optional<std::string> reportOut;
    std::optional<std::string> keyPath;
    std::vector<std::string> actionArgs;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            json = true;
        } else if (arg == "--keep-going") {
            keepGoing = true;
        } else if (arg == "--save-history") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                err << "vorn-identify: --save-history needs a file name (try --help)\n";
                return kBadInput;
            }
            historyOut = AbsolutePath(args[++i]);
        } else if (arg == "--report") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                err << "vorn-identify: --report needs a file name (try --help)\n";
                return kBadInput;
            }
            if (std::string why = WhyNoReportFile(args[i + 1]); !why.empty()) {
                err << "vorn-identify: " << why << "\n";
                return kBadInput;
            }
            reportOut = AbsolutePath(args[++i]);
        } else if (arg == "--tolerance") {
            std::optional<int32_t> k =
                i + 1 < args.size() ? NumberIn(args[i + 1], 0, 99) : std::nullopt;
            if (!k) {
                err << "vorn-identify: --tolerance needs a whole number from 0 to 99 (try "
                       "--help)\n";
                return kBadInput;
            }
            tolerance = *k;
            ++i;
        } else if (arg == "--differences") {
            if (i + 1 >= args.size()) {
                err << "vorn-identify: --differences needs two taxon numbers, A,B (try --help)\n";
                return kBadInput;
            }
            differencesArg = args[++i];
        } else if (arg == "--check-key") {
            checkKey = true;
        } else if (arg == "--efficiency") {
            efficiency = true;
        } else if (arg == "--sample") {
            sample = i + 1 < args.size() ? NumberIn(args[i + 1], 1, 65535) : std::nullopt;
            if (!sample) {
                err << "vorn-identify: --sample needs a whole number from 1 to 65535 (try "
                       "--help)\n";
                return kBadInput;
            }
            ++i;
        } else if (arg == "--help" || arg == "-h") {
            return Emit(out, err, kUsage);
        } else if (arg == "--version") {
            return Emit(out, err, std::string("vorn-identify ") + VORN_VERSION + "\n");
        } else if (!keyPath) {
            keyPath = arg;
        } else {
            actionArgs.push_back(arg);
        }
    }
    if (!keyPath) {
        err << kUsage;
        return kBadInput;
    }
    if (efficiency &&
        (!actionArgs.empty() || historyOut || reportOut || differencesArg || checkKey)) {
        err << "vorn-identify: --efficiency measures the key as it opens: it takes no actions, "
               "--save-history, --report, --differences or --check-key (try --help)\n";
        return kBadInput;
    }
    if (sample && !efficiency) {
        err << "vorn-identify: --sample goes with --efficiency (try --help)\n";
        return kBadInput;
    }
    std::vector<Action> actions;
    for (const std::string& arg : actionArgs) {
        std::optional<Action> action = ParseAction(arg);
        if (!action) {
            err << "vorn-identify: unknown action \"" << arg << "\" (try --help)\n";
            return kBadInput;
        }
        // Absolute, so that opening the key cannot change what it names.
        if (action->Kind == Action::History) action->File = AbsolutePath(action->File);
        actions.push_back(*action);
    }

    Session session;
    KeyRecord& key = session.Key;
    ErrorStreamInterface ui(err);
    ListedStates listed(key);
    session.SetEvents(&listed);
    struct Restore {
        UserInterface* ui;
        ~Restore() { SetUserInterface(ui); }
    } restore{SetUserInterface(&ui)};

    std::string path = keyPath->empty() ? std::string() : AbsolutePath(*keyPath);
    if (std::string why = WhyNoKey(*keyPath, path); !why.empty()) {
        err << "vorn-identify: " << why << "\n";
        return kFailed;
    }
    try {
        OpenKey(session, path);
    } catch (const IoError& e) {
        err << "vorn-identify: " << e.what() << "\n";
        return kFailed;
    }
    if (!key.KeyOpen) {
        if (ui.Shown() == 0)
            err << "vorn-identify: the key \"" << *keyPath << "\" cannot be opened\n";
        return kFailed;
    }

    auto listState = [&listed](int32_t state) { listed.Add(state); };
    ReportOptions options;
    if (differencesArg) {
        size_t comma = differencesArg->find(',');
        std::optional<int32_t> a, b;
        if (comma != std::string::npos) {
            a = NumberIn(differencesArg->substr(0, comma), 1, key.TaxonCount);
            b = NumberIn(differencesArg->substr(comma + 1), 1, key.TaxonCount);
        }
        if (!a || !b) {
            err << "vorn-identify: --differences \"" << *differencesArg
                << "\": two taxon numbers from 1 to " << key.TaxonCount << " are needed, as A,B\n";
            return kBadInput;
        }
        options.differences = std::pair{*a - 1, *b - 1};
    }
    if (efficiency) {
        std::ostringstream report;
        try {
            Efficiency measured =
                MeasureEfficiency(key.Codes, tolerance, sample.value_or(kEfficiencySample));
            if (json) {
                WriteEfficiencyJson(report, key, measured);
            } else {
                WriteEfficiencyText(report, key, measured);
            }
        } catch (const IoError& e) {
            err << "vorn-identify: " << e.what() << "\n";
            return kFailed;
        }
        return Emit(out, err, report.str());
    }
    session.ChangeTolerance(tolerance);
    bool anyFailed = false;
    try {
        for (const Action& action : actions) {
            if (action.Kind == Action::Score) StateOf(action, key.StateCount);
        }
        for (size_t i = 0; i < actions.size(); ++i) {
            const Action& action = actions[i];
            try {
                switch (action.Kind) {
                    case Action::Score:
                        session.ScoreState(StateOf(action, key.StateCount), action.Request);
                        break;
                    case Action::Or:
                        session.ToggleOrMode();
                        break;
                    case Action::History: {
                        SkippedLines skipped = LoadHistoryList(session, action.File, listState);
                        if (skipped.Total() > 0) {
                            err << "vorn-identify: warning: "
                                << SkippedLinesText(session, action.File, skipped) << "\n";
                        }
                        break;
                    }
                    case Action::Undo:
                        session.Undo();
                        break;
                    case Action::Redo:
                        session.Redo();
                        break;
                    case Action::Reset:
                        ResetKey(session);
                        break;
                }
            } catch (const IoError& e) {
                if (keepGoing) {
                    err << "vorn-identify: action " << i + 1 << " (" << action.Text
                        << "): " << e.what() << "\n";
                    anyFailed = true;
                    continue;
                }
                // A history list that cannot be read is bad input; the key's own files
                // failing is not.
                if (action.Kind == Action::History && e.FileName() == action.File) {
                    throw BadInput{e.what()};
                }
                throw;
            }
        }
        if (historyOut) SaveHistoryList(session, *historyOut, listed.States());
        if (reportOut) {
            ReportRequest request;
            request.Listed = listed.States();
            std::string history = ReportHistoryFileName(*reportOut);
            request.HistoryFileName = history.substr(history.rfind('/') + 1);
            request.Made = std::time(nullptr);
            SaveReportFiles(session, *reportOut, ReportHtml(session, request), request.Listed);
        }
        if (checkKey) options.keyCheck = CheckKey(key.Codes);
        std::ostringstream report;
        if (json) {
            WriteJson(report, session, options);
        } else {
            WriteText(report, session, options);
        }
        if (int status = Emit(out, err, report.str()); status != kDone) return status;
    } catch (const BadInput& bad) {
        err << "vorn-identify: " << bad.message << "\n";
        return kBadInput;
    } catch (const IoError& e) {
        err << "vorn-identify: " << e.what() << "\n";
        return kFailed;
    }
    return anyFailed ? kFailed : kDone;
}

}  // namespace vorn
