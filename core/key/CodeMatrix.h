#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/key/Bits.h"
#include "core/platform/LargeArray.h"

namespace vorn {

class RecordFile;

// The codes of a key, read once from its matrix file when the key opens and kept packed
// for word-parallel queries: per state two bit planes over the taxa, Yes (code "+" or "*":
// the taxon may have the state) and No (code "-" or "*": it may lack it). "?" is in
// neither. So "+" exactly is Yes and not No, "-" exactly is No and not Yes. Any other
// byte (a damaged or hand-edited matrix) reads as "?", the one code that neither
// contradicts nor confirms anything. Two bits per code: a key of 10,000 x 10,000 takes
// 25 MB.
class CodeMatrix {
public:
    CodeMatrix() = default;

    // Reads the codes of `states` states of `taxa` taxa from `matrix` (records of 40 bytes,
    // `recordsPerState` consecutive records per state, state after state) in one
    // sequential pass. The file must hold states x recordsPerState records (the caller
    // checks that first, to say so in its own words). Throws IoError on a failed read;
    // the matrix is then empty.
    void Read(RecordFile& matrix, int32_t taxa, int32_t states, int32_t recordsPerState);
    // Fills the matrix from code bytes, `codes[s]` holding a byte per taxon; for tests and
    // tools that have the codes in memory.
    void Assign(int32_t taxa, const std::vector<std::string>& codes);
    // Fills the matrix with the codes of the taxa of `codes` that are in `taxa` (a set over
    // its taxa), in taxon order, for every state: a smaller matrix for questions about
    // those taxa alone.
    void AssignTaxa(const CodeMatrix& codes, const Bits& taxa);
    // Frees the planes.
    void Clear();

    // The planes as bytes, state after state (its Yes words, then its No words), each word
    // little-endian whatever the machine: what a published key holds, read back by
    // AssignPlaneBytes on any machine.
    std::string PlaneBytes() const;
    // The same bytes where the machine holds them so (little-endian), without a copy;
    // empty on any other machine (and for a matrix of no codes).
    std::string_view LittleEndianPlanes() const;
    // Fills the matrix of `taxa` x `states` from the bytes PlaneBytes gives. False, with the
    // matrix empty, when `bytes` is not exactly that long or sets a bit past the last
    // taxon of a plane (the engine counts whole words, so those bits must be 0).
    bool AssignPlaneBytes(int32_t taxa, int32_t states, std::string_view bytes);
    // The same in two steps, for bytes that arrive in parts: PlanesToFill makes room for
    // the planes of `taxa` x `states` and gives where their bytes go (PlaneBytes' form,
    // Bytes() of them); once they are all there, FinishPlanes checks them as
    // AssignPlaneBytes does (false, with the matrix empty, for a bit past the last taxon).
    // Until then the matrix holds whatever the memory held: nothing may ask it anything.
    char* PlanesToFill(int32_t taxa, int32_t states);
    bool FinishPlanes();

    int32_t TaxonCount() const { return taxa_; }
    int32_t StateCount() const { return states_; }
    // Words per plane.
    int32_t Words() const { return words_; }
    const uint64_t* Yes(int32_t state) const { return planes_.data() + PlaneAt(state); }
    const uint64_t* No(int32_t state) const { return planes_.data() + PlaneAt(state) + words_; }
    // The code of `taxon` for `state`: CodeUnknown, CodePresent, CodeAbsent or
    // CodeVariable. Indices are the caller's to keep within the matrix.
    int Code(int32_t state, int32_t taxon) const;
    // Memory held by the planes, in bytes.
    size_t Bytes() const { return planes_.size() * sizeof(uint64_t); }

    // Packs `count` code bytes of one state into its planes (words_ words each); bytes
    // past `count` may follow in `bytes` but are not read. Exposed for benchmarks.
    static void Pack(const uint8_t* bytes, int32_t count, uint64_t* yes, uint64_t* no);

private:
    size_t PlaneAt(int32_t state) const { return static_cast<size_t>(state) * 2 * words_; }
    void Resize(int32_t taxa, int32_t states);
    void ReadStates(RecordFile& matrix, int32_t from, int32_t to, int32_t recordsPerState);

    int32_t taxa_ = 0;
    int32_t states_ = 0;
    int32_t words_ = 0;
    // Per state: Yes words, then No words.
    std::vector<uint64_t, LargeArrayAllocator<uint64_t>> planes_;
};

}  // namespace vorn
