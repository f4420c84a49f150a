#include "importers/delta/DeltaConvert.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <unordered_map>

#include "core/key/KeyFiles.h"
#include "core/platform/Text.h"
#include "importers/common/KeyBuilder.h"
#include "importers/delta/DeltaText.h"

namespace vorn::delta {
namespace {

using import::NumericState;
using import::ToWindows1252;

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr size_t kCommonNameSize = 40;
constexpr size_t kNotesWidth = 76;
constexpr const char* kCrLf = "\r\n";

bool IsMultistate(CharType type) {
    return type == CharType::Unordered || type == CharType::Ordered;
}

bool IsNumeric(CharType type) {
    return type == CharType::Integer || type == CharType::Real;
}

std::string Replace(std::string text, const char* from, char to) {
    for (char& c : text) {
        if (std::string_view(from).find(c) != std::string_view::npos) c = to;
    }
    return text;
}

std::string WithoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
    }
    return out;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t i = 0;
    while (true) {
        size_t end = text.find(separator, i);
        if (end == std::string_view::npos) {
            parts.push_back(text.substr(i));
            return parts;
        }
        parts.push_back(text.substr(i, end - i));
        i = end + 1;
    }
}

std::optional<int> StateNumber(std::string_view text) {
    if (text.empty() || text.size() > 7) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A decimal number at `i` (an optional sign only when `sign`), advancing `i`.
std::optional<double> ReadNumber(std::string_view text, size_t& i, bool sign) {
    size_t start = i;
    if (sign && i < text.size() && text[i] == '-') ++i;
    size_t digits = i;
    while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == '.'))
        ++i;
    if (i == digits) {
        i = start;
        return std::nullopt;
    }
    double value = 0;
    auto [end, error] = std::from_chars(text.data() + start, text.data() + i, value);
    if (error != std::errc() || end != text.data() + i || !std::isfinite(value)) {
        i = start;
        return std::nullopt;
    }
    return value;
}

// A value as it codes: what its alternatives name.
struct Value {
    bool Given = false;  // an attribute or an implicit value stands for the character
    std::string Error;   // why the value cannot be read; empty when it can
    bool Unknown = false;
    bool Variable = false;
    bool Dash = false;        // "-" among the alternatives
    std::vector<int> States;  // multistate: the states named, sorted, once each
    struct Span {
        double Low, High;              // extremes included
        double NormalLow, NormalHigh;  // extremes left out
    };
    std::vector<Span> Spans;      // numeric: one per alternative
    std::vector<double> Numbers;  // numeric: every number written
    bool OnlyDash() const { return Dash && States.empty() && Spans.empty(); }
};

// Reads the special alternatives U, V and -; true when `alt` is one of them.
bool SpecialAlternative(std::string_view alt, Value& value) {
    if (alt == "-") {
        value.Dash = true;
    } else if (alt == "U" || alt == "u") {
        value.Unknown = true;
    } else if (alt == "V" || alt == "v") {
        value.Variable = true;
    } else {
        return false;
    }
    return true;
}

Value MultistateValue(std::string_view written, int stateCount) {
    Value value;
    value.Given = true;
    std::string text = WithoutBlanks(RemoveComments(written));
    if (text.empty()) {
        value.Error = "the value is empty";
        return value;
    }
    for (std::string_view alt : Split(text, '/')) {
        for (std::string_view part : Split(alt, '&')) {
            if (SpecialAlternative(part, value)) continue;
            size_t dash = part.find('-');
            std::optional<int> first = StateNumber(part.substr(0, dash));
            std::optional<int> last =
                dash == std::string_view::npos ? first : StateNumber(part.substr(dash + 1));
            if (!first || !last || *first > *last) {
                value.Error = "\"" + std::string(part) + "\" is not a state number";
                return value;
            }
            if (*first < 1 || *last > stateCount) {
                value.Error = "the character has " + std::to_string(stateCount) +
                              (stateCount == 1 ? " state" : " states");
                return value;
            }
            for (int s = *first; s <= *last; ++s)
                value.States.push_back(s);
        }
    }
    std::sort(value.States.begin(), value.States.end());
    value.States.erase(std::unique(value.States.begin(), value.States.end()), value.States.end());
    return value;
}

Value NumericValue(std::string_view written) {
    Value value;
    value.Given = true;
    std::string text = WithoutBlanks(RemoveComments(written));
    if (text.empty()) {
        value.Error = "the value is empty";
        return value;
    }
    for (std::string_view alt : Split(text, '/')) {
        if (SpecialAlternative(alt, value)) continue;
        Value::Span span{kInfinity, -kInfinity, kInfinity, -kInfinity};
        for (std::string_view part : Split(alt, '&')) {
            // (low-)core-core(-high): extremes in parentheses around one number or a range.
            size_t i = 0;
            std::vector<std::pair<double, bool>> numbers;  // number, is an extreme
            bool ok = true;
            if (i < part.size() && part[i] == '(') {
                ++i;
                auto low = ReadNumber(part, i, true);
                ok = low && i + 1 < part.size() && part[i] == '-' && part[i + 1] == ')';
                if (ok) numbers.push_back({*low, true});
                i += 2;
            }
            std::optional<double> core = ok ? ReadNumber(part, i, true) : std::nullopt;
            ok = ok && core;
            if (ok) numbers.push_back({*core, false});
            if (ok && i < part.size() && part[i] == '-') {
                ++i;
                auto high = ReadNumber(part, i, false);
                ok = high.has_value();
                // a-m-b: m is the middle value, which codes nothing; b is the high end.
                if (ok && i + 1 < part.size() && part[i] == '-' && part[i + 1] != '(') {
                    ++i;
                    high = ReadNumber(part, i, false);
                    ok = high.has_value();
                }
                if (ok) numbers.push_back({*high, false});
            }
            if (ok && i < part.size() && part[i] == '(') {
                ok = i + 1 < part.size() && part[i + 1] == '-';
                i += 2;
                auto high = ok ? ReadNumber(part, i, true) : std::nullopt;
                ok = high && i < part.size() && part[i] == ')';
                if (ok) numbers.push_back({*high, true});
                ++i;
            }
            if (!ok || i != part.size()) {
                value.Error = "\"" + std::string(part) + "\" is not a number or a range";
                return value;
            }
            for (auto [number, extreme] : numbers) {
                value.Numbers.push_back(number);
                span.Low = std::min(span.Low, number);
                span.High = std::max(span.High, number);
                if (!extreme) {
                    span.NormalLow = std::min(span.NormalLow, number);
                    span.NormalHigh = std::max(span.NormalHigh, number);
                }
            }
        }
        value.Spans.push_back(span);
    }
    return value;
}

struct CharInfo {
    const Character* Source = nullptr;
    int Number = 0;
    CharType Type = CharType::Unordered;
    std::string Text;     // without a final ":"
    std::string KeyText;  // Text as key text
    std::string Caption;  // for the index: its words without the comments before the first
    std::string Words;    // its words, comments included
    std::vector<std::string> StateTexts;    // key text
    std::vector<std::string> StateWords;    // key text, comments included
    std::vector<std::string> StateSources;  // as written
    std::string Units;
    bool Excluded = false;
    bool Skipped = false;  // by the user's choice: no states, no notes
    bool NormalValues = false;
    const std::string* Implicit = nullptr;
    const std::string* KeyStates = nullptr;
    // The states it gives.
    std::vector<import::StateName> Texts;
    std::vector<std::vector<int>> Groups;  // multistate: the states of each key state
    std::vector<NumericState> Ranges;      // numeric
    std::string LeftOut;                   // why it gives no states; empty when it does
};

// The index of a text's first word: past the blanks and the comments before it.
size_t LeadingComments(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n') {
            ++i;
        } else if (text[i] == '<') {
            i = CommentEnd(text, i);
        } else {
            break;
        }
    }
    return i;
}

std::string WithoutFinalColon(std::string text) {
    while (!text.empty() && (text.back() == ':' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += separator;
        out += parts[i];
    }
    return out;
}

class Converter {
public:
    Converter(const Dataset& dataset, const ConvertOptions& options,
              const std::vector<bool>& hasImage)
        : data_(dataset), options_(options), hasImage_(hasImage) {}

    Conversion Run() {
        result_.ItemCount = static_cast<int>(data_.Items.size());
        result_.CharacterCount = static_cast<int>(data_.Characters.size());
        if (result_.ItemCount > MaxKeyItems) {
            result_.TooManyItems = true;
            return std::move(result_);
        }
        if (static_cast<uint64_t>(data_.Items.size()) * data_.Characters.size() > MaxCells) {
            result_.TooLarge = true;
            return std::move(result_);
        }
        DescribeCharacters();
        GatherAttributes();
        for (CharInfo& c : chars_)
            MakeStates(c);
        ChooseCharacters();
        if (used_.empty() || items_.empty()) {
            result_.NoStates = true;
            return std::move(result_);
        }
        if (result_.StateCount > MaxKeyItems) {
            result_.TooManyStates = true;
            return std::move(result_);
        }
        WriteCodes();
        WriteTaxa();
        WriteIndex();
        WriteTitle();
        result_.Key.Name = options_.Name;
        result_.Unwritable = write_.Unwritable();
        return std::move(result_);
    }

private:
    void DescribeCharacters() {
        for (const Character& source : data_.Characters) {
            if (index_.count(source.Number)) {
                result_.LeftOut.push_back("character " + std::to_string(source.Number) +
                                          " is listed twice; the second is left out");
                continue;
            }
            CharInfo c;
            c.Source = &source;
            c.Number = source.Number;
            for (const auto& [range, type] : data_.Types) {
                if (range.Contains(c.Number)) c.Type = type;
            }
            std::string text = CleanText(source.Text);
            if (text.empty()) text = FirstCommentWords(source.Text);
            c.Text = WithoutFinalColon(text);
            if (c.Text.empty()) c.Text = "Character " + std::to_string(c.Number);
            c.KeyText = write_(c.Text);
            c.Words = Squeeze(RemoveMarks(CommentsAsWords(source.Text)));
            c.Caption = WithoutFinalColon(Squeeze(
                RemoveMarks(CommentsAsWords(source.Text.substr(LeadingComments(source.Text))))));
            if (c.Caption.empty()) c.Caption = c.Text;
            for (const Character::Part& part : source.Parts) {
                if (IsNumeric(c.Type)) {
                    if (c.Units.empty()) c.Units = CleanText(part.Text);
                } else if (IsMultistate(c.Type)) {
                    if (part.Number != static_cast<int>(c.StateTexts.size()) + 1) {
                        Unreadable(c.Number, -1,
                                   part.Number <= 0 ? import::CutUtf8(CleanText(part.Text), 30)
                                                    : std::to_string(part.Number),
                                   "state " + std::to_string(c.StateTexts.size() + 1) +
                                       " of the character list is numbered otherwise");
                    }
                    std::string state = CleanText(part.Text);
                    c.StateTexts.push_back(
                        write_(state.empty() ? FirstCommentWords(part.Text) : state));
                    c.StateWords.push_back(
                        ToWindows1252(Squeeze(RemoveMarks(CommentsAsWords(part.Text)))));
                    c.StateSources.push_back(part.Text);
                }
            }
            for (const CharRange& range : data_.Excluded)
                c.Excluded = c.Excluded || range.Contains(c.Number);
            c.Skipped = std::find(options_.SkipCharacters.begin(), options_.SkipCharacters.end(),
                                  c.Number) != options_.SkipCharacters.end();
            for (const CharRange& range : data_.NormalValues)
                c.NormalValues = c.NormalValues || range.Contains(c.Number);
            for (const auto& [range, value] : data_.ImplicitValues) {
                if (range.Contains(c.Number)) c.Implicit = &value;
            }
            for (const auto& [range, states] : data_.KeyStates) {
                if (range.Contains(c.Number)) c.KeyStates = &states;
            }
            index_[c.Number] = static_cast<int>(chars_.size());
            chars_.push_back(std::move(c));
        }
        for (int number : options_.SkipCharacters) {
            if (!index_.count(number)) result_.UnknownSkipped.push_back(number);
        }
        for (const DependencyRule& rule : data_.Rules) {
            for (const CharRange& range : rule.Dependents) {
                for (const CharInfo& c : chars_) {
                    if (range.Contains(c.Number)) rulesFor_[c.Number].push_back(&rule);
                }
            }
        }
    }

    // Every item's attributes by character; a variant starts from its ordinary item.
    void GatherAttributes() {
        std::optional<size_t> base;
        for (size_t i = 0; i < data_.Items.size(); ++i) {
            const Item& item = data_.Items[i];
            bool variant = item.Variant && base;
            std::vector<const Attribute*> own =
                variant ? items_[*base] : std::vector<const Attribute*>(chars_.size(), nullptr);
            for (const Attribute& a : item.Attributes) {
                auto found = index_.find(a.Char);
                if (found == index_.end()) {
                    Unreadable(a.Char, static_cast<int>(i), CleanText(a.Value),
                               "the character list has no character " + std::to_string(a.Char));
                    continue;
                }
                own[static_cast<size_t>(found->second)] = &a;
            }
            items_.push_back(std::move(own));
            if (!variant) base = i;
        }
    }

    Value Parse(const CharInfo& c, const std::string& written) const {
        if (IsNumeric(c.Type)) return NumericValue(written);
        return MultistateValue(written, static_cast<int>(c.StateTexts.size()));
    }

    // The value that stands for character `ci` in item `item`: given, else implicit
    // (when the character is applicable); Given is false when there is none.
    Value ValueOf(size_t item, size_t ci, bool* inapplicable) {
        const CharInfo& c = chars_[ci];
        *inapplicable = false;
        if (const Attribute* a = items_[item][ci]) {
            if (!a->HasValue) {
                Value unknown;
                unknown.Given = true;
                unknown.Unknown = true;
                return unknown;
            }
            return Parse(c, a->Value);
        }
        if (Inapplicable(item, ci)) {
            *inapplicable = true;
            return {};
        }
        if (c.Implicit) return Parse(c, *c.Implicit);
        return {};
    }

    // An omitted character is inapplicable when a rule on it holds: its controlling
    // character names only states of the rule, or is itself inapplicable. Each character's
    // answer is worked out once per item: rules that share controlling characters would
    // otherwise be followed again along every path, exponentially often; a rule that leads
    // back to a character still being worked out (a circle) does not hold.
    bool Inapplicable(size_t item, size_t ci) {
        if (memo_.empty()) memo_.assign(items_.size() * chars_.size(), Memo::Unknown);
        Memo& memo = memo_[item * chars_.size() + ci];
        if (memo == Memo::Working) return false;
        if (memo != Memo::Unknown) return memo == Memo::Yes;
        memo = Memo::Working;
        bool result = InapplicableByRules(item, ci);
        memo_[item * chars_.size() + ci] = result ? Memo::Yes : Memo::No;
        return result;
    }

    bool InapplicableByRules(size_t item, size_t ci) {
        auto rules = rulesFor_.find(chars_[ci].Number);
        if (rules == rulesFor_.end() || items_[item][ci]) return false;
        for (const DependencyRule* rule : rules->second) {
            auto found = index_.find(rule->Char);
            if (found == index_.end()) continue;
            size_t controlling = static_cast<size_t>(found->second);
            const CharInfo& c = chars_[controlling];
            if (!IsMultistate(c.Type)) continue;
            Value value;
            if (const Attribute* a = items_[item][controlling]) {
                if (!a->HasValue) continue;
                value = Parse(c, a->Value);
            } else if (Inapplicable(item, controlling)) {
                return true;
            } else if (c.Implicit) {
                value = Parse(c, *c.Implicit);
            } else {
                continue;
            }
            if (!value.Error.empty() || value.Unknown) continue;
            if (value.OnlyDash()) return true;
            std::vector<int> named = value.States;
            if (value.Variable) {
                named.clear();
                for (int s = 1; s <= static_cast<int>(c.StateTexts.size()); ++s)
                    named.push_back(s);
            }
            bool onlyK = !named.empty();
            for (int s : named) {
                bool inK = false;
                for (const CharRange& k : rule->States)
                    inK = inK || k.Contains(s);
                onlyK = onlyK && inK;
            }
            if (onlyK) return true;
        }
        return false;
    }

    void MakeStates(CharInfo& c) {
        if (c.Skipped) {
            c.LeftOut = "skipped";
        } else if (c.Type == CharType::Text) {
            c.LeftOut = "a text character gives no states";
        } else if (c.Excluded) {
            c.LeftOut = "excluded by *EXCLUDE CHARACTERS";
        } else if (IsMultistate(c.Type)) {
            MultistateStates(c);
        } else {
            NumericStates(c);
        }
    }

    void MultistateStates(CharInfo& c) {
        int n = static_cast<int>(c.StateTexts.size());
        if (n == 0) {
            c.LeftOut = "the character list gives it no states";
            return;
        }
        if (c.KeyStates) {
            for (std::string_view group : Split(*c.KeyStates, '/')) {
                std::vector<int> members;
                size_t dash = group.find('-');
                std::optional<int> first = StateNumber(group.substr(0, dash));
                std::optional<int> last =
                    dash == std::string_view::npos ? first : StateNumber(group.substr(dash + 1));
                if (!first || !last || *first < 1 || *last < *first || *last > n) {
                    Unreadable(c.Number, -1, *c.KeyStates,
                               "*KEY STATES: \"" + std::string(group) +
                                   "\" is not a range of its states; its own states are used");
                    c.Groups.clear();
                    break;
                }
                for (int s = *first; s <= *last; ++s)
                    members.push_back(s);
                c.Groups.push_back(members);
            }
        }
        if (c.Groups.empty()) {
            for (int s = 1; s <= n; ++s)
                c.Groups.push_back({s});
        }
        for (const std::vector<int>& members : c.Groups) {
            std::vector<std::string> texts, words, sources;
            for (int s : members) {
                texts.push_back(c.StateTexts[static_cast<size_t>(s - 1)]);
                words.push_back(c.StateWords[static_cast<size_t>(s - 1)]);
                sources.push_back(c.StateSources[static_cast<size_t>(s - 1)]);
            }
            AddState(c, Join(texts, " or "), Join(words, " or "), Join(sources, "/"));
        }
    }

    void NumericStates(CharInfo& c) {
        std::string units = c.Units.empty() ? std::string() : " " + write_(c.Units);
        if (c.KeyStates && KeyRanges(c, units)) return;
        // Tertiles of every number the items write for the character.
        std::vector<double> numbers;
        for (const Item& item : data_.Items) {
            for (const Attribute& a : item.Attributes) {
                if (a.Char != c.Number || !a.HasValue) continue;
                Value value = NumericValue(a.Value);
                if (value.Error.empty())
                    numbers.insert(numbers.end(), value.Numbers.begin(), value.Numbers.end());
            }
        }
        auto tertiles = import::TertilesOf(numbers, c.Type == CharType::Integer, c.Units);
        if (!tertiles) {
            c.LeftOut = "no item gives a number for it";
            return;
        }
        c.Ranges = tertiles->States;
        for (const std::string& label : tertiles->Labels)
            AddState(c, write_(label), "", label);
    }

    // The key states of a numeric character: "~a", "a-b", "b~" or "a". False (and a
    // report line) when they cannot be read.
    bool KeyRanges(CharInfo& c, const std::string& units) {
        for (std::string_view written : Split(*c.KeyStates, '/')) {
            std::string range(written);
            NumericState state{-kInfinity, kInfinity};
            std::string text;
            size_t i = 0;
            bool ok = false;
            if (!range.empty() && range[0] == '~') {
                i = 1;
                auto high = ReadNumber(range, i, true);
                ok = high && i == range.size();
                if (ok) state.High = *high;
                text = "up to " + range.substr(1);
            } else if (!range.empty() && range.back() == '~') {
                auto low = ReadNumber(range, i, true);
                ok = low && i + 1 == range.size();
                if (ok) state.Low = *low;
                text = "from " + range.substr(0, range.size() - 1);
            } else {
                auto low = ReadNumber(range, i, true);
                if (low && i == range.size()) {
                    ok = true;
                    state.Low = state.High = *low;
                    text = range;
                } else if (low && i < range.size() && range[i] == '-') {
                    size_t from = ++i;
                    auto high = ReadNumber(range, i, true);
                    ok = high && i == range.size() && *high >= *low;
                    if (ok) {
                        state.Low = *low;
                        state.High = *high;
                        text = range.substr(0, from - 1) + " to " + range.substr(from);
                    }
                }
            }
            if (!ok) {
                Unreadable(
                    c.Number, -1, *c.KeyStates,
                    "*KEY STATES: \"" + range +
                        "\" is not a number or a range; the character's own ranges are used");
                c.Ranges.clear();
                c.Texts.clear();
                return false;
            }
            c.Ranges.push_back(state);
            AddState(c, write_(text) + units, "", range);
        }
        return !c.Ranges.empty();
    }

    // A state that `c` gives, named by its key texts and the dataset's words.
    void AddState(CharInfo& c, const std::string& text, const std::string& words,
                  const std::string& source) {
        import::StateName name;
        name.Character = c.KeyText;
        name.State = text;
        std::string characterWords = ToWindows1252(WithoutFinalColon(c.Words));
        if (characterWords != c.KeyText) name.CharacterWords = characterWords;
        if (words != text) name.StateWords = words;
        name.Source = c.Source->Text + "\n" + source;
        name.CharacterNumber = c.Number;
        name.StateNumber = static_cast<int>(c.Texts.size()) + 1;
        c.Texts.push_back(std::move(name));
    }

    void ChooseCharacters() {
        for (size_t ci = 0; ci < chars_.size(); ++ci) {
            CharInfo& c = chars_[ci];
            if (c.LeftOut.empty()) {
                used_.push_back(ci);
                result_.StateCount += static_cast<int>(c.Texts.size());
            } else if (c.Skipped) {
                result_.Skipped.push_back("character " + std::to_string(c.Number) + " (" + c.Text +
                                          ")");
            } else {
                result_.LeftOut.push_back("character " + std::to_string(c.Number) + " (" + c.Text +
                                          "): " + c.LeftOut);
            }
        }
        result_.CharactersWithStates = static_cast<int>(used_.size());
    }

    void WriteCodes() {
        KeyContents& key = result_.Key;
        size_t taxa = items_.size();
        std::vector<import::StateName> names;
        for (size_t ci : used_) {
            const CharInfo& c = chars_[ci];
            size_t first = key.Codes.size();
            for (const import::StateName& name : c.Texts) {
                names.push_back(name);
                key.Codes.emplace_back(taxa, '?');
            }
            for (size_t t = 0; t < taxa; ++t) {
                bool inapplicable = false;
                Value value = ValueOf(t, ci, &inapplicable);
                std::string codes = Codes(c, value, inapplicable, t);
                for (size_t s = 0; s < codes.size(); ++s)
                    key.Codes[first + s][t] = codes[s];
            }
        }
        import::SetStateTexts(import::WholeStateTexts(names, result_.SameTexts), key);
    }

    std::string Codes(const CharInfo& c, const Value& value, bool inapplicable, size_t item) {
        size_t n = c.Texts.size();
        if (inapplicable) return std::string(n, '-');
        if (!value.Given || value.Unknown) return std::string(n, '?');
        if (!value.Error.empty()) {
            const Attribute* a = items_[item][static_cast<size_t>(index_[c.Number])];
            Unreadable(c.Number, static_cast<int>(item),
                       a            ? CleanText(a->Value)
                       : c.Implicit ? *c.Implicit
                                    : std::string(),
                       value.Error + (a ? "" : " (implicit value)"));
            return std::string(n, '?');
        }
        if (value.Variable) return std::string(n, '*');
        if (value.OnlyDash()) return std::string(n, '-');
        std::vector<bool> hit(n, false);
        size_t hits = 0;
        for (size_t s = 0; s < n; ++s) {
            if (IsMultistate(c.Type)) {
                for (int state : value.States) {
                    const std::vector<int>& g = c.Groups[s];
                    hit[s] = hit[s] || std::find(g.begin(), g.end(), state) != g.end();
                }
            } else {
                for (const Value::Span& span : value.Spans) {
                    double low = c.NormalValues ? span.NormalLow : span.Low;
                    double high = c.NormalValues ? span.NormalHigh : span.High;
                    if (low > high) {  // extremes only: nothing normal is left
                        low = span.Low;
                        high = span.High;
                    }
                    hit[s] = hit[s] || c.Ranges[s].Hit(low, high);
                }
            }
            hits += hit[s];
        }
        if (hits == 0) return std::string(n, '?');
        char mark = hits == 1 && !value.Dash ? '+' : '*';
        std::string codes(n, '-');
        for (size_t s = 0; s < n; ++s) {
            if (hit[s]) codes[s] = mark;
        }
        return codes;
    }

    void WriteTaxa() {
        const CharInfo* common = nullptr;
        for (const CharInfo& c : chars_) {
            if (c.Type != CharType::Text || c.Skipped) continue;
            if (FoldCase(c.Text).find("common name") != std::string::npos) common = &c;
            break;
        }
        std::vector<import::TaxonParts> parts;
        for (size_t t = 0; t < items_.size(); ++t) {
            import::TaxonParts p;
            char number[8];
            std::snprintf(number, sizeof number, "%04d", static_cast<int>(t + 1));
            p.Name = write_(TaxonName(data_.Items[t], static_cast<int>(t + 1)));
            if (common) {
                const Attribute* a = items_[t][static_cast<size_t>(index_[common->Number])];
                std::string text = a ? Squeeze(Replace(CommentContents(a->Comments + a->Value),
                                                       std::string(1, LineBreak).c_str(), ' '))
                                     : std::string();
                std::string written = ToWindows1252(Replace(text, "|>", '-'));
                if (written.size() <= kCommonNameSize) p.Common = write_(Replace(text, "|>", '-'));
            }
            if (t < hasImage_.size() && hasImage_[t]) p.Image = std::string("I") + number;
            std::string notes = Notes(t);
            if (!notes.empty()) {
                p.Notes = std::string("T") + number + ".TXT";
                result_.Notes.push_back({p.Notes, notes});
            }
            parts.push_back(std::move(p));
        }
        import::WriteTaxonRecords(std::move(parts), result_.Key);
    }

    // The notes of item `t`: its name, then a paragraph per text character and numeric
    // value; empty when it has neither.
    std::string Notes(size_t t) {
        std::string body;
        for (size_t ci = 0; ci < chars_.size(); ++ci) {
            const CharInfo& c = chars_[ci];
            const Attribute* a = items_[t][ci];
            if (!a || c.Skipped) continue;
            std::string text;
            if (c.Type == CharType::Text) {
                text = CommentContents(a->Comments + a->Value);
            } else if (IsNumeric(c.Type) && a->HasValue) {
                Value value = NumericValue(a->Value);
                if (value.Numbers.empty()) continue;
                text = CleanText(a->Value) + (c.Units.empty() ? "" : " " + c.Units);
            }
            if (text.empty()) continue;
            body += kCrLf;
            body +=
                import::WrapText(c.Text + " (character " + std::to_string(c.Number) + "): " + text,
                                 kNotesWidth, kCrLf, write_);
        }
        if (body.empty()) return {};
        return import::WrapText(TaxonName(data_.Items[t], static_cast<int>(t + 1)), kNotesWidth,
                                kCrLf, write_) +
               body;
    }

    void WriteIndex() {
        std::vector<import::IndexCharacter> index;
        for (size_t ci : used_) {
            const CharInfo& c = chars_[ci];
            index.push_back({c.Caption, c.Words, c.Number, static_cast<int>(c.Texts.size()), ""});
        }
        result_.Key.Index = import::BuildIndex(index, write_);
    }

    void WriteTitle() {
        std::string title = options_.Title;
        if (title.empty()) title = TitleFromShow(data_.Show);
        if (title.empty() && !options_.DatasetName.empty()) {
            title = options_.DatasetName;
            if (title[0] >= 'a' && title[0] <= 'z')
                title[0] = static_cast<char>(title[0] - 'a' + 'A');
        }
        if (title.empty()) title = options_.Name;
        result_.Key.TitleLines = import::TitlePage(
            title, {options_.Credit}, items_.size(), result_.Key.States.size(), used_.size(),
            "Converted from the DELTA dataset " + options_.DatasetName, write_);
    }

    void Unreadable(int character, int item, const std::string& value, const std::string& why) {
        std::string line = "character " + std::to_string(character);
        if (item >= 0) {
            line += ", item " + std::to_string(item + 1) + " (" +
                    TaxonName(data_.Items[static_cast<size_t>(item)], item + 1) + ")";
        }
        result_.Unreadable.push_back(line + ": \"" + WithPlainLess(value) +
                                     "\": " + WithPlainLess(why));
    }

    const Dataset& data_;
    const ConvertOptions& options_;
    const std::vector<bool>& hasImage_;
    Conversion result_;
    import::KeyTextWriter write_;
    std::vector<CharInfo> chars_;
    std::unordered_map<int, int> index_;  // character number to position in chars_
    std::unordered_map<int, std::vector<const DependencyRule*>> rulesFor_;
    std::vector<std::vector<const Attribute*>> items_;
    std::vector<size_t> used_;  // the characters that give states
    enum class Memo : uint8_t { Unknown, Working, No, Yes };
    std::vector<Memo> memo_;  // per item and character
};

}  // namespace

std::string TitleFromShow(const std::string& show) {
    std::string title = CleanText(Replace(show, "~", ' '));
    auto trim = [&](const char* chars) {
        while (!title.empty() && std::string_view(chars).find(title.back()) != std::string::npos)
            title.pop_back();
    };
    trim(" .");
    std::string lower = FoldCase(title);
    // The long form counts in the plural and in the singular.
    const std::string_view longForm = "specifications";
    for (std::string_view word :
         {longForm, longForm.substr(0, longForm.size() - 1), std::string_view("specs")}) {
        size_t size = word.size();
        if (lower.size() >= size && lower.compare(lower.size() - size, size, word) == 0 &&
            (lower.size() == size ||
             !std::isalpha(static_cast<unsigned char>(lower[lower.size() - size - 1])))) {
            title.resize(title.size() - size);
            for (size_t before = 0; before != title.size();) {
                before = title.size();
                trim(" -:,;.");
                for (std::string_view dash : {"\u2013", "\u2014"}) {
                    if (title.size() >= dash.size() &&
                        title.compare(title.size() - dash.size(), dash.size(), dash) == 0)
                        title.resize(title.size() - dash.size());
                }
            }
            break;
        }
    }
    std::string folded = FoldCase(title);
    for (const char* nothing : {"dataset", "data set", "test data set", "character list"}) {
        if (folded == nothing) return {};
    }
    return title;
}

std::string TaxonName(const Item& item, int number) {
    std::string name = Replace(CleanText(item.Name), "/|>", '-');
    size_t start = name.find_first_not_of("$ ");
    name = start == std::string::npos ? std::string() : name.substr(start);
    return name.empty() ? "Item " + std::to_string(number) : name;
}

std::vector<std::vector<PictureFile>> PlanPictures(
    const Dataset& dataset,
    const std::function<std::string(const std::string&, std::string*)>& find,
    std::vector<std::string>& missing) {
    std::vector<std::vector<PictureFile>> plan(dataset.Items.size());
    std::unordered_map<std::string, size_t> byName;
    for (size_t i = dataset.Items.size(); i-- > 0;)
        byName[CleanText(dataset.Items[i].Name)] = i;
    for (const TaxonImages& images : dataset.Images) {
        auto found = byName.find(CleanText(images.Name));
        if (found == byName.end()) {
            missing.push_back("taxon images of \"" + CleanText(images.Name) +
                              "\": no item has this name");
            continue;
        }
        size_t i = found->second;
        char number[8];
        std::snprintf(number, sizeof number, "%04d", static_cast<int>(i + 1));
        std::vector<PictureFile>& files = plan[i];
        bool jpeg = false;
        int gifs = 0;
        std::string firstGif;
        for (const PictureFile& file : files) {  // an item named twice in timages
            jpeg = jpeg || file.Target.find(".JPG") != std::string::npos;
            gifs += file.Target.find(".GIF") != std::string::npos;
        }
        for (const std::string& name : images.Files) {
            bool isJpeg = EndsWithIgnoringCase(name, ".jpg") || EndsWithIgnoringCase(name, ".jpeg");
            bool isGif = EndsWithIgnoringCase(name, ".gif");
            std::string why;
            std::string path = find(name, &why);
            if (!isJpeg && !isGif) {
                // Sounds and other files are no pictures of the key, but a name that
                // would lead out of the dataset is told as a picture's would be.
                if (path.empty() && why != "not found") {
                    missing.push_back("picture \"" + name + "\" of " + CleanText(images.Name) +
                                      ": " + why);
                }
                continue;
            }
            if (path.empty()) {
                missing.push_back("picture \"" + name + "\" of " + CleanText(images.Name) + ": " +
                                  why);
                continue;
            }
            if (isJpeg && !jpeg) {
                files.push_back({path, std::string("I") + number + ".JPG", false});
                jpeg = true;
            } else if (isGif) {
                char gif[16];
                std::snprintf(gif, sizeof gif, "%02d", ++gifs);
                files.push_back({path, std::string("I") + number + gif + ".GIF", false});
                if (firstGif.empty()) firstGif = path;
            }
        }
        if (!jpeg && !firstGif.empty()) {
            files.push_back({firstGif, std::string("I") + number + ".JPG", true});
        }
    }
    return plan;
}

Conversion Convert(const Dataset& dataset, const ConvertOptions& options,
                   const std::vector<bool>& hasImage) {
    return Converter(dataset, options, hasImage).Run();
}

}  // namespace vorn::delta
