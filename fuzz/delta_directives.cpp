// The DELTA directive reader and the conversion after it, on any bytes read as each of a
// dataset's files at once: the directives keep to the text, clean texts hold no comment
// (a "<" that nothing closes is text), brace or doubled blank, numbers stay bounded, and
// a key that results fits its records and has whole state texts where they do not fit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/key/KeyFiles.h"
#include "fuzz/Check.h"
#include "fuzz/StateTexts.h"
#include "importers/delta/DeltaConvert.h"
#include "importers/delta/DeltaReader.h"
#include "importers/delta/DeltaText.h"

namespace {

using namespace vorn::delta;

bool IsCode(char c) {
    return c == '+' || c == '-' || c == '*' || c == '?';
}

void CheckRanges(const std::vector<CharRange>& ranges) {
    for (const CharRange& r : ranges)
        FUZZ_CHECK(r.First >= 1 && r.First <= r.Last && r.Last < MaxNumber, "ranges bounded");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn::delta;
    std::string text = FromDeltaBytes(std::string_view(reinterpret_cast<const char*>(data), size));

    int line = 0;
    size_t dataBytes = 0;
    for (const Directive& d : ReadDirectives(text)) {
        FUZZ_CHECK(d.Line > line, "directives in order, one per line at most");
        line = d.Line;
        dataBytes += d.Data.size();
        FUZZ_CHECK(LineOf(d, d.Data.size()) >= d.Line, "data lines follow their directive");
    }
    FUZZ_CHECK(dataBytes <= text.size(), "directive data comes from the text");

    size_t end = 0;
    size_t next = TextEnd(text, 0, end);
    FUZZ_CHECK(end <= next && next <= text.size(), "a text ends inside the data");

    // Once the "<" that open no comment are marked, cleaning leaves no other "<".
    std::string marked = text;
    size_t plain = MarkPlainLess(marked).size();
    FUZZ_CHECK(marked.size() == text.size(), "marking keeps the text's length");
    std::string clean = CleanText(marked);
    FUZZ_CHECK(static_cast<size_t>(std::count(clean.begin(), clean.end(), '<')) <= plain,
               "no comment left in a clean text");
    FUZZ_CHECK(clean.find_first_of("{}") == std::string::npos, "no brace left");
    FUZZ_CHECK(clean.find("  ") == std::string::npos, "blanks folded");
    FUZZ_CHECK(clean.empty() || (clean.front() != ' ' && clean.back() != ' '), "trimmed");

    Dataset dataset;
    for (DeltaFile file : {DeltaFile::Specs, DeltaFile::Chars, DeltaFile::Items, DeltaFile::Images,
                           DeltaFile::KeyStates})
        ReadDeltaFile(file, text, "fuzz", dataset);
    for (const Character& c : dataset.Characters)
        FUZZ_CHECK(c.Number >= 1 && c.Number < MaxNumber, "character numbers bounded");
    for (const Item& item : dataset.Items) {
        for (const Attribute& a : item.Attributes)
            FUZZ_CHECK(a.Char >= 1 && a.Char < MaxNumber, "attribute numbers bounded");
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
    if (key.TooManyItems || key.NoStates || key.TooManyStates || key.TooLarge) return 0;
    const vorn::KeyContents& k = key.Key;
    FUZZ_CHECK(k.Taxa.size() == dataset.Items.size() &&
                   k.Taxa.size() <= static_cast<size_t>(vorn::MaxKeyItems),
               "one taxon per item, within the capacity");
    FUZZ_CHECK(!k.States.empty() && k.States.size() <= static_cast<size_t>(vorn::MaxKeyItems) &&
                   k.Codes.size() == k.States.size(),
               "states within the capacity, codes for each");
    vorn::fuzz::CheckStateTexts(k, key.SameTexts);
    for (const std::string& taxon : k.Taxa) {
        FUZZ_CHECK(taxon.size() <= (k.LongTaxonNames ? 80u : 40u), "a taxon fits its record");
        FUZZ_CHECK(!taxon.empty() && taxon[0] != '$', "no taxon passes for the long-form trailer");
    }
    for (const std::string& codes : k.Codes) {
        FUZZ_CHECK(codes.size() == k.Taxa.size(), "a code per taxon");
        for (char c : codes)
            FUZZ_CHECK(IsCode(c), "codes are + - * ?");
    }
    return 0;
}
