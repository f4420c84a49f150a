// The table of window kinds. Adding a kind of window is adding its row here (and its
// value to WindowKind); a kind without a row does not compile.
#include "desktop/WindowKinds.h"

#include <iterator>

#include "windows/states/ActiveWindow.h"
#include "windows/states/BestWindow.h"
#include "windows/states/DifferentiatingWindow.h"
#include "windows/states/HistoryWindow.h"
#include "windows/states/IndexWindow.h"
#include "windows/states/MismatchedStatesWindow.h"
#include "windows/states/ScoreWindow.h"
#include "windows/states/SubsetWindow.h"
#include "windows/taxa/ImageWindow.h"
#include "windows/taxa/MatchingTaxaWindow.h"
#include "windows/taxa/TaxonDifferencesWindow.h"
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

constexpr WindowKindRow kRows[] = {
    {.Kind = WindowKind::CharScore,
     .Caption = "Score Character States",
     .Group = State,
     .Refresh = Repaint,
     .LoadedWithKey = true,
     .Several = false,
     .Create = Make<TCharScore>,
     .HelpAnchor = "windows.html#score"},
    {.Kind = WindowKind::CharActive,
     .Caption = "Active Character States",
     .Group = State,
     .Refresh = Load,
     .LoadedWithKey = true,
     .Several = false,
     .Create = Make<TCharActive>,
     .HelpAnchor = "windows.html#active"},
    {.Kind = WindowKind::CharHistory,
     .Caption = "Character State History",
     .Group = State,
     .Refresh = Repaint,
     .LoadedWithKey = false,
     .Several = false,
     .Create = Make<TCharHistory>,
     .HelpAnchor = "windows.html#history"},
    {.Kind = WindowKind::CharDiff,
     .Caption = "Differentiating Character States",
     .Group = State,
     .Refresh = Load,
     .LoadedWithKey = true,
     .Several = false,
     .Create = Make<TCharDiff>,
     .HelpAnchor = "windows.html#differentiating"},
    {.Kind = WindowKind::CharBest,
     .Caption = "Best Character States",
     .Group = State,
     .Refresh = Load,
     .LoadedWithKey = true,
     .Several = false,
     .Create = Make<TCharBest>,
     .HelpAnchor = "windows.html#best"},
    {.Kind = WindowKind::CharSubset,
     .Caption = "Character State Subset",
     .Group = State,
     .Refresh = Load,
     .LoadedWithKey = true,
     .Several = false,
     .Create = Make<TCharSubset>,
     .HelpAnchor = "windows.html#subset"},
    {.Kind = WindowKind::CharMiss,
     .Caption = "Mismatched States:  ",
     .Group = State,
     .Refresh = Load,
     .LoadedWithKey = true,
     .Several = false,
     .Create = Make<TCharMiss>,
     .HelpAnchor = "windows.html#mismatched-states"},
    {.Kind = WindowKind::CharIndex,
     .Caption = "Index to Character States",
     .Group = None,
     .Refresh = Nothing,
     .LoadedWithKey = false,
     .Several = false,
     .Create = Make<TCharIndex>,
     .HelpAnchor = "windows.html#index"},
    {.Kind = WindowKind::TaxMatch,
     .Caption = "Matching Taxa",
     .Group = Taxa,
     .Refresh = Load,
     .LoadedWithKey = true,
     .Several = false,
     .Create = Make<TTaxMatch>,
     .HelpAnchor = "windows.html#matching-taxa"},
    {.Kind = WindowKind::TaxMismatch,
     .Caption = "Mismatched Character States",
     .Group = Taxa,
     .Refresh = Load,
     .LoadedWithKey = true,
     .Several = false,
     .Create = Make<TTaxMismatch>,
     .HelpAnchor = "windows.html#taxon-mismatch"},
    {.Kind = WindowKind::TaxDiff,
     .Caption = "Taxon Differences",
     .Group = Taxa,
     .Refresh = Repaint,
     .LoadedWithKey = true,
     .Several = false,
     .Create = Make<TTaxDiff>,
     .HelpAnchor = "windows.html#differences"},
    {.Kind = WindowKind::ImageForm,
     .Caption = "Image Form",
     .Group = None,
     .Refresh = Nothing,
     .LoadedWithKey = false,
     .Several = false,
     .Create = Make<TImageForm>,
     .HelpAnchor = "windows.html#image"},
    {.Kind = WindowKind::TextForm,
     .Caption = "Text Form",
     .Group = None,
     .Refresh = Nothing,
     .LoadedWithKey = false,
     .Several = true,
     .Create = Make<TTextForm>,
     .HelpAnchor = "windows.html#notes"},
};

// The windows that belong to a key close with it, in this order.
constexpr WindowKind kClosedWithKey[] = {
    WindowKind::CharIndex, WindowKind::CharSubset, WindowKind::CharMiss, WindowKind::CharDiff,
    WindowKind::CharBest,  WindowKind::TaxDiff,    WindowKind::ImageForm};

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
    return {std::span<const WindowKindRow, WindowKindCount>(kRows, WindowKindCount),
            kClosedWithKey};
}

}  // namespace vorn
