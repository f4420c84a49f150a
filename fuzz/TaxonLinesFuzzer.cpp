// Taxon records and the list lines built from them, on any bytes, in every display mode:
// splitting loses nothing and puts no separator in the wrong field, every line ends with
// the name its mode shows, and every line decodes to valid UTF-8.
#include <string>
#include <string_view>

#include "core/key/KeyFiles.h"
#include "core/platform/Text.h"
#include "core/session/Session.h"
#include "frame/Indicator.h"
#include "fuzz/Check.h"
#include "fuzz/FuzzSupport.h"

namespace vorn {
namespace {

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace
}  // namespace vorn

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn;
    if (size == 0) return 0;
    // The first byte picks the numbers a line shows; the rest is a record as the key's
    // reader returns it: at most 80 bytes, no blank at its end.
    uint8_t control = data[0];
    std::string_view record(reinterpret_cast<const char*>(data + 1), size - 1);
    if (record.size() > LongTaxonRecordSize) record = record.substr(0, LongTaxonRecordSize);
    record = record.substr(0, record.find_last_not_of(' ') + 1);

    // The lines read the display modes of the session the windows are given.
    static Session session;
    SetSession(&session);

    TaxonRecordFields fields = SplitTaxonRecord(record);
    std::string joined = fields.Text;
    if (fields.CommonName) joined += "/" + *fields.CommonName;
    if (fields.ImageName) joined += "|" + *fields.ImageName;
    if (fields.NotesName) joined += ">" + *fields.NotesName;
    FUZZ_CHECK(joined == record, "the fields join back into the record");
    FUZZ_CHECK(fields.Text.find_first_of("/|>") == std::string::npos,
               "the name holds no separator");
    FUZZ_CHECK(!fields.CommonName || fields.CommonName->find_first_of("|>") == std::string::npos,
               "the common name holds no later separator");
    FUZZ_CHECK(!fields.ImageName || fields.ImageName->find('>') == std::string::npos,
               "the image name holds no notes separator");

    TIndicatorObj taxon;
    taxon.Kind = TIndicatorObj::IndicTaxon;
    taxon.Text = fields.Text;
    taxon.CommonName = fields.CommonName;
    taxon.ImageName = fields.ImageName;
    taxon.NotesName = fields.NotesName;
    TIndicatorObj state;
    state.Kind = TIndicatorObj::IndicState;
    state.Text = std::string(record);
    // A score, a state's count (unreadable, blank, 0 or 1) and a taxon's mismatches.
    IndicNumbers numbers;
    numbers.Score = control % 5;
    numbers.Count = control / 5 % 4 - 2;
    numbers.Mismatches = control / 20;
    for (int mode = 0; mode < 12; ++mode) {
        session.NameMode = static_cast<NameModeValue>(mode % 3);
        session.NumberMode = mode / 3 % 2;
        session.CountMode = mode / 6 % 2;
        for (uint8_t style : {TIndicatorObj::CountStandard, TIndicatorObj::CountMismatches,
                              TIndicatorObj::CountNone}) {
            taxon.CountStyle = state.CountStyle = style;
            std::string taxonLine = IndicText(taxon, numbers);
            std::string name = IndicName(taxon);
            std::string shown =
                session.NameMode == CommonNames
                    ? fields.CommonName.value_or("(" + fields.Text + ")")
                : session.NameMode == BothNames
                    ? fields.Text + (fields.CommonName ? ", " + *fields.CommonName : "")
                    : fields.Text;
            FUZZ_CHECK(EndsWith(taxonLine, shown), "a taxon's line ends with the name shown");
            std::string stateLine = IndicText(state, numbers);
            FUZZ_CHECK(EndsWith(stateLine, record), "a state's line ends with its text");
            FUZZ_CHECK(IndicName(state) == record, "a state's caption is its text");
            for (const std::string* text : {&taxonLine, &stateLine, &name}) {
                FUZZ_CHECK(IsUtf8(KeyTextToUtf8(*text)), "lines decode to UTF-8");
            }
        }
    }
    std::string shownName = KeyTextToUtf8(fields.Text);
    FUZZ_CHECK(IsUtf8(ReplaceControls(shownName)), "terminal text stays UTF-8");
    FUZZ_CHECK(IsUtf8(FileNameToUtf8(record)), "file names decode to UTF-8");
    FUZZ_CHECK(IsUtf8(record) == (FileNameToUtf8(record) == record),
               "valid UTF-8 names are kept as they are");
    return 0;
}
