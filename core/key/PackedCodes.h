#pragma once

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

// Reads packed codes into `codes`. Empty when done; otherwise why not, in words for the
// user, with `codes` empty: not packed codes, more taxa or states than a key may have, a
// length that does not fit the numbers, or bits past the last taxon. Nothing is
// allocated before the length has been checked against the numbers.
std::string UnpackCodes(std::string_view bytes, CodeMatrix& codes);

}  // namespace vorn
