// The display line and the caption name of list items, against the rules for counts,
// marks, numbers and names. The counts are put into the engine's cache directly, so each
// row states exactly the count and matching total it is about.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/engine/Queries.h"
#include "core/session/Modes.h"
#include "frame/Indicator.h"

namespace vorn {
namespace {

class IndicTextTest : public ::testing::Test {
protected:
    ~IndicTextTest() override {
        CountMode = NumberMode = false;
        NameMode = ScientificNames;
    }

    // A state item with `count` taxa able to have it, out of `matching`.
    static IndicNumbers State(TIndicatorObj& item, int32_t index, int32_t count, int32_t matching,
                              uint8_t score) {
        item.Kind = TIndicatorObj::IndicState;
        item.Index = index;
        item.Text = "Leaves opposite";
        return {.Score = score, .Count = count, .Matching = matching};
    }
};

TEST_F(IndicTextTest, CountPartOfAStateByCount) {
    struct Row {
        int32_t count;
        int32_t matching;
        const char* counter;
    };
    const Row rows[] = {
        {-1, 9, "      "},       {0, 9, "(0)     "},  {0, 0, "(0)     "},
        {5, 9, "(5)     "},      {12, 40, "(12)   "}, {123, 400, "(123) "},
        {1200, 1201, "(1200) "}, {9, 9, "(all) "},    {1200, 1200, "(all) "},
    };
    CountMode = true;
    for (const Row& row : rows) {
        TIndicatorObj item;
        IndicNumbers n = State(item, 3, row.count, row.matching, ScoreNone);
        EXPECT_EQ(IndicText(item, n), std::string(row.counter) + "   Leaves opposite")
            << "count " << row.count << " of " << row.matching;
    }
}

TEST_F(IndicTextTest, NoCountWithoutCountModeOrWithCountNone) {
    TIndicatorObj item;
    IndicNumbers n = State(item, 0, 5, 9, ScoreNone);
    EXPECT_EQ(IndicText(item, n), "   Leaves opposite");
    CountMode = true;
    item.CountStyle = TIndicatorObj::CountNone;
    EXPECT_EQ(IndicText(item, n), "   Leaves opposite");
}

TEST_F(IndicTextTest, MarkOfEachScore) {
    const std::pair<uint8_t, const char*> rows[] = {
        {ScoreNone, "   "},       {ScorePresent, "  +"},   {ScoreAbsent, "  -"},
        {ScoreOrPresent, "  o+"}, {ScoreOrAbsent, "  o-"},
    };
    for (const auto& [value, mark] : rows) {
        TIndicatorObj item;
        IndicNumbers n = State(item, 0, 5, 9, value);
        EXPECT_EQ(IndicText(item, n), std::string(mark) + "Leaves opposite") << int(value);
    }
}

// Count mode and number mode on, nine taxa matching, the twelfth state.
TEST_F(IndicTextTest, WorkedExampleOfTheTwelfthState) {
    CountMode = NumberMode = true;
    TIndicatorObj item;
    IndicNumbers n = State(item, 11, 5, 9, ScoreNone);
    EXPECT_EQ(IndicText(item, n), "(5)        12. Leaves opposite");
    n.Score = ScorePresent;
    n.Count = 9;
    EXPECT_EQ(IndicText(item, n), "(all)   +12. Leaves opposite");
    n.Score = ScoreAbsent;
    n.Count = -1;
    EXPECT_EQ(IndicText(item, n), "        -12. Leaves opposite");
}

TEST_F(IndicTextTest, TaxonLinesAndCaptionsByNameMode) {
    TIndicatorObj oak;
    oak.Kind = TIndicatorObj::IndicTaxon;
    oak.Index = 0;
    oak.Text = "Quercus robur";
    oak.CommonName = "English oak";
    TIndicatorObj ilex;
    ilex.Kind = TIndicatorObj::IndicTaxon;
    ilex.Index = 1;
    ilex.Text = "Quercus ilex";
    ilex.ImageName = "";  // present though empty: it still earns the mark

    struct Row {
        NameModeValue mode;
        const char *oakLine, *ilexLine, *oakName, *ilexName;
    };
    const Row rows[] = {
        {ScientificNames, "   Quercus robur", "> Quercus ilex", "Quercus robur", "Quercus ilex"},
        {CommonNames, "   English oak", "> (Quercus ilex)", "English oak", "(Quercus ilex)"},
        {BothNames, "   Quercus robur, English oak", "> Quercus ilex", "Quercus robur, English oak",
         "(Quercus ilex)"},
    };
    for (const Row& row : rows) {
        NameMode = row.mode;
        EXPECT_EQ(IndicText(oak), row.oakLine) << row.mode;
        EXPECT_EQ(IndicText(ilex), row.ilexLine) << row.mode;
        EXPECT_EQ(IndicName(oak), row.oakName) << row.mode;
        EXPECT_EQ(IndicName(ilex), row.ilexName) << row.mode;
    }

    // Count mode does not give taxa a count; number mode gives them their number.
    CountMode = NumberMode = true;
    NameMode = ScientificNames;
    ilex.ImageName.reset();
    ilex.NotesName = "QILEX.TXT";
    EXPECT_EQ(IndicText(oak), "   1. Quercus robur");
    EXPECT_EQ(IndicText(ilex), "> 2. Quercus ilex");
}

TEST_F(IndicTextTest, MismatchCountOfATaxonShowsInEveryMode) {
    TIndicatorObj item;
    item.Kind = TIndicatorObj::IndicTaxon;
    item.Index = 4;
    item.Text = "Fagus sylvatica";
    item.CountStyle = TIndicatorObj::CountMismatches;
    IndicNumbers n{.Mismatches = 3};
    EXPECT_EQ(IndicText(item, n), "(3)    Fagus sylvatica");
    CountMode = true;
    n.Mismatches = 12;
    EXPECT_EQ(IndicText(item, n), "(12)    Fagus sylvatica");
}

TEST_F(IndicTextTest, StateNameIsItsText) {
    TIndicatorObj item;
    IndicNumbers n = State(item, 0, 5, 9, ScorePresent);
    NameMode = CommonNames;
    EXPECT_EQ(IndicName(item), "Leaves opposite");
    item.Text.reset();
    EXPECT_EQ(IndicName(item), "");
    EXPECT_EQ(IndicText(item, n), "  +");
}

// Lists cache the width of a prefix under its key: items with different prefixes must
// never share a key.
TEST_F(IndicTextTest, PrefixKeyTellsPrefixesApart) {
    CountMode = true;
    std::map<uint64_t, std::string> prefixes;
    for (int32_t count : {-2, -1, 0, 5, 9, 12, 1200})
        for (uint8_t value : {ScoreNone, ScorePresent, ScoreOrAbsent})
            for (int variant = 0; variant < 4; ++variant) {
                TIndicatorObj item;
                IndicNumbers n = State(item, 7, count, 9, value);
                if (variant & 1) item.CountStyle = TIndicatorObj::CountNone;
                if (variant & 2) item.NotesName = "";
                std::string prefix = IndicPrefix(item, n);
                uint64_t key = IndicPrefixKey(item, n);
                EXPECT_EQ(IndicText(item, n), prefix + "Leaves opposite");
                EXPECT_EQ(prefixes.emplace(key, prefix).first->second, prefix) << key;
            }
}

}  // namespace
}  // namespace vorn
