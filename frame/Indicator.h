#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vorn {

// A list item: one character state or one taxon of the open key. It keeps the texts it
// read when it was set up, and builds its display line anew each time it is drawn, from
// the current score, the engine's counts and the display modes; so redrawing a list is
// enough to show new marks and counts. Texts are the key's bytes (Windows-1252).
class TIndicatorObj {
public:
    enum KindValue : uint8_t { IndicTaxon = 0, IndicState = 1 };
    enum CountStyleValue : uint8_t { CountStandard = 0, CountMismatches = 1, CountNone = 2 };

    TIndicatorObj() = default;
    TIndicatorObj(const TIndicatorObj&) = delete;
    TIndicatorObj& operator=(const TIndicatorObj&) = delete;

    // Fills a new indicator: a state's text, or a taxon's record split into its names.
    // Reads the key's files (may throw IoError); drawing never does.
    void SetupIndic(uint8_t kind, int32_t index, uint8_t countStyle);

    uint8_t Kind = IndicTaxon;
    int32_t Index = 0;
    uint8_t CountStyle = CountStandard;
    // A field is present when held, even if empty; presence decides marks and buttons.
    std::optional<std::string> Text;
    std::optional<std::string> CommonName;
    std::optional<std::string> ImageName;
    std::optional<std::string> NotesName;
};

// What the engine says of an item at the moment a line is built.
struct IndicNumbers {
    uint8_t Score = 0;       // a state's score
    int32_t Count = 0;       // a state's StateMatchCount; -2 when it could not be read
    int32_t Matching = 0;    // MatchingTaxaCount
    int32_t Mismatches = 0;  // a taxon's TaxonMismatchCount
};
// Asks the engine. Never throws: a count that cannot be read is -2, and its error is
// noted (see frame/PaintErrors.h).
IndicNumbers NumbersOf(const TIndicatorObj& indicator);

// The display line: counter, mark, number (in number mode), name. Bytes as in the key.
// Never throws: a count that cannot be read shows as "(?)" (see frame/PaintErrors.h).
std::string IndicText(const TIndicatorObj& indicator);
std::string IndicText(const TIndicatorObj& indicator, const IndicNumbers& numbers);
// IndicText in two parts. The prefix (counter and mark) changes with the scores but takes
// few distinct values; the body (number in number mode, name) stays the same for an item
// of a key while NumberMode and NameMode do.
std::string IndicPrefix(const TIndicatorObj& indicator);
std::string IndicPrefix(const TIndicatorObj& indicator, const IndicNumbers& numbers);
std::string IndicBody(const TIndicatorObj& indicator);
// A number for the prefix, made without building its text: items with equal numbers have
// equal prefixes.
uint64_t IndicPrefixKey(const TIndicatorObj& indicator);
uint64_t IndicPrefixKey(const TIndicatorObj& indicator, const IndicNumbers& numbers);
// The plain name used in window captions.
std::string IndicName(const TIndicatorObj& indicator);

}  // namespace vorn
