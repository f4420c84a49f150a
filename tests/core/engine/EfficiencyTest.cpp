// What a key is worth: the plays of every taxon against a recomputation that keeps no engine
// (loops over the codes, a fresh count at every answer), on the sample key and on random
// keys large enough to share plays and move them to smaller engines; keys worked out by
// hand for halving, ties, taxa not reached and tolerance; samples and cancelling.
#include "core/engine/Efficiency.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using Codes = std::vector<std::string>;  // codes[s][t]: taxon t's code for state s

CodeMatrix Matrix(const Codes& codes) {
    CodeMatrix matrix;
    matrix.Assign(codes.empty() ? 0 : static_cast<int32_t>(codes[0].size()), codes);
    return matrix;
}

// One play as a user makes it, recounted from the codes at every answer.
struct Play {
    int32_t answers = 0;
    std::vector<int32_t> left;  // the other taxa matching at the end
};

Play Replay(const Codes& codes, int32_t specimen, int tolerance, bool best) {
    const auto states = static_cast<int32_t>(codes.size());
    const auto taxa = static_cast<int32_t>(codes[0].size());
    std::vector<std::pair<int32_t, char>> answers;  // (state, '+' or '-')
    std::vector<bool> answered(static_cast<size_t>(states));
    Play play;
    for (;;) {
        // Mismatches from scratch: an answer contradicts the taxa coded the other way.
        std::vector<int32_t> within, sure;  // sure: no mismatch to spare
        for (int32_t t = 0; t < taxa; ++t) {
            int mismatches = 0;
            for (auto [s, answer] : answers)
                mismatches += codes[s][t] == (answer == '+' ? '-' : '+');
            if (mismatches <= tolerance) within.push_back(t);
            if (mismatches == tolerance) sure.push_back(t);
        }
        const auto t = static_cast<int32_t>(within.size());
        if (t <= 1) return play;
        std::vector<std::pair<int64_t, int32_t>> ranked;  // (key, state), first listed first
        for (int32_t s = 0; s < states; ++s) {
            if (answered[s]) continue;
            int32_t plus = 0, minus = 0, couldHave = 0;
            for (int32_t x : within)
                couldHave += codes[s][x] != '-';
            for (int32_t x : sure) {
                plus += codes[s][x] == '+';
                minus += codes[s][x] == '-';
            }
            if (best) {
                // The separation as the Best window documents it, compared at 9 decimals.
                double v = t - plus - minus;
                double kP = plus + v, kA = minus + v, fP = plus + v / 2, fA = minus + v / 2;
                double sum = (kP > 0 ? fP * std::log2(kP) : 0) + (kA > 0 ? fA * std::log2(kA) : 0);
                double separation = std::log2(double(t)) - sum / t;
                if (separation >= 1e-9) ranked.push_back({-std::llround(separation * 1e9), s});
            } else if (couldHave != 0 && couldHave != t) {
                ranked.push_back({couldHave, s});
            }
        }
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        auto next = std::find_if(ranked.begin(), ranked.end(), [&](const auto& entry) {
            char code = codes[entry.second][specimen];
            return code == '+' || code == '-';
        });
        if (next == ranked.end()) {
            for (int32_t x : within)
                if (x != specimen) play.left.push_back(x);
            return play;
        }
        answers.emplace_back(next->second, codes[next->second][specimen]);
        answered[next->second] = true;
        ++play.answers;
    }
}

// The measure's figures for one order against plays recounted one by one.
void ExpectOrderEqualsReplays(const Codes& codes, const Efficiency& measured,
                              const EfficiencyOrder& order, bool best) {
    ASSERT_EQ(order.Answers.size(), measured.Played.size());
    std::vector<std::pair<int32_t, std::vector<int32_t>>> notReached;
    int32_t reached = 0;
    for (size_t i = 0; i < measured.Played.size(); ++i) {
        int32_t taxon = measured.Played[i];
        Play play = Replay(codes, taxon, measured.Tolerance, best);
        EXPECT_EQ(order.Answers[i], play.answers) << "taxon " << taxon << (best ? " best" : "");
        if (play.left.empty()) {
            ++reached;
        } else {
            notReached.emplace_back(taxon, play.left);
        }
    }
    EXPECT_EQ(order.Reached, reached);
    ASSERT_EQ(order.NotReached.size(), notReached.size());
    for (size_t i = 0; i < notReached.size(); ++i) {
        EXPECT_EQ(order.NotReached[i].Taxon, notReached[i].first);
        EXPECT_EQ(order.LeftWith(i), notReached[i].second) << "taxon " << notReached[i].first;
    }
    std::vector<int32_t> sorted = order.Answers;
    std::sort(sorted.begin(), sorted.end());
    size_t n = sorted.size();
    EXPECT_DOUBLE_EQ(order.Mean, std::accumulate(sorted.begin(), sorted.end(), 0.0) / n);
    EXPECT_DOUBLE_EQ(order.Median, (sorted[(n - 1) / 2] + sorted[n / 2]) / 2.0);
    EXPECT_EQ(order.Max, sorted.back());
}

void ExpectEqualsReplays(const Codes& codes, const Efficiency& measured) {
    ASSERT_TRUE(measured.Complete);
    ExpectOrderEqualsReplays(codes, measured, measured.Best, true);
    ExpectOrderEqualsReplays(codes, measured, measured.Differentiating, false);
}

Codes TreesCodes() {
    // The sample key: 30 taxa, one record of 40 bytes per state.
    std::string bytes = testing::ReadFile(std::string(VORN_SOURCE_DIR) + "/keys/TREES.DAT");
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.size() % 40, 0u);
    Codes codes;
    for (size_t at = 0; at + 40 <= bytes.size(); at += 40)
        codes.push_back(bytes.substr(at, 30));
    return codes;
}

TEST(EfficiencyTest, EqualsPlaysRecountedFromTheCodes) {
    Codes trees = TreesCodes();
    ASSERT_FALSE(trees.empty());
    Efficiency measured = MeasureEfficiency(Matrix(trees));
    EXPECT_EQ(measured.Taxa, 30);
    EXPECT_EQ(measured.Played.size(), 30u);
    EXPECT_FALSE(measured.Sampled);
    ExpectEqualsReplays(trees, measured);
    // Every tree of the sample key can be told from the others.
    EXPECT_EQ(measured.Best.Reached, 30);

    // Keys across word boundaries, with plays that share their first answers and,
    // at 2,100 taxa, move on to engines over fewer taxa; with and without tolerance.
    for (auto [taxa, states, sample, tolerance] :
         {std::tuple{130, 45, 130, 0}, {130, 45, 130, 1}, {2100, 40, 150, 0}, {2100, 40, 60, 2}}) {
        Codes codes =
            testing::RandomKey(taxa, states, static_cast<uint32_t>(taxa + tolerance)).Codes;
        // A few taxa that no state separates from their neighbour.
        for (std::string& state : codes)
            state[64] = state[63];
        measured = MeasureEfficiency(Matrix(codes), tolerance, sample);
        SCOPED_TRACE(std::to_string(taxa) + " taxa, tolerance " + std::to_string(tolerance));
        EXPECT_EQ(measured.Sampled, sample < taxa);
        EXPECT_EQ(measured.Tolerance, tolerance);
        ExpectEqualsReplays(codes, measured);
    }
}

TEST(EfficiencyTest, AKeyWhoseEveryAnswerHalvesTheTaxaTakesLog2TAnswers) {
    // 64 taxa; state b is "+" for the taxa whose number has bit b, its complement "-";
    // besides them states that split nothing: all "?", all "+", all "*".
    const int32_t taxa = 64;
    Codes codes{std::string(taxa, '?'), std::string(taxa, '+')};
    for (int bit = 0; bit < 6; ++bit) {
        std::string state(taxa, '-'), complement(taxa, '+');
        for (int32_t t = 0; t < taxa; ++t) {
            if (t >> bit & 1) state[t] = '+', complement[t] = '-';
        }
        codes.push_back(state);
        codes.push_back(complement);
    }
    codes.push_back(std::string(taxa, '*'));
    Efficiency measured = MeasureEfficiency(Matrix(codes));
    EXPECT_EQ(measured.Log2Taxa, 6.0);
    for (const EfficiencyOrder* order : {&measured.Best, &measured.Differentiating}) {
        EXPECT_EQ(order->Answers, std::vector<int32_t>(taxa, 6));
        EXPECT_EQ(order->Mean, 6.0);
        EXPECT_EQ(order->Median, 6.0);
        EXPECT_EQ(order->Max, 6);
        EXPECT_EQ(order->Reached, taxa);
        EXPECT_TRUE(order->NotReached.empty());
    }
    ExpectEqualsReplays(codes, measured);
}

TEST(EfficiencyTest, TiesGoInStateOrderAndUnknownCodesArePassedOver) {
    // Taxa:       0123
    Codes codes{"++--",   // halves: the first of two ties
                "+-+-",   // halves too
                "+---"};  // 1 against 3
    Efficiency measured = MeasureEfficiency(Matrix(codes));
    // Best: state 0, then state 1 splits each half.
    EXPECT_EQ(measured.Best.Answers, (std::vector<int32_t>{2, 2, 2, 2}));
    // Differentiating: states 2, 0, 1 (1, 2 and 2 taxa could have them). Taxon 0 is alone
    // after state 2; the others answer it Absent, and then states 0 and 1 could each be
    // had by 1 of the 3: state 0 first, which leaves taxon 1 alone; taxa 2 and 3 go on.
    EXPECT_EQ(measured.Differentiating.Answers, (std::vector<int32_t>{1, 2, 3, 3}));
    EXPECT_DOUBLE_EQ(measured.Differentiating.Mean, 2.25);
    EXPECT_EQ(measured.Differentiating.Median, 2.5);
    EXPECT_EQ(measured.Differentiating.Max, 3);
    ExpectEqualsReplays(codes, measured);

    // Best lists state 0 (separation 0.63) before state 1 (0.42). Taxon 0 cannot tell
    // state 0 and answers state 1 "+", which leaves taxa 2 and 3 ("?" there) with it; state
    // 0 is listed again, and nothing else, so its play ends. Taxon 1 answers state 0 and
    // then state 1; taxa 2 and 3 answer state 0 "-" and cannot tell state 1.
    // Taxa:  0123
    codes = {"?+--",  //
             "+-??"};
    measured = MeasureEfficiency(Matrix(codes));
    EXPECT_EQ(measured.Best.Answers, (std::vector<int32_t>{1, 2, 1, 1}));
    EXPECT_EQ(measured.Best.Reached, 1);
    ASSERT_EQ(measured.Best.NotReached.size(), 3u);
    EXPECT_EQ(measured.Best.NotReached[0].Taxon, 0);
    EXPECT_EQ(measured.Best.LeftWith(0), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(measured.Best.LeftWith(1), (std::vector<int32_t>{0, 3}));
    EXPECT_EQ(measured.Best.LeftWith(2), (std::vector<int32_t>{0, 2}));
    ExpectEqualsReplays(codes, measured);
}

TEST(EfficiencyTest, TaxaThatNothingSeparatesAreNotReachedAndSayWithWhat) {
    // Taxa 1 and 2 have the same codes, taxon 3 is "*" where they differ from taxon 0.
    // Taxa:       0123
    Codes codes{"+--*",  //
                "-++*",  //
                "+++-"};
    Efficiency measured = MeasureEfficiency(Matrix(codes));
    for (const EfficiencyOrder* order : {&measured.Best, &measured.Differentiating}) {
        ASSERT_EQ(order->NotReached.size(), 2u);
        EXPECT_EQ(order->NotReached[0].Taxon, 1);
        EXPECT_EQ(order->LeftWith(0), std::vector<int32_t>{2});
        EXPECT_EQ(order->NotReached[1].Taxon, 2);
        EXPECT_EQ(order->LeftWith(1), std::vector<int32_t>{1});
        // Both plays ended in one place, which is kept once.
        EXPECT_EQ(order->NotReached[0].End, order->NotReached[1].End);
        EXPECT_EQ(order->Reached, 2);
    }
    ExpectEqualsReplays(codes, measured);

    // One taxon is reached with no answer; a key of none plays nothing.
    measured = MeasureEfficiency(Matrix({"+"}));
    EXPECT_EQ(measured.Best.Answers, std::vector<int32_t>{0});
    EXPECT_EQ(measured.Best.Reached, 1);
    EXPECT_EQ(measured.Log2Taxa, 0.0);
    measured = MeasureEfficiency(CodeMatrix());
    EXPECT_TRUE(measured.Played.empty());
    EXPECT_EQ(measured.Differentiating.Max, 0);
}

TEST(EfficiencyTest, ToleranceKeepsTaxaWithFewMismatchesInPlay) {
    // Taxon 1 differs from taxon 0 on state 0 alone, taxon 2 on states 1 and 2.
    // Taxa:       012
    Codes codes{"+-+",  //
                "++-",  //
                "++-"};
    Efficiency strict = MeasureEfficiency(Matrix(codes), 0);
    EXPECT_EQ(strict.Best.Reached, 3);
    EXPECT_EQ(strict.Differentiating.Reached, 3);

    Efficiency tolerant = MeasureEfficiency(Matrix(codes), 1);
    EXPECT_EQ(tolerant.Tolerance, 1);
    // Differentiating: taxon 1 still matches beside taxon 0 with its one mismatch, and the
    // other way round; taxon 2, two mismatches from both, is reached. Taxon 1 answers
    // states 0 and 1; state 2, "+" for both taxa left, no longer splits them.
    EXPECT_EQ(tolerant.Differentiating.Answers, (std::vector<int32_t>{3, 2, 3}));
    ASSERT_EQ(tolerant.Differentiating.NotReached.size(), 2u);
    EXPECT_EQ(tolerant.Differentiating.LeftWith(0), std::vector<int32_t>{1});
    EXPECT_EQ(tolerant.Differentiating.LeftWith(1), std::vector<int32_t>{0});
    EXPECT_EQ(tolerant.Differentiating.Reached, 1);
    // Best counts a taxon with a mismatch to spare on both sides of every answer: on a
    // fresh key nothing splits, the list is empty and no play gets an answer.
    EXPECT_EQ(tolerant.Best.Answers, (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(tolerant.Best.Reached, 0);
    ASSERT_EQ(tolerant.Best.NotReached.size(), 3u);
    EXPECT_EQ(tolerant.Best.LeftWith(2), (std::vector<int32_t>{0, 1}));
    ExpectEqualsReplays(codes, tolerant);
}

TEST(EfficiencyTest, ASampleIsTheSameForTheSameSeedAndIsToldSo) {
    Codes codes = testing::RandomKey(300, 30, 7).Codes;
    CodeMatrix matrix = Matrix(codes);
    Efficiency a = MeasureEfficiency(matrix, 0, 40, 5);
    Efficiency b = MeasureEfficiency(matrix, 0, 40, 5);
    EXPECT_TRUE(a.Sampled);
    EXPECT_EQ(a.Seed, 5u);
    EXPECT_EQ(a.Played.size(), 40u);
    EXPECT_TRUE(std::is_sorted(a.Played.begin(), a.Played.end()));
    EXPECT_EQ(std::adjacent_find(a.Played.begin(), a.Played.end()), a.Played.end());
    EXPECT_EQ(a.Played, b.Played);
    EXPECT_EQ(a.Best.Answers, b.Best.Answers);
    EXPECT_EQ(a.Differentiating.Answers, b.Differentiating.Answers);
    // The draw is fixed by the seed alone, on every machine: the first taxa of this one.
    EXPECT_EQ(std::vector<int32_t>(a.Played.begin(), a.Played.begin() + 3),
              (std::vector<int32_t>{3, 5, 17}));
    EXPECT_NE(MeasureEfficiency(matrix, 0, 40, 6).Played, a.Played);
    ExpectEqualsReplays(codes, a);

    // A sample as large as the key plays every taxon.
    Efficiency all = MeasureEfficiency(matrix, 0, 300, 5);
    EXPECT_FALSE(all.Sampled);
    EXPECT_EQ(all.Played.size(), 300u);
    EXPECT_EQ(all.Played.back(), 299);
}

TEST(EfficiencyTest, ProgressRisesToTheEndAndCancelLeavesNoFigures) {
    Codes codes = testing::RandomKey(2100, 300, 3).Codes;
    CodeMatrix matrix = Matrix(codes);
    std::vector<double> told;
    Efficiency measured = MeasureEfficiency(matrix, 0, 200, 1, [&](double fraction) {
        told.push_back(fraction);
        return true;
    });
    ASSERT_GE(told.size(), 3u);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_GE(told.front(), 0.0);
    EXPECT_EQ(told.back(), 1.0);
    EXPECT_TRUE(measured.Complete);

    int asked = 0;
    Efficiency cancelled =
        MeasureEfficiency(matrix, 0, 200, 1, [&](double) { return ++asked < 2; });
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(cancelled.Complete);
    EXPECT_TRUE(cancelled.Best.Answers.empty());
    EXPECT_TRUE(cancelled.Differentiating.NotReached.empty());
    EXPECT_EQ(cancelled.Played, measured.Played);
}

TEST(CodeMatrixTest, TheCodesOfSomeTaxaOfAnotherMatrix) {
    Codes codes = testing::RandomKey(200, 5, 11).Codes;
    CodeMatrix all = Matrix(codes);
    // Taxa on both sides of word boundaries, a whole word, and the last taxon.
    std::vector<int32_t> chosen{0, 1, 62, 63, 64, 100, 199};
    for (int32_t t = 128; t < 192; ++t)
        chosen.push_back(t);
    std::sort(chosen.begin(), chosen.end());
    Bits set(all.TaxonCount());
    for (int32_t t : chosen)
        set.Set(t);
    CodeMatrix some;
    some.AssignTaxa(all, set);
    ASSERT_EQ(some.TaxonCount(), static_cast<int32_t>(chosen.size()));
    ASSERT_EQ(some.StateCount(), 5);
    for (int32_t s = 0; s < 5; ++s) {
        for (size_t j = 0; j < chosen.size(); ++j)
            EXPECT_EQ(some.Code(s, static_cast<int32_t>(j)), all.Code(s, chosen[j]))
                << s << " " << j;
    }
    // Bits past the last taxon stay 0.
    EXPECT_EQ(some.Yes(0)[some.Words() - 1] >> (some.TaxonCount() % 64), 0u);
    EXPECT_EQ(some.No(4)[some.Words() - 1] >> (some.TaxonCount() % 64), 0u);
}

}  // namespace
}  // namespace vorn
