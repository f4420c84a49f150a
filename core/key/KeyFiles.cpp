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

void KeyRecord::OpenTaxonFile(const std::string& fileName) {
    TaxonFile.Open(fileName, TaxaPerRecord);
    if (TaxonFile.RecordCount() == 0) {
        throw IoError(fileName, "read", "the file is shorter than one taxon record");
    }
    uint8_t record[TaxaPerRecord];
    TaxonFile.ReadRecord(TaxonFile.RecordCount() - 1, record);
    LongTaxonNames = record[0] == '$';
    if (LongTaxonNames) {
        TaxonFile.Close();
        TaxonFile.Open(fileName, LongTaxonRecordSize);
        if (TaxonFile.RecordCount() == 0) {
            TaxonFile.Close();
            throw IoError(fileName, "read", "the file is shorter than one taxon record");
        }
    }
}

std::string KeyRecord::ReadStateText(int32_t state) {
    if (!WholeTexts.empty()) return WholeTexts[static_cast<size_t>(state)];
    uint8_t record[StateRecordSize];
    StateFile.ReadRecord(state, record);
    return TrimRecord(record, StateRecordSize);
}

std::string KeyRecord::ReadTaxonName(int32_t taxon) {
    uint8_t record[LongTaxonRecordSize];
    TaxonFile.ReadRecord(taxon, record);
    return TrimRecord(record, LongTaxonNames ? LongTaxonRecordSize : TaxaPerRecord);
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
