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
    // A state's entry of StateScore, so the mark always follows the score; null for a taxon.
    const uint8_t* ScoreRef = nullptr;
};

// The display line: counter, mark, number (in number mode), name. Bytes as in the key.
// Never throws: a count that cannot be read shows as "(?)" (see frame/PaintErrors.h).
std::string IndicText(const TIndicatorObj& indicator);
// IndicText in two parts. The prefix (counter and mark) changes with the scores but takes
// few distinct values; the body (number in number mode, name) stays the same for an item
// of a key while NumberMode and NameMode do.
std::string IndicPrefix(const TIndicatorObj& indicator);
std::string IndicBody(const TIndicatorObj& indicator);
// A number for the prefix, made without building its text: items with equal numbers have
// equal prefixes.
uint64_t IndicPrefixKey(const TIndicatorObj& indicator);
// The plain name used in window captions.
std::string IndicName(const TIndicatorObj& indicator);

}  // namespace vorn
