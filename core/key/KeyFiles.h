#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/key/CodeMatrix.h"
#include "core/platform/RecordFile.h"

namespace vorn {

// The most taxa and the most states a key may have. Nothing is sized for it: every
// table is sized for the open key. A key with more of either is refused when it is
// opened.
constexpr int32_t MaxKeyItems = 65535;

// Record sizes of the key's files.
constexpr int32_t TaxaPerRecord = 40;        // matrix file (.DAT), short taxon file (.TAX)
constexpr int32_t LongTaxonRecordSize = 80;  // taxon file in long form
constexpr int32_t StateRecordSize = 80;      // state file (.CHR)

// A taxon's code for a state, as TaxonCode returns it.
enum TaxonCodeValue : uint8_t {
    CodeUnknown = 0,   // "?"
    CodePresent = 1,   // "+"
    CodeAbsent = 2,    // "-"
    CodeVariable = 3,  // "*"
};

// An open key: its names, counts and files, read through its own record files. Opening
// fills it (core/session/OpenKey.h); closing empties the names and closes the files. The
// files are only ever read.
struct KeyRecord {
    bool KeyOpen = false;
    std::string KeyName;  // the .DES file's name without its extension, whole
    std::string DesFileName, TaxFileName, ChrFileName, DatFileName;
    std::string IndFileName;  // empty when the key has no index file
    int32_t TaxonCount = 0;
    int32_t StateCount = 0;
    bool LongTaxonNames = false;
    int32_t RecordsPerState = 1;

    RecordFile TaxonFile;  // 40-byte records, or 80-byte ones when LongTaxonNames
    RecordFile StateFile;  // 80-byte records
    // The matrix file's codes, read whole when the key opens; the file is closed then.
    CodeMatrix Codes;
    // The states' whole texts from the key's NAME.CHL when it has one that serves (see
    // core/key/WholeStateTexts.h), else empty: the records' texts are shown.
    std::vector<std::string> WholeTexts;

    // Opens the taxon file and decides its form from the first byte of its last whole
    // 40-byte record: "$" means long form (80-byte records ending with a trailer). A file
    // without one whole record of its form throws IoError naming the file, so the count
    // of taxa is never negative.
    void OpenTaxonFile(const std::string& fileName);

    // The text of state `state` (its whole text when the key has them, else its record) /
    // the whole record of taxon `taxon`, without the blanks at its end. Indices are the
    // caller's to keep within the key.
    std::string ReadStateText(int32_t state);
    std::string ReadTaxonName(int32_t taxon);

    // The code of `taxon` for `state`, from the codes read when the key opened; reads no
    // file.
    int TaxonCode(int32_t state, int32_t taxon) const { return Codes.Code(state, taxon); }
};

}  // namespace vorn

namespace vorn {

// The fields of a taxon record: scientific name, then optionally "/" and the common
// name, "|" and the image name, ">" and the notes file name. The record is cut at the
// first ">" first, then at the first "|", then at the first "/"; so the notes part may
// itself hold "|" and "/". A field is absent (nullopt) when its separator is missing,
// present but empty when the separator ends its part.
struct TaxonRecordFields {
    std::string Text;
    std::optional<std::string> CommonName;
    std::optional<std::string> ImageName;
    std::optional<std::string> NotesName;
};
TaxonRecordFields SplitTaxonRecord(std::string_view record);

}  // namespace vorn
