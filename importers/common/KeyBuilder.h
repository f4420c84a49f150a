#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/key/KeyWriter.h"
#include "importers/common/KeyText.h"

namespace vorn::import {

// The parts of a key that every importer builds the same way from what its format says:
// state texts, the three ranges of a numeric character, taxon records, notes, the index
// and the title page. Texts come in as UTF-8 and go into the key through a KeyTextWriter.

// Stands for a line break in a text bound for the notes.
constexpr char LineBreak = '\x1e';

// "…" in Windows-1252: where a key text was cut.
constexpr char Ellipsis = '\x85';

// Key text of at most `width` bytes: as it is when it fits, else cut at the last blank
// that leaves room for Ellipsis (mid-word only for a first word longer than that),
// without blanks or separators left before the Ellipsis that ends it.
std::string CutWithEllipsis(std::string text, size_t width);

// One state as an importer names it, for the key's texts.
struct StateName {
    std::string Character, State;  // key text
    // Key text with more of the dataset's words (a DELTA text's comments), to tell the
    // state from another that reads the same; empty when there are none more.
    std::string CharacterWords, StateWords;
    // The dataset's own texts of both: two states that read the same are told apart
    // unless these are the same too.
    std::string Source;
    int CharacterNumber = 0;  // as the report names the character
    int StateNumber = 0;      // its place among its character's states, from 1
};

// A state's whole text, "character: state", in its two parts.
struct WholeText {
    std::string Character, State;
    std::string Text() const { return Character + ": " + State; }
};

// The whole text of each state, no two the same unless their Sources are. Where two would read the
// same, they take the words that may tell them apart, then the character's number ("leaf (character
// 12): hairy"), then the state's
// ("leaf (character 12): hairy (state 2)"). `same` receives a line for each text that
// states keep in common because the dataset gives them the same texts: "states 4, 9:
// "leaf: hairy"" (UTF-8; the first ten states of a longer run, and how many more).
std::vector<WholeText> WholeStateTexts(const std::vector<StateName>& states,
                                       std::vector<std::string>& same);

// The key's state records, and when some text does not fit a record, the whole texts too
// (NAME.CHL). A record holds the whole text cut at a word with an ellipsis where it does
// not fit. Where two records would then read alike although their texts differ, each
// keeps its state whole (or as much of it as fits) and shortens its character instead,
// keeping the first and last words of the character ("Number of … tergite VII: with 2
// macrochaetae (in median rows)").
void SetStateTexts(const std::vector<WholeText>& texts, KeyContents& key);

// Key text of at most `width` bytes: as it is when it fits, else its first and last words
// around an ellipsis ("Number of … tergite VII"), the last ones taking up to half of it.
std::string CutInTheMiddle(const std::string& text, size_t width);

// One state of a numeric character: the values it stands for. Key states are closed
// ranges; the outer states of tertiles are open at their inner end.
struct NumericState {
    double Low, High;
    bool LowOpen = false, HighOpen = false;
    bool Hit(double low, double high) const {
        return (LowOpen ? high > Low : high >= Low) && (HighOpen ? low < High : low <= High);
    }
};

// Three states cut at the tertiles of `numbers` (rounded to two significant digits, and
// to whole numbers when `integer`): "less than A", "A to B", "more than B", each
// followed by " units" when `units` is not empty. Nothing when there are no numbers.
struct Tertiles {
    std::vector<NumericState> States;
    std::vector<std::string> Labels;  // UTF-8
};
std::optional<Tertiles> TertilesOf(std::vector<double> numbers, bool integer,
                                   const std::string& units);

// The codes of a numeric character's states for a taxon whose values span the ranges
// `spans` (low, high): "+" for the one state hit, "*" for each of several, "-" for the
// others; all "?" when no state is hit.
std::string NumericCodes(const std::vector<NumericState>& states,
                         const std::vector<std::pair<double, double>>& spans);

// A number rounded to two significant digits, written without trailing zeros.
std::string TwoDigits(double value);

// The inclusive quantile of sorted `numbers` at `p` (linear between closest ranks).
double Quantile(const std::vector<double>& sorted, double p);

// A taxon's record parts, Windows-1252: its name, common name (empty: none), image name
// ("I0001", empty: none) and notes file (empty: none).
struct TaxonParts {
    std::string Name, Common, Image, Notes;
};
// The records of the taxa in `key`: short (40-byte) records when all fit, else long ones;
// a record too long even then gives up its common name first, then its name's end.
void WriteTaxonRecords(std::vector<TaxonParts> taxa, KeyContents& key);

// `text` (UTF-8; LineBreak starts a new line) wrapped at `width` columns into lines of
// key text, each ended by `lineEnd`.
std::string WrapText(std::string_view text, size_t width, std::string_view lineEnd,
                     KeyTextWriter& write);

// A character that gave states, as the index shows it.
struct IndexCharacter {
    std::string Caption;  // UTF-8: the words that name it
    std::string Words;    // UTF-8: all its words, to tell two entries apart
    int Number = 0;       // shown when nothing else tells them apart
    int States = 0;       // its states follow those of the character before it
    std::string Image;    // the picture of its entry ("C0001"); empty when none
};

// The index file of a key whose states are those of `characters`, in order: one entry
// per character, its states one range, in columns of 25 under "Characters a-b". The
// columns are as wide as the longest caption or heading, at most 60 characters; a longer
// caption is cut at a word and ends with an ellipsis. No two captions are the same: a
// later one that would repeat an earlier one starts with the words that tell it apart
// ("texture: leaf blades"), else ends with its number.
std::string BuildIndex(const std::vector<IndexCharacter>& characters, KeyTextWriter& write);

// The title page: title, credit lines, a blank line, "N taxa, M character states from K
// characters" and `source` ("Converted from ...").
std::vector<std::string> TitlePage(const std::string& title,
                                   const std::vector<std::string>& credits, size_t taxa,
                                   size_t states, size_t characters, const std::string& source,
                                   KeyTextWriter& write);

}  // namespace vorn::import
