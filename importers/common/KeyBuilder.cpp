#include "importers/common/KeyBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "core/key/KeyFiles.h"
#include "core/platform/Text.h"

namespace vorn::import {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr size_t kStateTextSize = StateRecordSize;
// What a record keeps of a character's text at least when it shortens it.
constexpr size_t kMinCharacterText = 24;
constexpr size_t kIndexTextSize = 60;
constexpr int kEntriesPerColumn = 25;
constexpr const char* kCrLf = "\r\n";

std::vector<std::string> SplitWords(std::string_view text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > start) words.emplace_back(text.substr(start, i - start));
    }
    return words;
}

// The places of the texts that read alike, by groups of more than one in the order of
// their first places.
std::vector<std::vector<size_t>> Alike(const std::vector<std::string>& texts) {
    std::unordered_map<std::string, std::vector<size_t>> byText;
    for (size_t i = 0; i < texts.size(); ++i)
        byText[texts[i]].push_back(i);
    std::vector<std::vector<size_t>> groups;
    for (auto& [text, places] : byText)
        if (places.size() > 1) groups.push_back(std::move(places));
    std::sort(groups.begin(), groups.end());
    return groups;
}

std::string WithoutBars(std::string text) {
    std::replace(text.begin(), text.end(), '|', '/');
    return text;
}

}  // namespace

std::string CutWithEllipsis(std::string text, size_t width) {
    if (text.size() <= width) return text;
    if (width == 0) return {};
    size_t room = width - 1;
    size_t blank = text.rfind(' ', room);
    text.resize(blank != std::string::npos && blank > 0 ? blank : room);
    while (!text.empty() && std::string_view(" ,;:-(").find(text.back()) != std::string_view::npos)
        text.pop_back();
    return text + Ellipsis;
}

std::string CutInTheMiddle(const std::string& text, size_t width) {
    if (text.size() <= width) return text;
    std::vector<std::string> words = SplitWords(text);
    const std::string gap = std::string(" ") + Ellipsis + " ";
    std::string tail;
    for (size_t k = words.size(); k-- > 1;) {
        std::string longer = words[k] + (tail.empty() ? "" : " " + tail);
        if (longer.size() > width / 2) break;
        tail = longer;
    }
    std::string head;
    for (const std::string& word : words) {
        std::string longer = head.empty() ? word : head + " " + word;
        if (longer.size() + gap.size() + tail.size() > width) break;
        head = longer;
    }
    if (head.empty() || tail.empty()) return CutWithEllipsis(text, width);
    return head + gap + tail;
}

std::vector<WholeText> WholeStateTexts(const std::vector<StateName>& states,
                                       std::vector<std::string>& same) {
    // How much each state says of itself: 0 its texts, 1 with more words, 2 with its
    // character's number, 3 with its own number too.
    constexpr int kMost = 3;
    std::vector<int> level(states.size(), 0);
    auto text = [&](size_t i) {
        const StateName& s = states[i];
        bool words = level[i] >= 1;
        WholeText t{words && !s.CharacterWords.empty() ? s.CharacterWords : s.Character,
                    words && !s.StateWords.empty() ? s.StateWords : s.State};
        if (level[i] >= 2) t.Character += " (character " + std::to_string(s.CharacterNumber) + ")";
        if (level[i] >= 3) t.State += " (state " + std::to_string(s.StateNumber) + ")";
        return t;
    };
    std::vector<WholeText> texts(states.size());
    std::vector<std::string> whole(states.size());
    for (size_t i = 0; i < states.size(); ++i) {
        texts[i] = text(i);
        whole[i] = texts[i].Text();
    }
    for (int round = 0; round < kMost; ++round) {
        bool changed = false;
        for (const std::vector<size_t>& group : Alike(whole)) {
            bool differ = std::any_of(group.begin(), group.end(), [&](size_t i) {
                return states[i].Source != states[group[0]].Source;
            });
            if (!differ) continue;
            for (size_t i : group) {
                if (level[i] == kMost) continue;
                ++level[i];
                texts[i] = text(i);
                whole[i] = texts[i].Text();
                changed = true;
            }
        }
        if (!changed) break;
    }
    for (const std::vector<size_t>& group : Alike(whole)) {
        // A long run of alike states is told by its first ten.
        constexpr size_t kNamed = 10;
        std::string line = "states ";
        for (size_t k = 0; k < std::min(group.size(), kNamed); ++k)
            line += (k ? ", " : "") + std::to_string(group[k] + 1);
        if (group.size() > kNamed)
            line += " and " + std::to_string(group.size() - kNamed) + " more";
        same.push_back(line + ": \"" + KeyTextToUtf8(whole[group[0]]) + "\"");
    }
    return texts;
}

void SetStateTexts(const std::vector<WholeText>& texts, KeyContents& key) {
    std::vector<std::string> whole, records;
    bool cut = false;
    for (const WholeText& t : texts) {
        whole.push_back(t.Text());
        records.push_back(CutWithEllipsis(whole.back(), kStateTextSize));
        cut = cut || whole.back().size() > kStateTextSize;
    }
    // Records cut alike from different texts: the state's words tell them apart better
    // than the character's last ones.
    for (const std::vector<size_t>& group : Alike(records)) {
        bool differ = std::any_of(group.begin(), group.end(),
                                  [&](size_t i) { return whole[i] != whole[group[0]]; });
        if (!differ) continue;
        for (size_t i : group) {
            const WholeText& t = texts[i];
            size_t room = kStateTextSize - std::min(kStateTextSize, t.State.size() + 2);
            records[i] = room >= kMinCharacterText
                             ? CutInTheMiddle(t.Character, room) + ": " + t.State
                             : CutWithEllipsis(
                                   CutInTheMiddle(t.Character, kMinCharacterText) + ": " + t.State,
                                   kStateTextSize);
        }
    }
    key.States = std::move(records);
    key.WholeStates.clear();
    if (cut) key.WholeStates = std::move(whole);
}

std::optional<Tertiles> TertilesOf(std::vector<double> numbers, bool integer,
                                   const std::string& units) {
    if (numbers.empty()) return std::nullopt;
    std::sort(numbers.begin(), numbers.end());
    double a = Quantile(numbers, 1.0 / 3), b = Quantile(numbers, 2.0 / 3);
    if (integer) {
        a = std::round(a);
        b = std::round(b);
    }
    std::string ta = TwoDigits(a), tb = TwoDigits(b);
    a = std::stod(ta);
    b = std::stod(tb);
    std::string u = units.empty() ? std::string() : " " + units;
    Tertiles t;
    t.States = {{-kInfinity, a, false, true}, {a, b}, {b, kInfinity, true, false}};
    t.Labels = {"less than " + ta + u, ta + " to " + tb + u, "more than " + tb + u};
    return t;
}

std::string NumericCodes(const std::vector<NumericState>& states,
                         const std::vector<std::pair<double, double>>& spans) {
    std::string codes(states.size(), '-');
    size_t hits = 0;
    for (size_t s = 0; s < states.size(); ++s) {
        bool hit = false;
        for (const auto& [low, high] : spans)
            hit = hit || states[s].Hit(low, high);
        if (hit) {
            codes[s] = '*';
            ++hits;
        }
    }
    if (hits == 0) return std::string(states.size(), '?');
    if (hits == 1) std::replace(codes.begin(), codes.end(), '*', '+');
    return codes;
}

std::string TwoDigits(double value) {
    if (value == 0 || !std::isfinite(value)) return "0";
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    double scale = std::pow(10.0, exponent - 1);
    double rounded = std::round(value / scale) * scale;
    int decimals = std::max(0, 1 - exponent);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

double Quantile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    double h = (static_cast<double>(sorted.size()) - 1) * p;
    size_t low = static_cast<size_t>(std::floor(h));
    size_t high = std::min(low + 1, sorted.size() - 1);
    return sorted[low] + (h - static_cast<double>(low)) * (sorted[high] - sorted[low]);
}

void WriteTaxonRecords(std::vector<TaxonParts> taxa, KeyContents& key) {
    bool fitShort = true;
    for (TaxonParts& p : taxa) {
        if (!p.Image.empty()) p.Image = "|" + p.Image;
        if (!p.Notes.empty()) p.Notes = ">" + p.Notes;
        size_t size = p.Name.size() + p.Image.size() + p.Notes.size() +
                      (p.Common.empty() ? 0 : 1 + p.Common.size());
        fitShort = fitShort && size <= static_cast<size_t>(TaxaPerRecord);
    }
    key.LongTaxonNames = !fitShort;
    size_t size = fitShort ? TaxaPerRecord : LongTaxonRecordSize;
    for (TaxonParts& p : taxa) {
        std::string tail = p.Image + p.Notes;
        size_t room = size > tail.size() ? size - tail.size() : 0;
        size_t needed = p.Name.size() + (p.Common.empty() ? 0 : 1 + p.Common.size());
        if (needed > room) {
            size_t forCommon = room > p.Name.size() + 1 ? room - p.Name.size() - 1 : 0;
            p.Common.resize(std::min(p.Common.size(), forCommon));
            while (!p.Common.empty() && p.Common.back() == ' ')
                p.Common.pop_back();
            if (p.Common.empty()) p.Name.resize(std::min(p.Name.size(), room));
        }
        key.Taxa.push_back(p.Name + (p.Common.empty() ? "" : "/" + p.Common) + tail);
    }
}

std::string WrapText(std::string_view text, size_t width, std::string_view lineEnd,
                     KeyTextWriter& write) {
    std::string out;
    std::string line;
    auto flush = [&] {
        out += line;
        out += lineEnd;
        line.clear();
    };
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == LineBreak) {
            flush();
            ++i;
            continue;
        }
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && text[end] != ' ' && text[end] != LineBreak)
            ++end;
        std::string word = write(text.substr(i, end - i));
        if (!line.empty() && line.size() + 1 + word.size() > width) flush();
        if (!line.empty()) line += ' ';
        line += word;
        i = end;
    }
    if (!line.empty()) flush();
    return out;
}

std::string BuildIndex(const std::vector<IndexCharacter>& characters, KeyTextWriter& write) {
    int n = static_cast<int>(characters.size());
    if (n == 0) return {};
    int columns = (n + kEntriesPerColumn - 1) / kEntriesPerColumn;
    std::vector<int> firstState;
    int state = 1;
    for (const IndexCharacter& c : characters) {
        firstState.push_back(state);
        state += c.States;
    }
    std::unordered_map<std::string, const IndexCharacter*> seen;
    auto caption = [&](const IndexCharacter& c) {
        std::string whole = WithoutBars(write(c.Caption));
        std::string base = CutWithEllipsis(whole, kIndexTextSize);
        auto earlier = seen.find(base);
        if (earlier == seen.end()) return base;
        // The words of this character that the earlier one lacks tell them apart.
        std::unordered_set<std::string> known;
        for (const std::string& word : SplitWords(earlier->second->Words))
            known.insert(FoldCase(ToWindows1252(word)));
        std::string differ;
        for (const std::string& word : SplitWords(c.Words)) {
            std::string folded = FoldCase(ToWindows1252(word));
            if (known.insert(folded).second) differ += (differ.empty() ? "" : " ") + word;
        }
        std::string text;
        if (!differ.empty()) {
            text = CutWithEllipsis(WithoutBars(ToWindows1252(differ + ": " + c.Caption)),
                                   kIndexTextSize);
        }
        for (int k = 0; text.empty() || seen.count(text); ++k) {
            std::string suffix = " (" + std::to_string(c.Number) +
                                 (k ? "." + std::to_string(k) : std::string()) + ")";
            text = CutWithEllipsis(whole, kIndexTextSize - suffix.size()) + suffix;
        }
        return text;
    };
    std::vector<std::string> captions, headings;
    size_t width = 1;
    for (const IndexCharacter& c : characters) {
        captions.push_back(caption(c));
        seen.emplace(captions.back(), &c);
        width = std::max(width, captions.back().size());
    }
    for (int col = 0; col < columns; ++col) {
        int a = col * kEntriesPerColumn + 1, b = std::min(n, a + kEntriesPerColumn - 1);
        headings.push_back(a == b ? "Character " + std::to_string(a)
                                  : "Characters " + std::to_string(a) + "-" + std::to_string(b));
        width = std::max(width, headings.back().size());
    }
    // As wide as the longest caption or heading, within what a caption may take.
    width = std::min(width, kIndexTextSize);
    std::string out = std::to_string(columns) + " " + std::to_string(width) + " 2" + kCrLf;
    for (int col = 0; col < columns; ++col) {
        int first = col * kEntriesPerColumn;
        int last = std::min(n, first + kEntriesPerColumn) - 1;
        out += headings[static_cast<size_t>(col)] + kCrLf;
        out += std::to_string(last - first + 1) + kCrLf;
        for (int e = first; e <= last; ++e) {
            const IndexCharacter& c = characters[static_cast<size_t>(e)];
            out += captions[static_cast<size_t>(e)] +
                   (c.Image.empty() ? "" : "|" + write(c.Image)) + kCrLf;
            int from = firstState[static_cast<size_t>(e)];
            out += std::to_string(from) + " " + std::to_string(from + c.States - 1) + kCrLf;
        }
    }
    return out;
}

std::vector<std::string> TitlePage(const std::string& title,
                                   const std::vector<std::string>& credits, size_t taxa,
                                   size_t states, size_t characters, const std::string& source,
                                   KeyTextWriter& write) {
    std::vector<std::string> lines;
    lines.push_back(write(title));
    for (const std::string& credit : credits)
        if (!credit.empty()) lines.push_back(write(credit));
    lines.push_back("");
    lines.push_back(std::to_string(taxa) + " taxa, " + std::to_string(states) +
                    " character states from " + std::to_string(characters) + " characters");
    lines.push_back(write(source));
    return lines;
}

}  // namespace vorn::import
