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
    PackedCodesParts parts = PackCodesInParts(codes);
    std::string out;
    out.reserve(parts.Size());
    out += parts.Header;
    out += parts.Planes;
    return out;
}

PackedCodesParts PackCodesInParts(const CodeMatrix& codes) {
    PackedCodesParts parts;
    parts.Header = kPackedCodesMagic;
    PutNumber(parts.Header, static_cast<uint32_t>(codes.TaxonCount()));
    PutNumber(parts.Header, static_cast<uint32_t>(codes.StateCount()));
    parts.Planes = codes.LittleEndianPlanes();
    if (parts.Planes.size() != codes.Bytes()) {
        parts.Copy = codes.PlaneBytes();
        parts.Planes = parts.Copy;
    }
    return parts;
}

PackedCodesHeader ReadPackedCodesHeader(std::string_view bytes) {
    PackedCodesHeader header;
    constexpr std::string_view magic = kPackedCodesMagic;
    if (bytes.size() < kPackedCodesHeader || bytes.substr(0, magic.size()) != magic) {
        header.Why = "the key's codes are not in the form this page reads";
        return header;
    }
    uint32_t taxa = NumberAt(bytes, 8), states = NumberAt(bytes, 12);
    if (taxa > static_cast<uint32_t>(MaxKeyItems) || states > static_cast<uint32_t>(MaxKeyItems)) {
        header.Why = "the key's codes are for " + std::to_string(taxa) + " taxa and " +
                     std::to_string(states) + " states; a key has at most 65,535 of each";
        return header;
    }
    header.Taxa = static_cast<int32_t>(taxa);
    header.States = static_cast<int32_t>(states);
    header.PlaneBytes = uint64_t{states} * 2 * static_cast<uint64_t>((taxa + 63) / 64) * 8;
    return header;
}

std::string PlanesLengthProblem(const PackedCodesHeader& header, uint64_t total) {
    if (total == header.PlaneBytes + kPackedCodesHeader) return {};
    return "the key's codes are cut short or damaged: " + std::to_string(header.Taxa) +
           " taxa and " + std::to_string(header.States) + " states need " +
           std::to_string(header.PlaneBytes + kPackedCodesHeader) + " bytes, and there are " +
           std::to_string(total);
}

std::string UnpackCodes(std::string_view bytes, CodeMatrix& codes) {
    codes.Clear();
    PackedCodesHeader header = ReadPackedCodesHeader(bytes);
    if (!header.Why.empty()) return header.Why;
    if (std::string why = PlanesLengthProblem(header, bytes.size()); !why.empty()) return why;
    if (!codes.AssignPlaneBytes(header.Taxa, header.States, bytes.substr(kPackedCodesHeader)))
        return kDamagedCodes;
    return {};
}

}  // namespace vorn
