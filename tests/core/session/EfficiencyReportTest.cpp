// The efficiency report as the Key Check window and vorn-identify show it: on a key worked
// out by hand, a sample, long lists cut, and a cancelled measure.
#include "core/session/EfficiencyReport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/key/KeyFiles.h"
#include "tests/kit/KeyFixture.h"

namespace vorn {
namespace {

class EfficiencyReport : public testing::KeyFixture {};

TEST_F(EfficiencyReport, FiguresAndTheTaxaNotReachedByName) {
    // Beta and Gamma have the same codes; Delta is "*" where they differ from Alpha.
    testing::KeySpec keySpec = MakeKey({"+--*", "-++*", "+++-"});
    keySpec.Taxa = {"Alpha", "Beta", "Gamma/Common gamma", "Delta"};
    Open(keySpec);
    EXPECT_EQ(EfficiencyText(session_.Key, MeasureEfficiency(session_.Key.Codes)),
              "Taxa 4; log2 4 = 2, the fewest yes/no answers that can single out one taxon.\n"
              "Every taxon played as the specimen, at tolerance 0.\n"
              "\n"
              // Best: state 3 first (3 against 1), which leaves Delta alone; then state 1.
              "Answers in the Best order: mean 1.75, median 2, largest 2. Reached alone: 2 of 4.\n"
              "Taxa not reached in the Best order, with the taxa left with them: 2\n"
              "  2. Beta  with  3. Gamma\n"
              "  3. Gamma  with  2. Beta\n"
              "\n"
              // Differentiating: state 1 first; Delta passes over states 1 and 2 ("*").
              "Answers in the Differentiating order: mean 2, median 2, largest 3. Reached "
              "alone: 2 of 4.\n"
              "Taxa not reached in the Differentiating order, with the taxa left with them: 2\n"
              "  2. Beta  with  3. Gamma\n"
              "  3. Gamma  with  2. Beta\n");
}

TEST_F(EfficiencyReport, ASampleLongListsAndACancelledMeasure) {
    // 14 taxa that nothing tells apart: each is left with the 13 others.
    testing::KeySpec keySpec = MakeKey({std::string(14, '?'), std::string(14, '+')});
    Open(keySpec);
    std::string text =
        EfficiencyText(session_.Key, MeasureEfficiency(session_.Key.Codes, 2, 12, 3), 5);
    EXPECT_EQ(text.substr(0, text.find("\n\n")),
              "Taxa 14; log2 14 = 3.81, the fewest yes/no answers that can single out one taxon.\n"
              "12 of 14 taxa played as the specimen, drawn with seed 3, at tolerance 2.");
    EXPECT_NE(text.find("Answers in the Best order: mean 0, median 0, largest 0. Reached "
                        "alone: 0 of 12.\n"
                        "Taxa not reached in the Best order, with the taxa left with them: 12\n"),
              std::string::npos)
        << text;
    // Ten taxa named, then how many more; five lines, then how many more.
    size_t line = text.find("  2. Taxon 1  with  1. Taxon 0, 3. Taxon 2, ");
    ASSERT_NE(line, std::string::npos) << text;
    EXPECT_EQ(text.substr(text.find("11. Taxon 10", line), 31), "11. Taxon 10 and 3 more\n  3. Ta");
    EXPECT_NE(text.find("\n  ... and 7 more\n\nAnswers in the Differentiating order"),
              std::string::npos)
        << text;

    // A measure cancelled from its progress dialog has no figures to show.
    Efficiency cancelled = MeasureEfficiency(CodeMatrix());
    cancelled.Taxa = 14;
    cancelled.Log2Taxa = std::log2(14.0);
    cancelled.Complete = false;
    EXPECT_EQ(EfficiencyText(session_.Key, cancelled),
              "Taxa 14; log2 14 = 3.81, the fewest yes/no answers that can single out one taxon.\n"
              "Every taxon played as the specimen, at tolerance 0.\n"
              "Cancelled: no figures.\n");
}

TEST(AnswerFigureTest, AtMostTheDecimalsAsked) {
    EXPECT_EQ(AnswerFigure(4.9666), "4.97");
    EXPECT_EQ(AnswerFigure(5.0), "5");
    EXPECT_EQ(AnswerFigure(15.5), "15.5");
    EXPECT_EQ(AnswerFigure(0.0), "0");
    EXPECT_EQ(AnswerFigure(9.98, 1), "10");
    EXPECT_EQ(AnswerFigure(8.982994, 4), "8.983");
}

}  // namespace
}  // namespace vorn
