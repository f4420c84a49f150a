// Fuzzes the DELTA directive reader and the conversion after it: any bytes, read as each
// of the dataset's files, must give a dataset and a key that keep their bounds.
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "delta/DeltaConvert.h"
#include "delta/DeltaReader.h"
#include "delta/DeltaText.h"

using namespace vorn::delta;

namespace {

bool IsCode(char c) {
    return c == '+' || c == '-' || c == '*' || c == '?';
}

void CheckRanges(const std::vector<CharRange>& ranges) {
    for (const CharRange& r : ranges)
        assert(r.First >= 1 && r.First <= r.Last && r.Last < MaxNumber);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = FromDeltaBytes(std::string_view(reinterpret_cast<const char*>(data), size));

    int line = 0;
    size_t dataBytes = 0;
    for (const Directive& d : ReadDirectives(text)) {
        assert(d.Line > line);  // directives in order, one per line at most
        line = d.Line;
        dataBytes += d.Data.size();
        assert(LineOf(d, d.Data.size()) >= d.Line);
    }
    assert(dataBytes <= text.size());

    size_t end = 0;
    size_t next = TextEnd(text, 0, end);
    assert(end <= next && next <= text.size());

    std::string clean = CleanText(text);
    assert(clean.find('<') == std::string::npos);
    assert(clean.find_first_of("{}") == std::string::npos);
    assert(clean.find("  ") == std::string::npos);
    assert(clean.empty() || (clean.front() != ' ' && clean.back() != ' '));

    // The same bytes as every file of a dataset at once.
    Dataset dataset;
    for (DeltaFile file : {DeltaFile::Specs, DeltaFile::Chars, DeltaFile::Items, DeltaFile::Images,
                           DeltaFile::KeyStates})
        ReadDeltaFile(file, text, "fuzz", dataset);
    for (const Character& c : dataset.Characters)
        assert(c.Number >= 1 && c.Number < MaxNumber);
    for (const Item& item : dataset.Items) {
        for (const Attribute& a : item.Attributes)
            assert(a.Char >= 1 && a.Char < MaxNumber);
    }
    for (const DependencyRule& rule : dataset.Rules) {
        CheckRanges(rule.States);
        CheckRanges(rule.Dependents);
    }
    CheckRanges(dataset.Excluded);
    CheckRanges(dataset.NormalValues);

    ConvertOptions options;
    options.Name = "FUZZ";
    Conversion key = Convert(dataset, options, {});
    if (key.TooManyItems || key.NoStates) return 0;
    const vorn::KeyContents& k = key.Key;
    assert(k.Taxa.size() == dataset.Items.size() && k.Taxa.size() <= 1200);
    assert(!k.States.empty() && k.States.size() <= 1200 && k.Codes.size() == k.States.size());
    for (const std::string& state : k.States)
        assert(state.size() <= 80);
    for (const std::string& taxon : k.Taxa)
        assert(taxon.size() <= (k.LongTaxonNames ? 80u : 40u) && !taxon.empty() && taxon[0] != '$');
    for (const std::string& codes : k.Codes) {
        assert(codes.size() == k.Taxa.size());
        for (char c : codes)
            assert(IsCode(c));
    }
    return 0;
}
