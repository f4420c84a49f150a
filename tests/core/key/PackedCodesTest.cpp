// The codes of a published key: packed as the engine holds them, read back on any
// machine, refused whole when damaged; and a key opened from them identifies exactly as
// the same key opened from its files.
#include <gtest/gtest.h>

#include <random>

#include "core/key/CodeMatrix.h"
#include "core/key/PackedCodes.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "tests/kit/EngineFixture.h"

namespace vorn {
namespace {

using testing::KeySpec;

CodeMatrix RandomMatrix(int32_t taxa, int32_t states, uint32_t seed) {
    CodeMatrix matrix;
    matrix.Assign(taxa, testing::RandomKey(taxa, states, seed).Codes);
    return matrix;
}

void ExpectSameCodes(const CodeMatrix& a, const CodeMatrix& b) {
    ASSERT_EQ(a.TaxonCount(), b.TaxonCount());
    ASSERT_EQ(a.StateCount(), b.StateCount());
    for (int32_t s = 0; s < a.StateCount(); ++s)
        for (int32_t t = 0; t < a.TaxonCount(); ++t)
            ASSERT_EQ(a.Code(s, t), b.Code(s, t)) << "state " << s << ", taxon " << t;
}

TEST(PackedCodes, ReadBackAsWrittenAtEveryWordBoundary) {
    for (int32_t taxa : {0, 1, 63, 64, 65, 130}) {
        CodeMatrix written = RandomMatrix(taxa, 7, static_cast<uint32_t>(taxa));
        std::string bytes = PackCodes(written);
        // Two bits a code, in whole words, after the header.
        EXPECT_EQ(bytes.size(),
                  kPackedCodesHeader + 7 * 2 * static_cast<size_t>(WordsFor(taxa)) * 8);
        CodeMatrix read;
        EXPECT_EQ(UnpackCodes(bytes, read), "") << taxa << " taxa";
        ExpectSameCodes(written, read);
    }
}

TEST(PackedCodes, WordsAreLittleEndianWhateverTheMachine) {
    CodeMatrix matrix;
    matrix.Assign(3, {"+-*"});  // Yes: taxa 0 and 2; No: taxa 1 and 2
    std::string bytes = PackCodes(matrix);
    ASSERT_EQ(bytes.size(), kPackedCodesHeader + 16);
    EXPECT_EQ(bytes.substr(0, 16), std::string("VORNCOD1\x03\0\0\0\x01\0\0\0", 16));
    EXPECT_EQ(bytes.substr(16), std::string("\x05\0\0\0\0\0\0\0\x06\0\0\0\0\0\0\0", 16));
}

TEST(PackedCodes, DamagedCodesAreRefusedWholeWithAReason) {
    std::string good = PackCodes(RandomMatrix(70, 5, 3));
    CodeMatrix read;
    auto refused = [&](std::string bytes) {
        read = RandomMatrix(2, 2, 1);
        std::string why = UnpackCodes(bytes, read);
        EXPECT_EQ(read.TaxonCount(), 0);
        EXPECT_EQ(read.StateCount(), 0);
        return why;
    };
    EXPECT_EQ(refused(""), "the key's codes are not in the form this page reads");
    EXPECT_EQ(refused("VORNCOD2" + good.substr(8)),
              "the key's codes are not in the form this page reads");
    EXPECT_EQ(refused(good.substr(0, good.size() - 1)),
              "the key's codes are cut short or damaged: 70 taxa and 5 states need 176 bytes, "
              "and there are 175");
    EXPECT_NE(refused(good + "x").find("cut short or damaged"), std::string::npos);
    // A code of taxon 70 in the first plane's second word: past the last of 70 taxa.
    std::string past = good;
    past[kPackedCodesHeader + 8] = static_cast<char>(past[kPackedCodesHeader + 8] | 0x40);
    EXPECT_EQ(refused(past), "the key's codes are damaged: a code stands past the last taxon");
    // Numbers beyond a key's capacity are refused before anything is allocated for them.
    std::string huge = "VORNCOD1" + std::string("\xff\xff\x00\x00\x00\x00\x01\x00", 8);
    EXPECT_EQ(refused(huge),
              "the key's codes are for 65535 taxa and 65536 states; a key has at most 65,535 of "
              "each");
    std::string large = "VORNCOD1" + std::string("\xff\xff\x00\x00\xff\xff\x00\x00", 8);
    EXPECT_NE(refused(large).find("need 1073725456 bytes, and there are 16"), std::string::npos);
}

// A session opened from the packed codes and one opened from the key's files answer
// every query alike after the same random actions.
class PublishedKey : public testing::EngineFixture {};

TEST_F(PublishedKey, IdentifiesAsTheKeyFromItsFiles) {
    KeySpec keySpec = testing::RandomKey(150, 60, 11);
    Open(keySpec);
    CodeMatrix read;
    ASSERT_EQ(UnpackCodes(PackCodes(session_.Key.Codes), read), "");
    Session published;
    OpenPublishedKey(published, "RANDOM", std::move(read));
    ASSERT_TRUE(published.Key.KeyOpen);
    EXPECT_EQ(published.Key.KeyName, "RANDOM");
    EXPECT_EQ(published.Key.TaxonCount, 150);
    EXPECT_EQ(published.Key.StateCount, 60);
    std::mt19937 rng(5);
    for (int step = 0; step < 300; ++step) {
        int32_t state = static_cast<int32_t>(rng() % 60);
        int what = static_cast<int>(rng() % 10);
        for (Session* s : {&session_, &published}) {
            if (what == 0) {
                s->ToggleOrMode();
            } else if (what == 1) {
                s->Undo();
            } else if (what == 2) {
                s->ChangeTolerance(static_cast<int>(step % 3));
            } else {
                s->ScoreState(state, static_cast<ScoreRequest>(what % 4));
            }
        }
        ASSERT_EQ(published.MatchingTaxaCount(), session_.MatchingTaxaCount()) << step;
        ASSERT_EQ(published.TaxaByMismatches(), session_.TaxaByMismatches()) << step;
        ASSERT_EQ(published.DifferentiatingStates(), session_.DifferentiatingStates()) << step;
        for (int32_t s = 0; s < 60; ++s) {
            ASSERT_EQ(published.StateScore(s), session_.StateScore(s));
            ASSERT_EQ(published.StateMatchCount(s), session_.StateMatchCount(s));
        }
    }
}

}  // namespace
}  // namespace vorn
