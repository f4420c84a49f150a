#include "core/key/KeyFiles.h"

#include "core/platform/IoError.h"

namespace vorn {
namespace {

// A record's text without its trailing blanks. Only 0x20 counts as a blank.
std::string TrimRecord(const uint8_t* bytes, int32_t size) {
    int32_t length = size;
    while (length > 0 && bytes[length - 1] == ' ')
        --length;
    return std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
}

}  // namespace

void OpenTaxonFile(const std::string& fileName) {
    Key.TaxonFile.Open(fileName, TaxaPerRecord);
    if (Key.TaxonFile.RecordCount() == 0) {
        throw IoError(fileName, "read", "the file is shorter than one taxon record");
    }
    uint8_t record[TaxaPerRecord];
    Key.TaxonFile.ReadRecord(Key.TaxonFile.RecordCount() - 1, record);
    Key.LongTaxonNames = record[0] == '$';
    if (Key.LongTaxonNames) {
        Key.TaxonFile.Close();
        Key.TaxonFile.Open(fileName, LongTaxonRecordSize);
        if (Key.TaxonFile.RecordCount() == 0) {
            Key.TaxonFile.Close();
            throw IoError(fileName, "read", "the file is shorter than one taxon record");
        }
    }
}

std::string ReadStateText(int32_t state) {
    uint8_t record[StateRecordSize];
    Key.StateFile.ReadRecord(state, record);
    return TrimRecord(record, StateRecordSize);
}

std::string ReadTaxonName(int32_t taxon) {
    uint8_t record[LongTaxonRecordSize];
    Key.TaxonFile.ReadRecord(taxon, record);
    return TrimRecord(record, Key.LongTaxonNames ? LongTaxonRecordSize : TaxaPerRecord);
}

}  // namespace vorn

namespace vorn {

TaxonRecordFields SplitTaxonRecord(std::string_view record) {
    TaxonRecordFields fields;
    if (size_t at = record.find('>'); at != std::string_view::npos) {
        fields.NotesName = std::string(record.substr(at + 1));
        record = record.substr(0, at);
    }
    if (size_t at = record.find('|'); at != std::string_view::npos) {
        fields.ImageName = std::string(record.substr(at + 1));
        record = record.substr(0, at);
    }
    if (size_t at = record.find('/'); at != std::string_view::npos) {
        fields.CommonName = std::string(record.substr(at + 1));
        record = record.substr(0, at);
    }
    fields.Text = std::string(record);
    return fields;
}

}  // namespace vorn
