#include "frame/Indicator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/key/KeyFiles.h"
#include "core/session/Modes.h"
#include "core/session/Session.h"
#include "frame/PaintErrors.h"

namespace vorn {
namespace {

constexpr size_t kCounterWidth = 16;

// What an item's prefix is made of: equal parts make equal prefixes.
struct PrefixParts {
    enum CounterKind : uint8_t {
        NoCounter,
        BlankCounter,
        StateCount,
        AllCount,
        Unreadable,
        MismatchCount
    };
    enum LeadKind : uint8_t { NoLead, SeparationLead, CodesLead };
    LeadKind Lead = NoLead;
    uint16_t Value = 0;  // of the lead
    CounterKind Counter = NoCounter;
    uint32_t Count = 0;   // of StateCount and MismatchCount
    int Score = -1;       // a state's score; -1 for a taxon
    bool Linked = false;  // has an image or notes
};

bool ShowsStateCount(const IndicatorRow& row) {
    return row.Kind == TIndicatorObj::IndicState && CurrentSession().CountMode &&
           row.CountStyle != TIndicatorObj::CountNone &&
           row.CountStyle != TIndicatorObj::CountCodes;
}

bool ShowsMismatches(const IndicatorRow& row) {
    return row.Kind == TIndicatorObj::IndicTaxon &&
           row.CountStyle == TIndicatorObj::CountMismatches;
}

PrefixParts PartsOf(const IndicatorRow& row, bool linked, const IndicNumbers& numbers) {
    PrefixParts parts;
    // A lead's value is kept within what it shows and the prefix key holds (14 bits).
    if (row.Kind == TIndicatorObj::IndicState && row.CountStyle == TIndicatorObj::CountSeparation) {
        parts.Lead = PrefixParts::SeparationLead;
        parts.Value = std::min<uint16_t>(row.Value, 9999);
    } else if (row.Kind == TIndicatorObj::IndicState &&
               row.CountStyle == TIndicatorObj::CountCodes) {
        parts.Lead = PrefixParts::CodesLead;
        parts.Value = row.Value & 15;
    }
    if (ShowsStateCount(row)) {
        int32_t count = numbers.Count;
        parts.Counter = count == -1                              ? PrefixParts::BlankCounter
                        : count < 0                              ? PrefixParts::Unreadable
                        : count == numbers.Matching && count > 0 ? PrefixParts::AllCount
                                                                 : PrefixParts::StateCount;
        parts.Count = static_cast<uint32_t>(std::max(count, 0));
    } else if (ShowsMismatches(row)) {
        parts.Counter = PrefixParts::MismatchCount;
        parts.Count = static_cast<uint32_t>(std::max(numbers.Mismatches, 0));
    }
    if (row.Kind == TIndicatorObj::IndicState) parts.Score = numbers.Score;
    parts.Linked = linked;
    return parts;
}

std::string Lead(const PrefixParts& parts) {
    switch (parts.Lead) {
        case PrefixParts::SeparationLead: {
            char text[16];
            std::snprintf(text, sizeof text, "%u.%02u ", parts.Value / 100u, parts.Value % 100u);
            return text;
        }
        case PrefixParts::CodesLead: {
            static constexpr char kCodes[] = "?+-*";  // by TaxonCodeValue
            return {kCodes[parts.Value & 3], ' ', kCodes[parts.Value >> 2 & 3], ' '};
        }
        default:
            return {};
    }
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

TIndicatorObj TIndicatorObj::Read(const IndicatorRow& row) {
    TIndicatorObj indicator;
    indicator.Kind = row.Kind;
    indicator.Index = row.Index;
    indicator.CountStyle = row.CountStyle;
    indicator.Value = row.Value;
    if (row.Kind == IndicNote) {
        indicator.Text.emplace();
        return indicator;
    }
    if (row.Kind == IndicState) {
        indicator.Text = CurrentSession().Key.ReadStateText(row.Index);
        return indicator;
    }
    TaxonRecordFields fields = SplitTaxonRecord(CurrentSession().Key.ReadTaxonName(row.Index));
    indicator.Text = std::move(fields.Text);
    indicator.CommonName = std::move(fields.CommonName);
    indicator.ImageName = std::move(fields.ImageName);
    indicator.NotesName = std::move(fields.NotesName);
    return indicator;
}

uint16_t SeparationValue(double separation) {
    // Two decimals; a separation is at most log2 of the taxa, 16 for the largest key.
    return static_cast<uint16_t>(std::clamp(std::lround(separation * 100), 0L, 9999L));
}

IndicNumbers CurrentNumbers(const IndicatorRow& row) {
    IndicNumbers numbers;
    if (row.Kind == TIndicatorObj::IndicNote) return numbers;
    if (row.Kind == TIndicatorObj::IndicState)
        numbers.Score = CurrentSession().StateScore(row.Index);
    if (ShowsStateCount(row)) {
        try {
            numbers.Count = CurrentSession().StateMatchCount(row.Index);
        } catch (const std::exception& error) {
            NotePaintError(error);
            numbers.Count = -2;
        }
        numbers.Matching = CurrentSession().CountedTaxaCount();
    } else if (ShowsMismatches(row)) {
        numbers.Mismatches = CurrentSession().TaxonMismatchCount(row.Index);
    }
    return numbers;
}

std::string IndicPrefix(const IndicatorRow& row, bool linked, const IndicNumbers& numbers) {
    if (row.Kind == TIndicatorObj::IndicNote) return {};
    PrefixParts parts = PartsOf(row, linked, numbers);
    return Lead(parts) + Counter(parts) + Mark(parts);
}

std::string IndicPrefix(const TIndicatorObj& indicator, const IndicNumbers& numbers) {
    return IndicPrefix(indicator.Row(), indicator.Linked(), numbers);
}

uint64_t IndicPrefixKey(const IndicatorRow& row, bool linked, const IndicNumbers& numbers) {
    PrefixParts parts = PartsOf(row, linked, numbers);
    return static_cast<uint64_t>(parts.Lead) | static_cast<uint64_t>(parts.Counter) << 5 |
           static_cast<uint64_t>(parts.Score + 1) << 8 | static_cast<uint64_t>(parts.Linked) << 17 |
           static_cast<uint64_t>(parts.Count) << 18 | static_cast<uint64_t>(parts.Value) << 50;
}

uint64_t IndicPrefixKey(const TIndicatorObj& indicator, const IndicNumbers& numbers) {
    return IndicPrefixKey(indicator.Row(), indicator.Linked(), numbers);
}

std::string IndicBody(const TIndicatorObj& indicator) {
    if (indicator.Kind == TIndicatorObj::IndicNote) return indicator.Text.value_or("");
    std::string body =
        CurrentSession().NumberMode ? std::to_string(indicator.Index + 1) + ". " : std::string();
    if (indicator.Kind == TIndicatorObj::IndicState) return body + indicator.Text.value_or("");
    return body + TaxonListName(indicator.Text.value_or(""), indicator.CommonName,
                                CurrentSession().NameMode);
}

std::string IndicText(const TIndicatorObj& indicator, const IndicNumbers& numbers) {
    return IndicPrefix(indicator, numbers) + IndicBody(indicator);
}

std::string IndicText(const TIndicatorObj& indicator) {
    return IndicText(indicator, CurrentNumbers(indicator.Row()));
}

std::string IndicName(const TIndicatorObj& indicator) {
    if (indicator.Kind == TIndicatorObj::IndicState) return indicator.Text.value_or("");
    switch (CurrentSession().NameMode) {
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
