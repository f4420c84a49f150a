#include "importers/sdd/SddConvert.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <unordered_map>

#include "core/key/KeyFiles.h"
#include "importers/common/KeyBuilder.h"

namespace vorn::sdd {
namespace {

constexpr size_t kNotesWidth = 76;
constexpr const char* kCrLf = "\r\n";

bool IsUnknownStatus(const std::string& status) {
    return status == "DataUnavailable" || status == "ToBeChecked";
}

std::string Replace(std::string text, const char* from, char to) {
    for (char& c : text) {
        if (std::string_view(from).find(c) != std::string_view::npos) c = to;
    }
    return text;
}

std::string Number(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

struct CharInfo {
    const Character* Source = nullptr;
    bool Skipped = false;  // by the user's choice: no states, no notes
    std::vector<import::StateName> Texts;
    std::vector<import::NumericState> Ranges;
    std::string LeftOut;
};

class Converter {
public:
    Converter(const Document& document, const ConvertOptions& options,
              const std::vector<bool>& taxonHasImage,
              const std::map<std::string, std::string>& characterImages)
        : doc_(document),
          options_(options),
          hasImage_(taxonHasImage),
          characterImages_(characterImages) {}

    Conversion Run() {
        if (doc_.Descriptions.empty()) return Refuse("the document has no coded descriptions");
        bool coded = std::any_of(doc_.Characters.begin(), doc_.Characters.end(),
                                 [](const auto& c) { return c.Kind != CharacterKind::Text; });
        if (!coded) return Refuse("the document has no categorical or quantitative character");
        if (doc_.Descriptions.size() > static_cast<size_t>(MaxKeyItems)) {
            return Refuse("the document has " + std::to_string(doc_.Descriptions.size()) +
                          " descriptions; a key holds at most " + std::to_string(MaxKeyItems) +
                          " taxa");
        }
        IndexEntries();
        for (const std::string& id : options_.SkipCharacters) {
            if (!charIndex_.count(id)) result_.UnknownSkipped.push_back(id);
        }
        for (CharInfo& c : chars_) {
            const std::vector<std::string>& skip = options_.SkipCharacters;
            c.Skipped = std::find(skip.begin(), skip.end(), c.Source->Id) != skip.end();
        }
        if (!result_.UnknownSkipped.empty()) return std::move(result_);
        for (CharInfo& c : chars_)
            MakeStates(c);
        for (size_t ci = 0; ci < chars_.size(); ++ci) {
            const CharInfo& c = chars_[ci];
            if (c.Skipped) {
                result_.Skipped.push_back("character " + std::to_string(ci + 1) + " (" +
                                          c.Source->Label + "), id " + c.Source->Id);
            } else if (c.LeftOut.empty()) {
                used_.push_back(ci);
                result_.StateCount += static_cast<int>(c.Texts.size());
            } else {
                result_.LeftOut.push_back("character " + std::to_string(ci + 1) + " (" +
                                          c.Source->Label + "): " + c.LeftOut);
            }
        }
        result_.CharactersWithStates = static_cast<int>(used_.size());
        if (used_.empty()) return Refuse("no character of the document gives states");
        if (result_.StateCount > MaxKeyItems) {
            return Refuse("the document's characters give " + std::to_string(result_.StateCount) +
                          " states; a key holds at most " + std::to_string(MaxKeyItems));
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
    Conversion Refuse(const std::string& why) {
        result_.Refusal = why;
        return std::move(result_);
    }

    void IndexEntries() {
        for (size_t ci = 0; ci < doc_.Characters.size(); ++ci) {
            const Character& c = doc_.Characters[ci];
            if (!charIndex_.emplace(c.Id, ci).second) {
                result_.Problems.push_back("character id \"" + c.Id +
                                           "\" is used twice; its second character has no data");
            }
            chars_.push_back({&c, false, {}, {}, {}});
            for (const State& s : c.States)
                stateOwner_.emplace(s.Id, ci);
        }
        for (const DependencyRule& rule : doc_.Rules) {
            auto found = charIndex_.find(rule.Dependent);
            if (found != charIndex_.end()) rulesFor_[found->second].push_back(&rule);
        }
        entries_.resize(doc_.Descriptions.size());
        for (size_t t = 0; t < doc_.Descriptions.size(); ++t) {
            for (const Entry& e : doc_.Descriptions[t].Entries) {
                auto found = charIndex_.find(e.Character);
                if (found == charIndex_.end() || doc_.Characters[found->second].Kind != e.Kind) {
                    Problem(t, "an entry for \"" + e.Character +
                                   "\", which is no character of its kind, is left out");
                    continue;
                }
                entries_[t].emplace(found->second, &e);
            }
        }
    }

    // The entry of description `t` for character `ci`; null when it has none.
    const Entry* EntryOf(size_t t, size_t ci) const {
        auto found = entries_[t].find(ci);
        return found == entries_[t].end() ? nullptr : found->second;
    }

    void Problem(size_t t, const std::string& what) {
        result_.Problems.push_back("description " + std::to_string(t + 1) + " (" + TaxonName(t) +
                                   "): " + what);
    }

    // The low and high ends of a quantitative entry: the smaller of Min and UMethLower,
    // the larger of Max and UMethUpper; else the Mean; else the other measures.
    static std::optional<std::pair<double, double>> Span(const Entry& e) {
        constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
        double low = kNone, high = kNone, mean = kNone, otherLow = kNone, otherHigh = kNone;
        auto less = [](double a, double b) { return std::isnan(a) ? b : std::min(a, b); };
        auto more = [](double a, double b) { return std::isnan(a) ? b : std::max(a, b); };
        for (const Measure& m : e.Measures) {
            if (m.Type == "Min" || m.Type == "UMethLower") {
                low = less(low, m.Value);
            } else if (m.Type == "Max" || m.Type == "UMethUpper") {
                high = more(high, m.Value);
            } else if (m.Type == "Mean") {
                mean = m.Value;
            } else if (m.Type != "N" && m.Type != "SD" && m.Type != "Var" && m.Type != "SEM" &&
                       m.Type != "CV") {
                otherLow = less(otherLow, m.Value);
                otherHigh = more(otherHigh, m.Value);
            }
        }
        if (std::isnan(low)) low = high;
        if (std::isnan(high)) high = low;
        if (std::isnan(low)) low = high = mean;
        if (std::isnan(low)) {
            low = otherLow;
            high = otherHigh;
        }
        if (std::isnan(low)) return std::nullopt;
        return std::make_pair(std::min(low, high), std::max(low, high));
    }

    void MakeStates(CharInfo& c) {
        if (c.Skipped) return;
        const Character& source = *c.Source;
        std::string name = write_(source.Label.empty() ? source.Id : source.Label);
        if (source.Kind == CharacterKind::Text) {
            c.LeftOut = "a text character gives no states";
        } else if (source.Kind == CharacterKind::Categorical) {
            if (source.States.empty()) c.LeftOut = "it has no states";
            for (const State& s : source.States) {
                const std::string& label = s.Label.empty() ? s.Id : s.Label;
                AddState(c, name, write_(label), label);
            }
        } else {
            std::vector<double> numbers;
            size_t ci = static_cast<size_t>(&c - chars_.data());
            for (size_t t = 0; t < entries_.size(); ++t) {
                const Entry* e = EntryOf(t, ci);
                if (!e || IsUnknownStatus(e->Status) || e->Status == "NotApplicable") continue;
                if (auto span = Span(*e)) {
                    numbers.push_back(span->first);
                    numbers.push_back(span->second);
                }
            }
            auto tertiles = import::TertilesOf(numbers, source.Integer, source.Unit);
            if (!tertiles) {
                c.LeftOut = "no description gives a number for it";
                return;
            }
            c.Ranges = tertiles->States;
            for (const std::string& label : tertiles->Labels)
                AddState(c, name, write_(label), label);
        }
    }

    // A state that `c` gives, named by its key texts and the document's labels.
    void AddState(CharInfo& c, const std::string& character, const std::string& state,
                  const std::string& label) {
        import::StateName n;
        n.Character = character;
        n.State = state;
        n.Source = (c.Source->Label.empty() ? c.Source->Id : c.Source->Label) + "\n" + label;
        n.CharacterNumber = static_cast<int>(&c - chars_.data()) + 1;
        n.StateNumber = static_cast<int>(c.Texts.size()) + 1;
        c.Texts.push_back(std::move(n));
    }

    // The states an entry lists (a denying modifier takes its state off the list), and
    // whether any listed one is qualified by a modifier.
    std::vector<size_t> Listed(const Entry& e, size_t ci, bool* qualified,
                               std::vector<size_t>* denied) const {
        std::vector<size_t> listed;
        const std::vector<State>& states = chars_[ci].Source->States;
        for (const StateValue& v : e.States) {
            auto at = std::find_if(states.begin(), states.end(),
                                   [&](const State& s) { return s.Id == v.State; });
            if (at == states.end()) continue;
            size_t s = static_cast<size_t>(at - states.begin());
            bool denies = false, modifies = false;
            for (const std::string& ref : v.Modifiers) {
                auto m = doc_.Modifiers.find(ref);
                denies = denies || (m != doc_.Modifiers.end() && m->second.Denies);
                modifies = true;
            }
            if (denies) {
                if (denied) denied->push_back(s);
            } else {
                listed.push_back(s);
                if (qualified) *qualified = *qualified || modifies;
            }
        }
        std::sort(listed.begin(), listed.end());
        listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
        return listed;
    }

    static bool Empty(const Entry* e) {
        return !e ||
               (e->States.empty() && e->Status.empty() && e->Measures.empty() && e->Text.empty());
    }

    // A character without data is inapplicable when a rule on it holds: its controlling
    // character has only states that make it inapplicable, is not applicable itself, or
    // has no data and is inapplicable by its own rules. Worked out once per description
    // and character; a circle of rules does not hold.
    bool Inapplicable(size_t t, size_t ci) {
        uint64_t key = static_cast<uint64_t>(t) * chars_.size() + ci;
        auto [memo, added] = memo_.emplace(key, Memo::Working);
        if (!added) return memo->second == Memo::Yes;
        bool result = ByRules(t, ci);
        memo_[key] = result ? Memo::Yes : Memo::No;
        return result;
    }

    bool ByRules(size_t t, size_t ci) {
        auto rules = rulesFor_.find(ci);
        if (rules == rulesFor_.end() || !Empty(EntryOf(t, ci))) return false;
        for (const DependencyRule* rule : rules->second) {
            if (rule->States.empty()) continue;
            auto owner = stateOwner_.find(rule->States.front());
            if (owner == stateOwner_.end()) continue;
            size_t controlling = owner->second;
            const Entry* e = EntryOf(t, controlling);
            if (e && e->Status == "NotApplicable") return true;
            if (e && IsUnknownStatus(e->Status)) continue;
            std::vector<size_t> listed =
                e ? Listed(*e, controlling, nullptr, nullptr) : std::vector<size_t>();
            if (listed.empty()) {
                if (Empty(e) && Inapplicable(t, controlling)) return true;
                continue;
            }
            const std::vector<State>& states = chars_[controlling].Source->States;
            size_t inRule = 0;
            for (size_t s : listed) {
                inRule += std::find(rule->States.begin(), rule->States.end(), states[s].Id) !=
                          rule->States.end();
            }
            if (!rule->OnlyApplicable && inRule == listed.size()) return true;
            if (rule->OnlyApplicable && inRule == 0) return true;
        }
        return false;
    }

    std::string Codes(size_t t, size_t ci) {
        const CharInfo& c = chars_[ci];
        size_t n = c.Texts.size();
        const Entry* e = EntryOf(t, ci);
        if (Empty(e)) return std::string(n, Inapplicable(t, ci) ? '-' : '?');
        if (IsUnknownStatus(e->Status)) return std::string(n, '?');
        if (e->Status == "NotApplicable") return std::string(n, '-');
        if (c.Source->Kind == CharacterKind::Quantitative) {
            auto span = Span(*e);
            if (!span) return std::string(n, '?');
            return import::NumericCodes(c.Ranges, {*span});
        }
        bool qualified = false;
        std::vector<size_t> denied;
        std::vector<size_t> listed = Listed(*e, ci, &qualified, &denied);
        if (listed.size() + denied.size() < e->States.size()) {
            Problem(t, "a state of \"" + c.Source->Label + "\" is not among its states");
        }
        std::string codes(n, listed.empty() ? '?' : '-');
        for (size_t s : denied)
            codes[s] = '-';
        char mark = listed.size() == 1 && !qualified ? '+' : '*';
        for (size_t s : listed)
            codes[s] = mark;
        return codes;
    }

    void WriteCodes() {
        KeyContents& key = result_.Key;
        size_t taxa = doc_.Descriptions.size();
        std::vector<import::StateName> names;
        for (size_t ci : used_) {
            size_t first = key.Codes.size();
            for (const import::StateName& name : chars_[ci].Texts) {
                names.push_back(name);
                key.Codes.emplace_back(taxa, '?');
            }
            for (size_t t = 0; t < taxa; ++t) {
                std::string codes = Codes(t, ci);
                for (size_t s = 0; s < codes.size(); ++s)
                    key.Codes[first + s][t] = codes[s];
            }
        }
        import::SetStateTexts(import::WholeStateTexts(names, result_.SameTexts), key);
    }

    std::string TaxonName(size_t t) const {
        const Description& d = doc_.Descriptions[t];
        std::string name = !d.TaxonName.empty() ? d.TaxonName : d.Label;
        name = Replace(name, "/|>", '-');
        return name.empty() ? "Description " + std::to_string(t + 1) : name;
    }

    // The notes of description `t`: its name, then a paragraph per text and quantitative
    // entry; empty when it has neither.
    std::string Notes(size_t t) {
        std::string body;
        for (size_t ci = 0; ci < chars_.size(); ++ci) {
            const Entry* e = EntryOf(t, ci);
            const Character& c = *chars_[ci].Source;
            if (!e || chars_[ci].Skipped) continue;
            std::string text;
            if (c.Kind == CharacterKind::Text) {
                text = e->Text;
            } else if (c.Kind == CharacterKind::Quantitative) {
                for (const Measure& m : e->Measures)
                    text += (text.empty() ? "" : ", ") + m.Type + " " + Number(m.Value);
                if (!text.empty() && !c.Unit.empty()) text += " (" + c.Unit + ")";
            }
            if (text.empty()) continue;
            body += kCrLf;
            body += import::WrapText(c.Label + ": " + text, kNotesWidth, kCrLf, write_);
        }
        if (body.empty()) return {};
        return import::WrapText(TaxonName(t), kNotesWidth, kCrLf, write_) + body;
    }

    void WriteTaxa() {
        std::vector<import::TaxonParts> parts;
        for (size_t t = 0; t < doc_.Descriptions.size(); ++t) {
            import::TaxonParts p;
            char number[8];
            std::snprintf(number, sizeof number, "%04d", static_cast<int>(t + 1));
            p.Name = write_(TaxonName(t));
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

    void WriteIndex() {
        std::vector<import::IndexCharacter> index;
        for (size_t ci : used_) {
            const Character& c = *chars_[ci].Source;
            auto image = characterImages_.find(c.Id);
            index.push_back({c.Label.empty() ? c.Id : c.Label, c.Label, static_cast<int>(ci + 1),
                             static_cast<int>(chars_[ci].Texts.size()),
                             image == characterImages_.end() ? std::string() : image->second});
        }
        result_.Key.Index = import::BuildIndex(index, write_);
    }

    void WriteTitle() {
        std::string title = !options_.Title.empty() ? options_.Title
                            : !doc_.Label.empty()   ? doc_.Label
                                                    : options_.Name;
        std::vector<std::string> credits = doc_.Rights;
        credits.push_back(options_.Credit);
        result_.Key.TitleLines = import::TitlePage(
            title, credits, doc_.Descriptions.size(), result_.Key.States.size(), used_.size(),
            "Converted from the SDD document " + options_.DocumentName, write_);
    }

    const Document& doc_;
    const ConvertOptions& options_;
    const std::vector<bool>& hasImage_;
    const std::map<std::string, std::string>& characterImages_;
    Conversion result_;
    import::KeyTextWriter write_;
    std::vector<CharInfo> chars_;
    std::unordered_map<std::string, size_t> charIndex_;
    std::unordered_map<std::string, size_t> stateOwner_;
    std::unordered_map<size_t, std::vector<const DependencyRule*>> rulesFor_;
    // Per description, its entries by character: a document may declare many characters
    // and many descriptions, but it holds only so many entries.
    std::vector<std::unordered_map<size_t, const Entry*>> entries_;
    std::vector<size_t> used_;
    enum class Memo : uint8_t { Working, No, Yes };
    std::unordered_map<uint64_t, Memo> memo_;  // by description and character
};

}  // namespace

Conversion Convert(const Document& document, const ConvertOptions& options,
                   const std::vector<bool>& taxonHasImage,
                   const std::map<std::string, std::string>& characterImages) {
    return Converter(document, options, taxonHasImage, characterImages).Run();
}

}  // namespace vorn::sdd
