// The check of a key for its authors, and the differences between two taxa: on small keys
// worked out by hand, on the sample key, and cancelled half-way.
#include "core/engine/KeyCheck.h"

#include <gtest/gtest.h>

#include "core/session/Session.h"
#include "tests/kit/EngineFixture.h"

namespace vorn {
namespace {

using Pairs = std::vector<std::pair<int32_t, int32_t>>;

CodeMatrix Codes(int32_t taxa, const std::vector<std::string>& codes) {
    CodeMatrix matrix;
    matrix.Assign(taxa, codes);
    return matrix;
}

TEST(KeyCheckTest, WhatNoStateSeparatesWorkedByHand) {
    // Taxa:                    01234
    CodeMatrix codes = Codes(5, {"+-?*+",    // separates 0 and 4 from 1
                                 "+++++",    // every taxon has it
                                 "--?--",    // no taxon has it ("?" is no "+" or "*")
                                 "-*---",    // taxon 1 may have it: some taxon has it
                                 "-+---"});  // separates 1 from every other taxon
    KeyCheck check = CheckKey(codes);
    // 0 and 4 share every code; taxon 2 is "?" on states 0 and 2 and agrees elsewhere
    // with 0, 3 and 4; taxon 3 is "*" on state 0 and agrees with 0 and 4 elsewhere.
    EXPECT_EQ(check.InseparablePairs, (Pairs{{0, 2}, {0, 3}, {0, 4}, {2, 3}, {2, 4}, {3, 4}}));
    EXPECT_EQ(check.StatesNoTaxonHas, std::vector<int32_t>{2});
    EXPECT_EQ(check.StatesEveryTaxonHas, std::vector<int32_t>{1});
    EXPECT_TRUE(check.TaxaWithoutPresent.empty());
    EXPECT_TRUE(check.Complete);

    // Taxa with no "+" anywhere; a key of one taxon has no pairs.
    check = CheckKey(Codes(3, {"-*?", "-?-"}));
    EXPECT_EQ(check.TaxaWithoutPresent, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(check.InseparablePairs, (Pairs{{0, 1}, {0, 2}, {1, 2}}));
    EXPECT_TRUE(CheckKey(Codes(1, {"+"})).InseparablePairs.empty());
    // Taxa and no states at all: nothing separates them, and none has a "+".
    check = CheckKey(Codes(2, {}));
    EXPECT_EQ(check.InseparablePairs, (Pairs{{0, 1}}));
    EXPECT_EQ(check.TaxaWithoutPresent, (std::vector<int32_t>{0, 1}));
}

TEST(KeyCheckTest, PairsAcrossWordsOfStatesAndTaxa) {
    // 130 taxa that differ only on state 129 (the third word of states), where taxa 64 and
    // 65 (in the second word of taxa) are the only ones coded "-".
    std::vector<std::string> codes(130, std::string(130, '+'));
    codes[129][64] = codes[129][65] = '-';
    KeyCheck check = CheckKey(Codes(130, codes));
    // Every pair but those with exactly one of 64 and 65 is inseparable.
    EXPECT_EQ(check.InseparablePairs.size(), 130u * 129 / 2 - 2 * 128);
    for (auto [a, b] : check.InseparablePairs)
        EXPECT_EQ(a == 64 || a == 65, b == 64 || b == 65) << a << " " << b;
    EXPECT_EQ(check.StatesEveryTaxonHas.size(), 129u);
}

TEST(KeyCheckTest, CancellingStopsAndSaysHowFarItGot) {
    std::vector<std::string> codes(3, std::string(3000, '+'));  // nothing separates anyone
    int asked = 0;
    KeyCheck check = CheckKey(Codes(3000, codes), [&asked](double done) {
        EXPECT_GE(done, 0.0);
        EXPECT_LE(done, 1.0);
        return ++asked < 2;
    });
    EXPECT_FALSE(check.Complete);
    ASSERT_GT(check.TaxaDone, 0);
    ASSERT_LT(check.TaxaDone, 3000);
    // The pairs are exactly those of the first TaxaDone taxa with every later one.
    size_t expected = 0;
    for (int32_t a = 0; a < check.TaxaDone; ++a)
        expected += 3000 - 1 - a;
    EXPECT_EQ(check.InseparablePairs.size(), expected);
    EXPECT_EQ(check.InseparablePairs.back().first, check.TaxaDone - 1);
}

class KeyReportTest : public testing::EngineFixture {};

TEST_F(KeyReportTest, DifferencesBetweenTwoTaxaCertainThenPossible) {
    // Taxa:        01
    Open(MakeKey({"+-",     // certain
                  "?-",     // possible
                  "**",     // neither
                  "-+",     // certain
                  "*+",     // possible
                  "??",     // neither
                  "++"}));  // neither
    TaxonDifferences d = session_.Differences(0, 1);
    EXPECT_EQ(d.Certain, (std::vector<int32_t>{0, 3}));
    EXPECT_EQ(d.Possible, (std::vector<int32_t>{1, 4}));
    d = session_.Differences(1, 0);
    EXPECT_EQ(d.Certain, (std::vector<int32_t>{0, 3}));
    EXPECT_TRUE(session_.Differences(1, 1).Certain.empty() &&
                session_.Differences(1, 1).Possible.empty());
}

}  // namespace
}  // namespace vorn
