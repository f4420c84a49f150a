#include "frame/Indicator.h"

#include <algorithm>

#include "core/engine/Queries.h"
#include "core/key/KeyFiles.h"
#include "core/session/Modes.h"
#include "frame/PaintErrors.h"

namespace vorn {
namespace {

constexpr size_t kCounterWidth = 16;

// What an item's prefix is made of, read from the scores and counts once: equal parts
// make equal prefixes.
struct PrefixParts {
    enum CounterKind : uint8_t {
        NoCounter,
        BlankCounter,
        StateCount,
        AllCount,
        Unreadable,
        MismatchCount
    };
    CounterKind Counter = NoCounter;
    uint32_t Count = 0;   // of StateCount and MismatchCount
    int Score = -1;       // a state's score; -1 for a taxon
    bool Linked = false;  // has an image or notes
};

PrefixParts ReadPrefix(const TIndicatorObj& indicator, const IndicNumbers& numbers) {
    PrefixParts parts;
    if (indicator.Kind == TIndicatorObj::IndicState && CountMode &&
        indicator.CountStyle != TIndicatorObj::CountNone) {
        int32_t count = numbers.Count;
        parts.Counter = count == -1                              ? PrefixParts::BlankCounter
                        : count < 0                              ? PrefixParts::Unreadable
                        : count == numbers.Matching && count > 0 ? PrefixParts::AllCount
                                                                 : PrefixParts::StateCount;
        parts.Count = static_cast<uint32_t>(std::max(count, 0));
    } else if (indicator.Kind == TIndicatorObj::IndicTaxon &&
               indicator.CountStyle == TIndicatorObj::CountMismatches) {
        parts.Counter = PrefixParts::MismatchCount;
        parts.Count = static_cast<uint32_t>(std::max(numbers.Mismatches, 0));
    }
    if (indicator.Kind == TIndicatorObj::IndicState) parts.Score = numbers.Score;
    parts.Linked = indicator.ImageName || indicator.NotesName;
    return parts;
}

std::string Counter(const PrefixParts& parts) {
    std::string counter;
    switch (parts.Counter) {
        case PrefixParts::NoCounter:
            break;
        case PrefixParts::BlankCounter:
            counter += "      ";
            break;
        case PrefixParts::MismatchCount:
            counter += "(" + std::to_string(parts.Count) + ") ";
            break;
        default: {
            std::string number = parts.Counter == PrefixParts::Unreadable ? "?"
                                 : parts.Counter == PrefixParts::AllCount
                                     ? "all"
                                     : std::to_string(parts.Count);
            std::string part = "(" + number + ") ";
            // Two blanks per missing character keep the texts roughly aligned in a
            // proportional font.
            if (part.size() < 6) part.append(2 * (6 - part.size()), ' ');
            counter += part;
        }
    }
    if (counter.size() > kCounterWidth) counter.resize(kCounterWidth);
    return counter;
}

std::string Mark(const PrefixParts& parts) {
    const char* score = " ";
    switch (parts.Score) {
        case ScorePresent:
            score = "+";
            break;
        case ScoreAbsent:
            score = "-";
            break;
        case ScoreOrPresent:
            score = "o+";
            break;
        case ScoreOrAbsent:
            score = "o-";
            break;
        default:
            break;
    }
    std::string mark = parts.Linked ? ">" : "  ";
    mark += score;
    if (mark.size() > 4) mark.resize(4);
    return mark;
}

std::string ScientificInBrackets(const TIndicatorObj& indicator) {
    return "(" + indicator.Text.value_or("") + ")";
}

}  // namespace

void TIndicatorObj::SetupIndic(uint8_t kind, int32_t index, uint8_t countStyle) {
    Text.reset();
    CommonName.reset();
    ImageName.reset();
    NotesName.reset();
    Kind = kind;
    Index = index;
    CountStyle = countStyle;
    if (kind == IndicState) {
        Text = ReadStateText(index);
        return;
    }
    TaxonRecordFields fields = SplitTaxonRecord(ReadTaxonName(index));
    Text = std::move(fields.Text);
    CommonName = std::move(fields.CommonName);
    ImageName = std::move(fields.ImageName);
    NotesName = std::move(fields.NotesName);
}

IndicNumbers NumbersOf(const TIndicatorObj& indicator) {
    IndicNumbers numbers;
    if (indicator.Kind == TIndicatorObj::IndicState) {
        numbers.Score = StateScore(indicator.Index);
        if (CountMode && indicator.CountStyle != TIndicatorObj::CountNone) {
            try {
                numbers.Count = StateMatchCount(indicator.Index);
            } catch (const std::exception& error) {
                NotePaintError(error);
                numbers.Count = -2;  // unreadable: shown as "(?)"
            }
            numbers.Matching = MatchingTaxaCount();
        }
    } else if (indicator.CountStyle == TIndicatorObj::CountMismatches) {
        numbers.Mismatches = TaxonMismatchCount(indicator.Index);
    }
    return numbers;
}

std::string IndicPrefix(const TIndicatorObj& indicator) {
    return IndicPrefix(indicator, NumbersOf(indicator));
}

std::string IndicPrefix(const TIndicatorObj& indicator, const IndicNumbers& numbers) {
    PrefixParts parts = ReadPrefix(indicator, numbers);
    return Counter(parts) + Mark(parts);
}

uint64_t IndicPrefixKey(const TIndicatorObj& indicator) {
    return IndicPrefixKey(indicator, NumbersOf(indicator));
}

uint64_t IndicPrefixKey(const TIndicatorObj& indicator, const IndicNumbers& numbers) {
    PrefixParts parts = ReadPrefix(indicator, numbers);
    return static_cast<uint64_t>(parts.Counter) << 5 | static_cast<uint64_t>(parts.Score + 1) << 8 |
           static_cast<uint64_t>(parts.Linked) << 17 | static_cast<uint64_t>(parts.Count) << 18;
}

std::string IndicBody(const TIndicatorObj& indicator) {
    std::string body = NumberMode ? std::to_string(indicator.Index + 1) + ". " : std::string();
    if (indicator.Kind == TIndicatorObj::IndicState) return body + indicator.Text.value_or("");
    switch (NameMode) {
        case CommonNames:
            return body +
                   (indicator.CommonName ? *indicator.CommonName : ScientificInBrackets(indicator));
        case BothNames:
            return body + indicator.Text.value_or("") +
                   (indicator.CommonName ? ", " + *indicator.CommonName : std::string());
        default:
            return body + indicator.Text.value_or("");
    }
}

std::string IndicText(const TIndicatorObj& indicator) {
    return IndicText(indicator, NumbersOf(indicator));
}

std::string IndicText(const TIndicatorObj& indicator, const IndicNumbers& numbers) {
    return IndicPrefix(indicator, numbers) + IndicBody(indicator);
}

std::string IndicName(const TIndicatorObj& indicator) {
    if (indicator.Kind == TIndicatorObj::IndicState) return indicator.Text.value_or("");
    switch (NameMode) {
        case CommonNames:
            return indicator.CommonName ? *indicator.CommonName : ScientificInBrackets(indicator);
        case BothNames:
            return indicator.CommonName ? indicator.Text.value_or("") + ", " + *indicator.CommonName
                                        : ScientificInBrackets(indicator);
        default:
            return indicator.Text.value_or("");
    }
}

}  // namespace vorn
