#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vorn {

// One line of a list as the list keeps it: which state or taxon it stands for and how it
// counts, a few bytes and nothing read. Lists hold only these, so that rebuilding a list
// of thousands of lines after a scoring action creates nothing per line.
struct IndicatorRow {
    uint8_t Kind = 0;        // TIndicatorObj::KindValue
    uint8_t CountStyle = 0;  // TIndicatorObj::CountStyleValue
    // What CountSeparation and CountCodes show, kept by the window that built the list
    // (it fits where the row would otherwise be padding).
    uint16_t Value = 0;
    int32_t Index = 0;  // the state or taxon in the open key
};

// A list item with its texts: one character state or one taxon of the open key. A value,
// built for one row when the row is drawn, measured or asked for (the highlighted taxon,
// a caption) and dropped afterwards; the key's files are the only place texts are kept.
// Texts are the key's bytes (Windows-1252).
class TIndicatorObj {
public:
    // A note is a line of words the window wrote (Text), standing for nothing in the key:
    // it cannot be highlighted or scored.
    enum KindValue : uint8_t { IndicTaxon = 0, IndicState = 1, IndicNote = 2 };
    // CountSeparation: a state's line begins with Value / 100 with two decimals, then the
    // standard line. CountCodes: a state's line begins with two codes of the key, Value % 4
    // then Value / 4 % 4 (TaxonCodeValue), and shows no count.
    enum CountStyleValue : uint8_t {
        CountStandard = 0,
        CountMismatches = 1,
        CountNone = 2,
        CountSeparation = 3,
        CountCodes = 4
    };

    // The item of `row` with its texts: a state's text, or a taxon's record split into its
    // names. Reads the key's files (may throw IoError). A note's text is its list's
    // (TVornListBox::Indicator); read here, it is empty.
    static TIndicatorObj Read(const IndicatorRow& row);

    IndicatorRow Row() const { return {Kind, CountStyle, Value, Index}; }
    // The record names an image or notes, which earns the item its ">" mark.
    bool Linked() const { return ImageName || NotesName; }

    uint8_t Kind = IndicTaxon;
    int32_t Index = 0;
    uint8_t CountStyle = CountStandard;
    uint16_t Value = 0;
    // A field is present when held, even if empty; presence decides marks and buttons.
    std::optional<std::string> Text;
    std::optional<std::string> CommonName;
    std::optional<std::string> ImageName;
    std::optional<std::string> NotesName;
};

// The Value of a CountSeparation row: the separation in hundredths, as its line rounds it.
uint16_t SeparationValue(double separation);
// The Value of a CountCodes row: the codes of two taxa (TaxonCodeValue) for its state.
constexpr uint16_t CodesValue(int codeA, int codeB) {
    return static_cast<uint16_t>((codeA & 3) | (codeB & 3) << 2);
}

// What a line shows besides the item's own texts: the engine's numbers at the moment it is
// drawn. Each field is used only where the line shows it.
struct IndicNumbers {
    uint8_t Score = 0;       // a state's score (StateScoreValue), shown as its mark
    int32_t Count = 0;       // a state's count in count mode; -1 blank, below -1 unreadable
    int32_t Matching = 0;    // the matching taxa: a state's count equal to it shows "all"
    int32_t Mismatches = 0;  // a taxon's mismatches, shown with CountMismatches
};

// The engine's numbers for `row` now; only those the line shows in the current count mode
// are read. Never throws: a count that cannot be read is noted (frame/PaintErrors.h) and
// comes back as -2, which shows as "(?)".
IndicNumbers CurrentNumbers(const IndicatorRow& row);

// The display line: counter, mark, number (in number mode), name; bytes as in the key.
// Built from the numbers given and the display modes, nothing else: the one-argument form
// takes the engine's numbers now.
std::string IndicText(const TIndicatorObj& indicator, const IndicNumbers& numbers);
std::string IndicText(const TIndicatorObj& indicator);
// IndicText in two parts. The prefix (counter and mark) changes with the numbers but takes
// few distinct values, and needs of the item only whether it is linked; the body (number
// in number mode, name) stays the same for an item of a key while NumberMode and NameMode
// do.
std::string IndicPrefix(const IndicatorRow& row, bool linked, const IndicNumbers& numbers);
std::string IndicPrefix(const TIndicatorObj& indicator, const IndicNumbers& numbers);
std::string IndicBody(const TIndicatorObj& indicator);
// A number for the prefix, made without building its text: equal numbers, equal prefixes.
uint64_t IndicPrefixKey(const IndicatorRow& row, bool linked, const IndicNumbers& numbers);
uint64_t IndicPrefixKey(const TIndicatorObj& indicator, const IndicNumbers& numbers);
// The plain name used in window captions.
std::string IndicName(const TIndicatorObj& indicator);

}  // namespace vorn
