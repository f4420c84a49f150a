#pragma once

#include <QFont>
#include <QFontMetrics>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "frame/Indicator.h"

namespace vorn {

// The widths of the two parts of list lines, measured once and shared by every list.
// Measuring text is slow, a list may hold thousands of lines, and after a scoring action
// the lists show the same bodies again with a few distinct prefixes: so a body's width is
// kept by kind and key index, with whether its item is linked (which its prefix needs), and
// a prefix's width by its prefix key; each per font, since the lists use two. Everything is
// dropped when NumberMode or NameMode changes or another key opens (KeysOpened): besides
// the font, those decide what a body says. One instance per window registry, shared by its
// lists (TVornListBox::Widths()), used on the widgets' thread only.
class LineWidths {
public:
    // The two codes that lead a line of the Taxon Differences window ("+ -", "* ?") are
    // drawn each in a cell as wide as the widest code, so the texts after them align in
    // a proportional font. The lead is the first kCodesLeadBytes of such a line's text.
    static constexpr int kCodesLeadBytes = 4;
    static bool HasCodesLead(const IndicatorRow& row) {
        return row.Kind == TIndicatorObj::IndicState && row.CountStyle == TIndicatorObj::CountCodes;
    }
    static int CodeCellWidth(const QFontMetrics& metrics);
    // The room the two cells and the blanks after them take.
    static int CodesLeadWidth(const QFontMetrics& metrics);

    // In number mode a line's number ("12.") is drawn right-aligned in a cell as wide as
    // the largest number of its kind of item in the key, so the texts after the numbers
    // line up. NumberBytes is the length of the number at the start of a body in number
    // mode (0 when there is none); NumberCellWidth the cell's width.
    static size_t NumberBytes(const std::string& body);
    static int NumberCellWidth(const QFontMetrics& metrics, uint8_t kind);

    struct Body {
        int Width = -1;  // -1: not measured yet
        bool Linked = false;
    };

    // The body of `row` in `font`: read from the key's files and measured the first time
    // (may throw IoError, and then nothing is kept), looked up afterwards.
    Body BodyOf(const QFont& font, const IndicatorRow& row);
    // The width of the prefix that `row` shows with `numbers`.
    int PrefixWidth(const QFont& font, const IndicatorRow& row, bool linked,
                    const IndicNumbers& numbers);

    // Bodies measured since the widths were made, for tests and benchmarks.
    int64_t BodiesMeasured() const { return bodiesMeasured_; }

private:
    struct Stamp {
        bool Numbers = false;
        int Names = 0;
        int64_t Keys = -1;
        bool operator==(const Stamp&) const = default;
    };
    struct FontWidths {
        explicit FontWidths(const QFont& font) : Font(font), Metrics(font) {}
        QFont Font;
        QFontMetrics Metrics;
        std::vector<Body> Bodies[2];  // by kind, then key index
        std::unordered_map<uint64_t, int> Prefixes;
        // The prefix looked up last: neighbouring lines mostly share theirs.
        uint64_t LastPrefix = ~uint64_t{0};
        int LastPrefixWidth = 0;
    };
    FontWidths& For(const QFont& font);

    Stamp stamp_;
    // A handful at most: one per list font.
    std::vector<std::unique_ptr<FontWidths>> fonts_;
    int64_t bodiesMeasured_ = 0;
};

}  // namespace vorn
