#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

class CodeMatrix;

// The codes of a published key, as the engine holds them (2 bits a code): the 8 bytes
// "VORNCOD1", the numbers of taxa and of states as 32-bit little-endian integers, then
// the planes (CodeMatrix::PlaneBytes). A 10,000 x 10,000 key takes 25 MB.
constexpr char kPackedCodesMagic[] = "VORNCOD1";
constexpr size_t kPackedCodesHeader = 16;

std::string PackCodes(const CodeMatrix& codes);

// The same bytes in two parts, to be written one after the other without a copy of the
// planes where the machine holds them as a published key does (little-endian): the
// header, then the matrix's own memory. Valid while `codes` is unchanged.
struct PackedCodesParts {
    std::string Header;
    std::string_view Planes;
    std::string Copy;  // the planes, on a machine that holds its words the other way
    size_t Size() const { return Header.size() + Planes.size(); }
};
PackedCodesParts PackCodesInParts(const CodeMatrix& codes);

// The numbers of a packed header (the first kPackedCodesHeader bytes of `bytes`), and the
// length of the planes they need. `Why` says, in words for the user, why there are none:
// too few bytes, not packed codes, or more taxa or states than a key may have.
struct PackedCodesHeader {
    int32_t Taxa = 0;
    int32_t States = 0;
    uint64_t PlaneBytes = 0;
    std::string Why;
};
PackedCodesHeader ReadPackedCodesHeader(std::string_view bytes);
// Why `planes` bytes of planes do not serve a header (empty when they do): the words of
// the file, where `total` is the length of the whole file.
std::string PlanesLengthProblem(const PackedCodesHeader& header, uint64_t total);

// Why planes are refused that set a bit past the last taxon.
constexpr char kDamagedCodes[] = "the key's codes are damaged: a code stands past the last taxon";

// Reads packed codes into `codes`. Empty when done; otherwise why not, in words for the
// user, with `codes` empty: not packed codes, more taxa or states than a key may have, a
// length that does not fit the numbers, or bits past the last taxon. Nothing is
// allocated before the length has been checked against the numbers.
std::string UnpackCodes(std::string_view bytes, CodeMatrix& codes);

}  // namespace vorn
