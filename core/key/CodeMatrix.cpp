#include "core/key/CodeMatrix.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <exception>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/key/KeyFiles.h"
#include "core/platform/RecordFile.h"

namespace vorn {
namespace {

// How much of the matrix one read takes: whole states, about this many bytes.
constexpr int64_t kReadChunk = 1 << 20;

// The bits of 64 code bytes: Yes for "+" and "*", No for "-" and "*".
inline void PackWord(const uint8_t* bytes, uint64_t& yes, uint64_t& no) {
#if defined(__SSE2__)
    const __m128i plus = _mm_set1_epi8('+');
    const __m128i minus = _mm_set1_epi8('-');
    const __m128i star = _mm_set1_epi8('*');
    uint64_t y = 0, n = 0;
    for (int i = 0; i < 4; ++i) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
        __m128i s = _mm_cmpeq_epi8(v, star);
        auto yesBits =
            static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, plus), s)));
        auto noBits =
            static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, minus), s)));
        y |= static_cast<uint64_t>(yesBits) << (16 * i);
        n |= static_cast<uint64_t>(noBits) << (16 * i);
    }
    yes = y;
    no = n;
#else
    uint64_t y = 0, n = 0;
    for (int i = 0; i < 64; ++i) {
        uint8_t b = bytes[i];
        y |= static_cast<uint64_t>(b == '+' || b == '*') << i;
        n |= static_cast<uint64_t>(b == '-' || b == '*') << i;
    }
    yes = y;
    no = n;
#endif
}

// Appends bits to a plane, 64 at a time.
class BitWriter {
public:
    explicit BitWriter(uint64_t* out) : out_(out) {}
    // Appends the low `count` bits of `bits` (the others 0), count from 1 to 64.
    void Append(uint64_t bits, int count) {
        word_ |= bits << used_;
        used_ += count;
        if (used_ >= 64) {
            *out_++ = word_;
            used_ -= 64;
            word_ = used_ ? bits >> (count - used_) : 0;
        }
    }
    void Flush() {
        if (used_) *out_ = word_;
    }

private:
    uint64_t* out_;
    uint64_t word_ = 0;
    int used_ = 0;
};

// The bits of `yes` and `no` where `mask` has its bits, packed from bit 0 on, for `words`
// words.
void GatherBits(const uint64_t* yes, const uint64_t* no, const uint64_t* mask, int32_t words,
                uint64_t* toYes, uint64_t* toNo) {
    BitWriter y(toYes), n(toNo);
    for (int32_t w = 0; w < words; ++w) {
        uint64_t m = mask[w];
        if (!m) continue;
        uint64_t packedYes = 0, packedNo = 0;
        int at = 0;
        for (; m; m &= m - 1, ++at) {
            int bit = std::countr_zero(m);
            packedYes |= ((yes[w] >> bit) & 1) << at;
            packedNo |= ((no[w] >> bit) & 1) << at;
        }
        y.Append(packedYes, at);
        n.Append(packedNo, at);
    }
    y.Flush();
    n.Flush();
}

}  // namespace

void CodeMatrix::Pack(const uint8_t* bytes, int32_t count, uint64_t* yes, uint64_t* no) {
    int32_t whole = count / 64;
    for (int32_t w = 0; w < whole; ++w)
        PackWord(bytes + 64 * w, yes[w], no[w]);
    if (int32_t rest = count % 64) {
        // The last word from a copy, so nothing past `count` is read.
        uint8_t tail[64] = {};
        std::memcpy(tail, bytes + 64 * whole, static_cast<size_t>(rest));
        PackWord(tail, yes[whole], no[whole]);
    }
}

void CodeMatrix::Resize(int32_t taxa, int32_t states) {
    taxa_ = taxa;
    states_ = states;
    words_ = WordsFor(taxa);
    planes_.assign(static_cast<size_t>(states) * 2 * words_, 0);
}

void CodeMatrix::Clear() {
    taxa_ = states_ = words_ = 0;
    planes_ = {};
}

void CodeMatrix::Read(RecordFile& matrix, int32_t taxa, int32_t states, int32_t recordsPerState) {
    // Left unfilled: every word is packed below, by the thread that reads its state, so
    // that the memory's first touch is shared between the threads too.
    PlanesToFill(taxa, states);
    try {
        int32_t half = states / 2;
#if defined(__EMSCRIPTEN__)
        half = 0;  // the web engine has no threads, and opens published codes instead
#endif
        // A large key is read in two halves at once: copying its codes out of the
        // kernel and packing them take most of the time a key takes to open.
        if (RecordFile::FaultInjected() || int64_t{states} * recordsPerState < 1024) half = 0;
        if (half == 0) {
            ReadStates(matrix, 0, states, recordsPerState);
        } else {
            std::exception_ptr failed;
            std::thread other([&] {
                try {
                    ReadStates(matrix, half, states, recordsPerState);
                } catch (...) {
                    failed = std::current_exception();
                }
            });
            try {
                ReadStates(matrix, 0, half, recordsPerState);
            } catch (...) {
                other.join();
                throw;
            }
            other.join();
            if (failed) std::rethrow_exception(failed);
        }
    } catch (...) {
        Clear();
        throw;
    }
}

void CodeMatrix::ReadStates(RecordFile& matrix, int32_t from, int32_t to, int32_t recordsPerState) {
    int64_t stateBytes = static_cast<int64_t>(recordsPerState) * TaxaPerRecord;
    int32_t perChunk = static_cast<int32_t>(std::max<int64_t>(1, kReadChunk / stateBytes));
    std::vector<uint8_t> chunk(static_cast<size_t>(perChunk * stateBytes));
    for (int32_t first = from; first < to; first += perChunk) {
        int32_t count = std::min(perChunk, to - first);
        matrix.ReadRecords(first * recordsPerState, count * recordsPerState, chunk.data());
        for (int32_t i = 0; i < count; ++i) {
            // data() + offset, not &planes_[at]: a key of no taxa has no words at all.
            uint64_t* plane = planes_.data() + PlaneAt(first + i);
            Pack(chunk.data() + i * stateBytes, taxa_, plane, plane + words_);
        }
    }
}

void CodeMatrix::Assign(int32_t taxa, const std::vector<std::string>& codes) {
    Resize(taxa, static_cast<int32_t>(codes.size()));
    std::vector<uint8_t> bytes(static_cast<size_t>(taxa));
    for (int32_t s = 0; s < states_; ++s) {
        std::fill(bytes.begin(), bytes.end(), '?');
        // A key of no taxa has no bytes to copy, and memcpy takes no null pointer.
        if (!bytes.empty())
            std::memcpy(bytes.data(), codes[s].data(), std::min(codes[s].size(), bytes.size()));
        uint64_t* plane = planes_.data() + PlaneAt(s);
        Pack(bytes.data(), taxa, plane, plane + words_);
    }
}

void CodeMatrix::AssignTaxa(const CodeMatrix& codes, const Bits& taxa) {
    const int32_t words = std::min(taxa.Words(), codes.Words());
    Resize(taxa.Count(), codes.StateCount());
    for (int32_t s = 0; s < states_; ++s) {
        uint64_t* yes = planes_.data() + PlaneAt(s);
        GatherBits(codes.Yes(s), codes.No(s), taxa.data(), words, yes, yes + words_);
    }
}

std::string CodeMatrix::PlaneBytes() const {
    std::string_view same = LittleEndianPlanes();
    if (same.size() == Bytes()) return std::string(same);
    std::string bytes(Bytes(), '\0');
    char* out = bytes.data();
    for (uint64_t word : planes_) {
        for (int b = 0; b < 8; ++b)
            *out++ = static_cast<char>(word >> (8 * b));
    }
    return bytes;
}

std::string_view CodeMatrix::LittleEndianPlanes() const {
    if constexpr (std::endian::native == std::endian::little)
        return {reinterpret_cast<const char*>(planes_.data()), Bytes()};
    return {};
}

bool CodeMatrix::AssignPlaneBytes(int32_t taxa, int32_t states, std::string_view bytes) {
    if (taxa < 0 || states < 0) return false;
    int64_t words = WordsFor(taxa);
    if (static_cast<uint64_t>(bytes.size()) != static_cast<uint64_t>(states) * 2 * words * 8) {
        Clear();
        return false;
    }
    char* planes = PlanesToFill(taxa, states);
    if (!bytes.empty()) std::memcpy(planes, bytes.data(), bytes.size());
    return FinishPlanes();
}

char* CodeMatrix::PlanesToFill(int32_t taxa, int32_t states) {
    Clear();
    taxa_ = taxa;
    states_ = states;
    words_ = WordsFor(taxa);
    // Left unfilled: the caller fills every byte.
    planes_.resize(static_cast<size_t>(states) * 2 * words_);
    return reinterpret_cast<char*>(planes_.data());
}

bool CodeMatrix::FinishPlanes() {
    if constexpr (std::endian::native != std::endian::little) {
        for (uint64_t& word : planes_) {
            uint64_t swapped = 0;
            for (int b = 0; b < 8; ++b)
                swapped |= ((word >> (8 * b)) & 0xff) << (8 * (7 - b));
            word = swapped;
        }
    }
    // The bits a plane's last word may hold; all of them when the taxa fill it.
    const uint64_t tail = taxa_ % 64 ? (uint64_t{1} << (taxa_ % 64)) - 1 : ~uint64_t{0};
    for (size_t last = static_cast<size_t>(words_) - 1; words_ && last < planes_.size();
         last += static_cast<size_t>(words_)) {
        if (planes_[last] & ~tail) {
            Clear();
            return false;
        }
    }
    return true;
}

int CodeMatrix::Code(int32_t state, int32_t taxon) const {
    size_t word = static_cast<size_t>(taxon / 64);
    int bit = taxon % 64;
    bool yes = (Yes(state)[word] >> bit) & 1;
    bool no = (No(state)[word] >> bit) & 1;
    return yes ? (no ? CodeVariable : CodePresent) : (no ? CodeAbsent : CodeUnknown);
}

}  // namespace vorn
