// A published key's codes on any bytes, as the page's engine reads them: refused whole
// (with a reason and no codes), or read into codes that pack back to the very same bytes
// and that an engine counts within the key.
#include <cstdint>
#include <string>

#include "core/engine/Engine.h"
#include "core/key/CodeMatrix.h"
#include "core/key/KeyFiles.h"
#include "core/key/PackedCodes.h"
#include "fuzz/Check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    CodeMatrix codes;
    std::string why = UnpackCodes(bytes, codes);
    if (!why.empty()) {
        FUZZ_CHECK(codes.TaxonCount() == 0 && codes.StateCount() == 0 && codes.Bytes() == 0,
                   "refused codes leave nothing");
        return 0;
    }
    FUZZ_CHECK(PackCodes(codes) == bytes, "codes read pack back to the same bytes");
    FUZZ_CHECK(codes.Bytes() + kPackedCodesHeader == bytes.size(), "memory as the file's size");
    Engine engine(codes);
    for (int32_t s = 0; s < codes.StateCount(); ++s) {
        int32_t count = engine.StateMatchCount(s);
        FUZZ_CHECK(count >= 0 && count <= codes.TaxonCount(), "counts lie within the key");
        int32_t direct = 0;
        for (int32_t t = 0; t < codes.TaxonCount(); ++t)
            direct += codes.Code(s, t) != CodeAbsent;
        FUZZ_CHECK(count == direct, "a count is the taxa not coded \"-\"");
    }
    return 0;
}
