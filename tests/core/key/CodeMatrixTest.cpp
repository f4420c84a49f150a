// The codes of a key as they are read from its matrix file. A large matrix is read in two
// halves at once: it must hold exactly the codes one pass would, and a read that fails in
// either half must leave no codes at all.
#include "core/key/CodeMatrix.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/key/KeyFiles.h"
#include "core/platform/IoError.h"
#include "core/platform/RecordFile.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

using testing::TempDir;

// The matrix file of `codes` (a string of a byte per taxon for each state), each state
// padded with "?" to whole records.
std::string MatrixBytes(int32_t taxa, const std::vector<std::string>& codes) {
    size_t stateBytes = static_cast<size_t>((taxa - 1) / TaxaPerRecord + 1) * TaxaPerRecord;
    std::string bytes;
    for (const std::string& state : codes) {
        std::string padded = state;
        padded.resize(stateBytes, '?');
        bytes += padded;
    }
    return bytes;
}

TEST(CodeMatrixRead, HalvesReadAtOnceHoldEveryCodeAsWritten) {
    // 70 taxa: two records a state, the second word of each plane partly used; an odd
    // number of states, so the halves differ by one.
    for (auto [taxa, states] : {std::pair{70, 1201}, std::pair{40, 1500}, std::pair{200, 3}}) {
        std::vector<std::string> codes = testing::RandomKey(taxa, states, 9).Codes;
        TempDir dir;
        testing::WriteFile(dir.Path() + "K.DAT", MatrixBytes(taxa, codes));
        RecordFile file;
        file.Open(dir.Path() + "K.DAT", TaxaPerRecord);
        CodeMatrix read, expected;
        read.Read(file, taxa, states, (taxa - 1) / TaxaPerRecord + 1);
        expected.Assign(taxa, codes);
        ASSERT_EQ(read.StateCount(), states);
        EXPECT_EQ(read.PlaneBytes(), expected.PlaneBytes()) << taxa << " x " << states;
    }
}

TEST(CodeMatrixRead, AFileCutShortInEitherHalfLeavesNoCodes) {
    const int32_t taxa = 40, states = 2000;
    std::vector<std::string> codes = testing::RandomKey(taxa, states, 4).Codes;
    // Cut in the first half (both halves fail), then in the second (only the other thread's
    // does).
    for (int32_t keptStates : {500, 1500}) {
        TempDir dir;
        std::string path = dir.Path() + "K.DAT";
        testing::WriteFile(path, MatrixBytes(taxa, codes));
        RecordFile file;
        file.Open(path, TaxaPerRecord);
        // The file shrinks after it was opened, as when another program writes it.
        ASSERT_EQ(::truncate(path.c_str(), off_t{keptStates} * TaxaPerRecord), 0);
        CodeMatrix read;
        read.Assign(2, {"+-"});
        EXPECT_THROW(read.Read(file, taxa, states, 1), IoError) << keptStates;
        EXPECT_EQ(read.StateCount(), 0);
        EXPECT_EQ(read.Bytes(), 0u);
    }
}

}  // namespace
}  // namespace vorn
