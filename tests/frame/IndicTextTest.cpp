// The display line and the caption name of list items, against the rules for counts,
// marks, numbers and names. Lines are built from the numbers each case gives, so each row
// states exactly the score, count and matching total it is about.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/key/KeyFiles.h"
#include "core/session/Modes.h"
#include "core/session/Session.h"
#include "frame/Indicator.h"

namespace vorn {
namespace {

class IndicTextTest : public ::testing::Test {
protected:
    ~IndicTextTest() override {
        CurrentSession().CountMode = CurrentSession().NumberMode = false;
        CurrentSession().NameMode = ScientificNames;
    }

    // A state item, and the numbers of a line: `count` taxa able to have it, out of `matching`.
    static TIndicatorObj State(int32_t index) {
        TIndicatorObj item;
        item.Kind = TIndicatorObj::IndicState;
        item.Index = index;
        item.Text = "Leaves opposite";
        return item;
    }
    static IndicNumbers Numbers(uint8_t score, int32_t count, int32_t matching) {
        IndicNumbers numbers;
        numbers.Score = score;
        numbers.Count = count;
        numbers.Matching = matching;
        return numbers;
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
    CurrentSession().CountMode = true;
    for (const Row& row : rows) {
        EXPECT_EQ(IndicText(State(3), Numbers(ScoreNone, row.count, row.matching)),
                  std::string(row.counter) + "   Leaves opposite")
            << "count " << row.count << " of " << row.matching;
    }
}

TEST_F(IndicTextTest, NoCountWithoutCountModeOrWithCountNone) {
    TIndicatorObj item = State(0);
    EXPECT_EQ(IndicText(item, Numbers(ScoreNone, 5, 9)), "   Leaves opposite");
    CurrentSession().CountMode = true;
    item.CountStyle = TIndicatorObj::CountNone;
    EXPECT_EQ(IndicText(item, Numbers(ScoreNone, 5, 9)), "   Leaves opposite");
}

TEST_F(IndicTextTest, MarkOfEachScore) {
    const std::pair<uint8_t, const char*> rows[] = {
        {ScoreNone, "   "},       {ScorePresent, "  +"},   {ScoreAbsent, "  -"},
        {ScoreOrPresent, "  o+"}, {ScoreOrAbsent, "  o-"},
    };
    for (const auto& [value, mark] : rows) {
        EXPECT_EQ(IndicText(State(0), Numbers(value, 5, 9)), std::string(mark) + "Leaves opposite")
            << int(value);
    }
}

// Count mode and number mode on, nine taxa matching, the twelfth state.
TEST_F(IndicTextTest, WorkedExampleOfTheTwelfthState) {
    CurrentSession().CountMode = CurrentSession().NumberMode = true;
    TIndicatorObj item = State(11);
    EXPECT_EQ(IndicText(item, Numbers(ScoreNone, 5, 9)), "(5)        12. Leaves opposite");
    EXPECT_EQ(IndicText(item, Numbers(ScorePresent, 9, 9)), "(all)   +12. Leaves opposite");
    EXPECT_EQ(IndicText(item, Numbers(ScoreAbsent, -1, 9)), "        -12. Leaves opposite");
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
        CurrentSession().NameMode = row.mode;
        EXPECT_EQ(IndicText(oak, {}), row.oakLine) << row.mode;
        EXPECT_EQ(IndicText(ilex, {}), row.ilexLine) << row.mode;
        EXPECT_EQ(IndicName(oak), row.oakName) << row.mode;
        EXPECT_EQ(IndicName(ilex), row.ilexName) << row.mode;
    }

    // Count mode does not give taxa a count; number mode gives them their number.
    CurrentSession().CountMode = CurrentSession().NumberMode = true;
    CurrentSession().NameMode = ScientificNames;
    ilex.ImageName.reset();
    ilex.NotesName = "QILEX.TXT";
    EXPECT_EQ(IndicText(oak, {}), "   1. Quercus robur");
    EXPECT_EQ(IndicText(ilex, {}), "> 2. Quercus ilex");
}

TEST_F(IndicTextTest, MismatchCountOfATaxonShowsInEveryMode) {
    TIndicatorObj item;
    item.Kind = TIndicatorObj::IndicTaxon;
    item.Index = 4;
    item.Text = "Fagus sylvatica";
    item.CountStyle = TIndicatorObj::CountMismatches;
    IndicNumbers numbers;
    numbers.Mismatches = 3;
    EXPECT_EQ(IndicText(item, numbers), "(3)    Fagus sylvatica");
    CurrentSession().CountMode = true;
    numbers.Mismatches = 12;
    EXPECT_EQ(IndicText(item, numbers), "(12)    Fagus sylvatica");
}

TEST_F(IndicTextTest, StateNameIsItsText) {
    TIndicatorObj item = State(0);
    CurrentSession().NameMode = CommonNames;
    EXPECT_EQ(IndicName(item), "Leaves opposite");
    item.Text.reset();
    EXPECT_EQ(IndicName(item), "");
    EXPECT_EQ(IndicText(item, Numbers(ScorePresent, 5, 9)), "  +");
}

// The Best window's lines begin with the separation, rounded to two decimals, before the
// usual line; the Differences window's with the two taxa's codes, and never a count.
TEST_F(IndicTextTest, LeadOfSeparationAndOfCodes) {
    TIndicatorObj item = State(0);
    item.CountStyle = TIndicatorObj::CountSeparation;
    const std::pair<double, const char*> separations[] = {{0.6344, "0.63 "},
                                                          {1.0, "1.00 "},
                                                          {0.004, "0.00 "},
                                                          {0.005, "0.01 "},
                                                          {15.99999, "16.00 "}};
    for (const auto& [separation, lead] : separations) {
        item.Value = SeparationValue(separation);
        EXPECT_EQ(IndicText(item, Numbers(ScoreNone, 5, 9)),
                  std::string(lead) + "   Leaves opposite")
            << separation;
    }
    CurrentSession().CountMode = true;
    item.Value = SeparationValue(0.25);
    EXPECT_EQ(IndicText(item, Numbers(ScorePresent, 9, 9)), "0.25 (all)   +Leaves opposite");

    item.CountStyle = TIndicatorObj::CountCodes;
    item.Value = CodesValue(CodePresent, CodeUnknown);
    EXPECT_EQ(IndicText(item, Numbers(ScoreNone, 5, 9)), "+ ?    Leaves opposite");
    item.Value = CodesValue(CodeVariable, CodeAbsent);
    EXPECT_EQ(IndicText(item, Numbers(ScoreAbsent, 5, 9)), "* -   -Leaves opposite");
}

// Lists cache the width of a prefix under its key: items with different prefixes must
// never share a key.
TEST_F(IndicTextTest, PrefixKeyTellsPrefixesApart) {
    CurrentSession().CountMode = true;
    std::map<uint64_t, std::string> prefixes;
    for (int32_t count : {-2, -1, 0, 5, 9, 12, 1200})
        for (uint8_t value : {ScoreNone, ScorePresent, ScoreOrAbsent})
            for (int variant = 0; variant < 16; ++variant) {
                TIndicatorObj item = State(7);
                if (variant & 1) item.CountStyle = TIndicatorObj::CountNone;
                if (variant & 2) item.NotesName = "";
                // Leads whose values differ in a hundredth or in one code.
                if (variant & 4) item.CountStyle = TIndicatorObj::CountSeparation;
                if ((variant & 12) == 12) item.CountStyle = TIndicatorObj::CountCodes;
                if (variant & 8) item.Value = (variant & 4) ? 63 : 62;
                IndicNumbers numbers = Numbers(value, count, 9);
                std::string prefix = IndicPrefix(item, numbers);
                uint64_t key = IndicPrefixKey(item, numbers);
                EXPECT_EQ(IndicText(item, numbers), prefix + "Leaves opposite");
                EXPECT_EQ(prefixes.emplace(key, prefix).first->second, prefix) << key;
            }
}

}  // namespace
}  // namespace vorn
