// The SDD importer on any bytes, taken as an XML document and, when they begin as a zip
// archive does, as an archive: the reader refuses in one line or gives ids and texts;
// the conversion keeps to the records and the capacity; the program ends with 0, 1 or 2,
// says why in one line when it stops, and writes nothing but the key into its folder.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "core/key/KeyFiles.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/StateTexts.h"
#include "importers/sdd/SddConvert.h"
#include "importers/sdd/SddDocument.h"
#include "importers/sdd/SddImport.h"

namespace {

using namespace vorn::sdd;

bool IsCode(char c) {
    return c == '+' || c == '-' || c == '*' || c == '?';
}

void CheckConversion(const Document& doc) {
    ConvertOptions options;
    options.Name = "FUZZ";
    Conversion key = Convert(doc, options, {}, {});
    if (!key.Refusal.empty()) {
        FUZZ_CHECK(key.Refusal.find('\n') == std::string::npos, "a refusal is one line");
        return;
    }
    const vorn::KeyContents& k = key.Key;
    size_t capacity = static_cast<size_t>(vorn::MaxKeyItems);
    FUZZ_CHECK(k.Taxa.size() == doc.Descriptions.size() && k.Taxa.size() <= capacity,
               "one taxon per description, within the capacity");
    FUZZ_CHECK(
        !k.States.empty() && k.States.size() <= capacity && k.Codes.size() == k.States.size(),
        "states within the capacity, codes for each");
    vorn::fuzz::CheckStateTexts(k, key.SameTexts);
    for (const std::string& taxon : k.Taxa)
        FUZZ_CHECK(taxon.size() <= (k.LongTaxonNames ? 80u : 40u), "a taxon fits its record");
    for (const std::string& codes : k.Codes) {
        FUZZ_CHECK(codes.size() == k.Taxa.size(), "a code per taxon");
        for (char c : codes)
            FUZZ_CHECK(IsCode(c), "codes are + - * ?");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Document doc = ReadSddDocument(bytes);
    FUZZ_CHECK(doc.Refusal.find('\n') == std::string::npos, "a refusal is one line");
    if (doc.Refusal.empty()) CheckConversion(doc);

    // The program on the same bytes, as a document or as an archive.
    namespace fs = std::filesystem;
    bool zip = bytes.rfind("PK", 0) == 0;
    std::string input = vorn::fuzz::WriteWorkFile(zip ? "input.zip" : "input.xml", bytes);
    std::string out = vorn::fuzz::WorkFolder() + "out";
    std::ostringstream report, error;
    int status = RunImportSdd({input, out, "FUZZ"}, report, error);
    FUZZ_CHECK(status == 0 || status == 1 || status == 2, "exit status 0, 1 or 2");
    std::string message = error.str();
    if (status != 0) {
        FUZZ_CHECK(!message.empty() && message.find('\n') == message.size() - 1,
                   "a stop is told in one line");
        FUZZ_CHECK(!fs::exists(out), "nothing is written when it stops");
    } else {
        FUZZ_CHECK(fs::exists(out + "/FUZZ.DES"), "a key is written");
        for (const auto& entry : fs::directory_iterator(vorn::fuzz::WorkFolder())) {
            std::string name = entry.path().filename().string();
            FUZZ_CHECK(name == "out" || name == "input.zip" || name == "input.xml",
                       "nothing is written beside the key's folder");
        }
    }
    std::error_code ignored;
    fs::remove_all(out, ignored);
    fs::remove(input, ignored);
    return 0;
}
