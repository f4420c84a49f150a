// The table of window kinds. Adding a kind of window is adding its row here (and its
// value to WindowKind); a kind without a row does not compile.
#include "desktop/WindowKinds.h"

#include <iterator>

#include "windows/states/ActiveWindow.h"
#include "windows/states/DifferentiatingWindow.h"
#include "windows/states/HistoryWindow.h"
#include "windows/states/IndexWindow.h"
#include "windows/states/MismatchedStatesWindow.h"
#include "windows/states/ScoreWindow.h"
#include "windows/states/SubsetWindow.h"
#include "windows/taxa/ImageWindow.h"
#include "windows/taxa/MatchingTaxaWindow.h"
#include "windows/taxa/TaxonMismatchWindow.h"
#include "windows/taxa/TextWindow.h"

namespace vorn {
namespace {

template <class T>
TChildForm* Make() {
    return new T;
}

using enum WindowGroup;
using enum AfterScoring;

// Kind, caption, group, after scoring, loaded with a key, closed with a key (in which
// order), several at once, factory.
constexpr WindowKindRow kRows[] = {
    {WindowKind::CharScore, "Score Character States", State, Repaint, true, 0, false,
     Make<TCharScore>},
    {WindowKind::CharActive, "Active Character States", State, Load, true, 0, false,
     Make<TCharActive>},
    {WindowKind::CharHistory, "Character State History", State, Repaint, false, 0, false,
     Make<TCharHistory>},
    {WindowKind::CharDiff, "Differentiating Character States", State, Load, true, 4, false,
     Make<TCharDiff>},
    {WindowKind::CharSubset, "Character State Subset", State, Load, true, 2, false,
     Make<TCharSubset>},
    {WindowKind::CharMiss, "Mismatched States:  ", State, Load, true, 3, false, Make<TCharMiss>},
    {WindowKind::CharIndex, "Index to Character States", None, Nothing, false, 1, false,
     Make<TCharIndex>},
    {WindowKind::TaxMatch, "Matching Taxa", Taxa, Load, true, 0, false, Make<TTaxMatch>},
    {WindowKind::TaxMismatch, "Mismatched Character States", Taxa, Load, true, 0, false,
     Make<TTaxMismatch>},
    {WindowKind::ImageForm, "Image Form", None, Nothing, false, 5, false, Make<TImageForm>},
    {WindowKind::TextForm, "Text Form", None, Nothing, false, 0, true, Make<TTextForm>},
};

constexpr bool RowsInKindOrder() {
    for (int k = 0; k < WindowKindCount; ++k) {
        if (static_cast<int>(kRows[k].Kind) != k) return false;
    }
    return true;
}
static_assert(std::size(kRows) == WindowKindCount, "every kind of window needs its row");
static_assert(RowsInKindOrder(), "rows must follow the order of WindowKind");

}  // namespace

WindowKindTable WindowKinds() {
    return WindowKindTable(kRows, WindowKindCount);
}

}  // namespace vorn
