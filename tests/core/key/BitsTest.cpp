#include "core/key/Bits.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorn {
namespace {

// Sizes at and around word boundaries, where a stray bit past the universe would show.
const int32_t kSizes[] = {0, 1, 63, 64, 65, 127, 128, 129, 1000};

TEST(Bits, ComplementAndFillStayWithinTheUniverse) {
    for (int32_t size : kSizes) {
        Bits full(size, true);
        EXPECT_EQ(full.Count(), size) << size;
        Bits none(size);
        none.Complement();
        EXPECT_EQ(none, full) << size;
        none.Complement();
        EXPECT_TRUE(none.None()) << size;
        none.Fill();
        EXPECT_EQ(none.Count(), size) << size;
        // The last word holds nothing past the last member.
        if (size % 64) {
            EXPECT_EQ(full.Word(full.Words() - 1) >> (size % 64), 0u) << size;
        }
    }
}

TEST(Bits, SetAlgebraAndWalksAgreeWithAPlainSet) {
    for (int32_t size : kSizes) {
        Bits a(size), b(size);
        std::vector<bool> inA(size), inB(size);
        for (int32_t i = 0; i < size; ++i) {
            if (i % 3 == 0 || i == size - 1) {
                a.Set(i);
                inA[i] = true;
            }
            if (i % 5 == 1 || i == 63) {
                b.Set(i);
                inB[i] = true;
            }
        }
        Bits both = a, either = a, onlyA = a;
        both &= b;
        either |= b;
        onlyA.AndNot(b);
        std::vector<int32_t> wantBoth, wantEither, wantOnlyA;
        for (int32_t i = 0; i < size; ++i) {
            if (inA[i] && inB[i]) wantBoth.push_back(i);
            if (inA[i] || inB[i]) wantEither.push_back(i);
            if (inA[i] && !inB[i]) wantOnlyA.push_back(i);
        }
        EXPECT_EQ(both.Members(), wantBoth) << size;
        EXPECT_EQ(either.Members(), wantEither) << size;
        EXPECT_EQ(onlyA.Members(), wantOnlyA) << size;
        EXPECT_EQ(onlyA.Count(), static_cast<int32_t>(wantOnlyA.size())) << size;
        for (int32_t i : wantOnlyA)
            EXPECT_TRUE(onlyA.Test(i));
        if (!wantOnlyA.empty()) {
            onlyA.Reset(wantOnlyA.front());
            EXPECT_FALSE(onlyA.Test(wantOnlyA.front())) << size;
        }
    }
}

TEST(Bits, AssignAndNotReadsPackedRows) {
    const uint64_t yes[2] = {0b1011, 0b1};
    const uint64_t no[2] = {0b0110, 0b0};
    Bits plus(65);
    plus.AssignAndNot(yes, no);
    EXPECT_EQ(plus.Members(), (std::vector<int32_t>{0, 3, 64}));
}

}  // namespace
}  // namespace vorn
