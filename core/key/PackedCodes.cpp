#include "core/key/PackedCodes.h"

#include <cstdint>

#include "core/key/CodeMatrix.h"
#include "core/key/KeyFiles.h"

namespace vorn {
namespace {

void PutNumber(std::string& out, uint32_t value) {
    for (int b = 0; b < 4; ++b)
        out += static_cast<char>(value >> (8 * b));
}

uint32_t NumberAt(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (int b = 0; b < 4; ++b)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + b])) << (8 * b);
    return value;
}

}  // namespace

std::string PackCodes(const CodeMatrix& codes) {
    std::string out(kPackedCodesMagic);
    PutNumber(out, static_cast<uint32_t>(codes.TaxonCount()));
    PutNumber(out, static_cast<uint32_t>(codes.StateCount()));
    out += codes.PlaneBytes();
    return out;
}

std::string UnpackCodes(std::string_view bytes, CodeMatrix& codes) {
    codes.Clear();
    constexpr std::string_view magic = kPackedCodesMagic;
    if (bytes.size() < kPackedCodesHeader || bytes.substr(0, magic.size()) != magic)
        return "the key's codes are not in the form this page reads";
    uint32_t taxa = NumberAt(bytes, 8), states = NumberAt(bytes, 12);
    if (taxa > static_cast<uint32_t>(MaxKeyItems) || states > static_cast<uint32_t>(MaxKeyItems)) {
        return "the key's codes are for " + std::to_string(taxa) + " taxa and " +
               std::to_string(states) + " states; a key has at most 65,535 of each";
    }
    std::string_view planes = bytes.substr(kPackedCodesHeader);
    uint64_t expected = uint64_t{states} * 2 * static_cast<uint64_t>((taxa + 63) / 64) * 8;
    if (planes.size() != expected) {
        return "the key's codes are cut short or damaged: " + std::to_string(taxa) + " taxa and " +
               std::to_string(states) + " states need " +
               std::to_string(expected + kPackedCodesHeader) + " bytes, and there are " +
               std::to_string(bytes.size());
    }
    if (!codes.AssignPlaneBytes(static_cast<int32_t>(taxa), static_cast<int32_t>(states), planes))
        return "the key's codes are damaged: a code stands past the last taxon";
    return {};
}

}  // namespace vorn
