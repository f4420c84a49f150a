#include "charwin/Indic.h"

#include <algorithm>

#include "app/Modes.h"
#include "app/PaintErrors.h"
#include "engine/Util.h"
#include "key/Util.h"

namespace vorn {
namespace {

constexpr size_t kCounterWidth = 16;

std::string Counter(const TIndicatorObj& indicator) {
    std::string counter(static_cast<size_t>(std::clamp(indicator.Indent, 0, 16)), ' ');
    if (indicator.Kind == TIndicatorObj::IndicState && CountMode &&
        indicator.CountStyle != TIndicatorObj::CountNone) {
        int32_t count;
        try {
            count = StateMatchCount(indicator.Index);
        } catch (const std::exception& error) {
            NotePaintError(error);
            count = -2;  // unreadable: shown as "(?)"
        }
        if (count == -1) {
            counter += "      ";
        } else {
            std::string number = count == -2                               ? "?"
                                 : count == MatchingTaxaCount && count > 0 ? "all"
                                                                           : std::to_string(count);
            std::string part = "(" + number + ") ";
            // Two blanks per missing character keep the texts roughly aligned in a
            // proportional font.
            if (part.size() < 6) part.append(2 * (6 - part.size()), ' ');
            counter += part;
        }
    } else if (indicator.Kind == TIndicatorObj::IndicTaxon &&
               indicator.CountStyle == TIndicatorObj::CountMismatches) {
        counter += "(" + std::to_string(TaxonMismatchCount(indicator.Index)) + ") ";
    }
    if (counter.size() > kCounterWidth) counter.resize(kCounterWidth);
    return counter;
}

std::string Mark(const TIndicatorObj& indicator) {
    const char* score = " ";
    if (indicator.ScoreRef) {
        switch (*indicator.ScoreRef) {
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
    }
    std::string mark = indicator.ImageName || indicator.NotesName ? ">" : "  ";
    mark += score;
    if (mark.size() > 4) mark.resize(4);
    return mark;
}

std::string ScientificInBrackets(const TIndicatorObj& indicator) {
    return "(" + indicator.Text.value_or("") + ")";
}

}  // namespace

void TIndicatorObj::SetupIndic(uint8_t kind, int32_t index, uint8_t countStyle, int32_t indent) {
    Text.reset();
    CommonName.reset();
    ImageName.reset();
    NotesName.reset();
    Kind = kind;
    Index = index;
    CountStyle = countStyle;
    Indent = indent;
    if (kind == IndicState) {
        Text = ReadStateText(index);
        ScoreRef = &StateScore[static_cast<size_t>(index)];
        return;
    }
    ScoreRef = nullptr;
    TaxonRecordFields fields = SplitTaxonRecord(ReadTaxonName(index));
    Text = std::move(fields.Text);
    CommonName = std::move(fields.CommonName);
    ImageName = std::move(fields.ImageName);
    NotesName = std::move(fields.NotesName);
}

std::string IndicPrefix(const TIndicatorObj& indicator) {
    return Counter(indicator) + Mark(indicator);
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
    return IndicPrefix(indicator) + IndicBody(indicator);
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
